// The layout and keyboard checks themselves, on windows built for the purpose: each must pass
// a sound layout and name the control of a broken one.
#include "PageLayoutChecks.h"

#include <gtest/gtest.h>

#include <string>

namespace pagetest {
namespace {

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

// A control that keeps the Tab key for itself, as a badly made custom control does.
LRESULT CALLBACK TabEaterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETDLGCODE)
        return DLGC_WANTTAB | DLGC_WANTCHARS;
    return DefWindowProcW(window, message, wParam, lParam);
}

class LayoutChecksTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSW plain{};
        plain.lpfnWndProc = PlainProc;
        plain.hInstance = GetModuleHandleW(nullptr);
        plain.lpszClassName = L"LayoutChecksWindow";
        plain.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        RegisterClassW(&plain);
        WNDCLASSW eater = plain;
        eater.lpfnWndProc = TabEaterProc;
        eater.lpszClassName = L"LayoutChecksTabEater";
        RegisterClassW(&eater);
        window = CreateWindowExW(WS_EX_CONTROLPARENT, L"LayoutChecksWindow", L"Layout checks", WS_OVERLAPPEDWINDOW, 20, 20,
                                 500, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
    }
    void TearDown() override { DestroyWindow(window); }

    HWND Add(const wchar_t* type, const wchar_t* text, DWORD style, int id, int x, int y, int width, int height)
    {
        HWND control = CreateWindowExW(0, type, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, window,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                       nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        return control;
    }

    static bool Mentions(const std::vector<std::wstring>& problems, const std::wstring& part)
    {
        for (const std::wstring& problem : problems) {
            if (problem.find(part) != std::wstring::npos)
                return true;
        }
        return false;
    }

    HWND window = nullptr;
};

TEST_F(LayoutChecksTest, ASoundLayoutPassesBothChecks)
{
    Add(L"Button", L"OK", BS_PUSHBUTTON | WS_TABSTOP, 1, 10, 10, 80, 26);
    Add(L"Button", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 2, 100, 10, 80, 26);
    Add(L"Button", L"Keep the libraries", BS_AUTOCHECKBOX | WS_TABSTOP, 3, 10, 50, 200, 20);
    Add(L"Static", L"A short explanation that wraps over two lines when it must.", SS_LEFT, 4, 10, 80, 200, 40);
    Add(L"Button", L"Options", BS_GROUPBOX, 5, 5, 120, 300, 80);
    Add(L"Edit", L"C:\\Data\\", WS_BORDER | WS_TABSTOP, 6, 15, 140, 200, 22);
    EXPECT_TRUE(LayoutProblems(window).empty()) << JoinProblems(LayoutProblems(window));
    EXPECT_TRUE(TabOrderProblems(window).empty()) << JoinProblems(TabOrderProblems(window));
}

TEST_F(LayoutChecksTest, TextWiderThanItsControlIsNamed)
{
    Add(L"Button", L"Install every symbol library there is", BS_PUSHBUTTON, 11, 10, 10, 60, 24);
    Add(L"Button", L"A check box with a long text", BS_AUTOCHECKBOX, 12, 10, 40, 60, 20);
    Add(L"Static", L"A long explanation that cannot fit into the small height it was given here.", SS_LEFT, 13, 10, 70,
        120, 14);
    Add(L"Static", L"fits", SS_LEFT, 14, 10, 100, 120, 20);
    const auto problems = ClippedTextProblems(window);
    EXPECT_EQ(problems.size(), 3u) << JoinProblems(problems);
    EXPECT_TRUE(Mentions(problems, L"11 Button")) << JoinProblems(problems);
    EXPECT_TRUE(Mentions(problems, L"12 Button")) << JoinProblems(problems);
    EXPECT_TRUE(Mentions(problems, L"13 Static")) << JoinProblems(problems);
}

TEST_F(LayoutChecksTest, OverlappingControlsAreNamedButAFrameAroundControlsIsNot)
{
    Add(L"Button", L"Options", BS_GROUPBOX, 20, 5, 5, 300, 120);
    Add(L"Button", L"One", BS_PUSHBUTTON, 21, 20, 30, 80, 24);
    Add(L"Button", L"Two", BS_PUSHBUTTON, 22, 90, 40, 80, 24);
    HWND hidden = Add(L"Button", L"Hidden", BS_PUSHBUTTON, 23, 20, 30, 80, 24);
    ShowWindow(hidden, SW_HIDE);
    const auto problems = OverlapProblems(window);
    ASSERT_EQ(problems.size(), 1u) << JoinProblems(problems);
    EXPECT_TRUE(Mentions(problems, L"21 Button")) << JoinProblems(problems);
    EXPECT_TRUE(Mentions(problems, L"22 Button")) << JoinProblems(problems);
}

TEST_F(LayoutChecksTest, TabWalkCountsARadioGroupOnceAndSkipsDisabledAndHiddenControls)
{
    Add(L"Button", L"JIC", BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 31, 10, 10, 80, 20);
    HWND iec = Add(L"Button", L"IEC", BS_AUTORADIOBUTTON, 32, 10, 32, 80, 20);
    Add(L"Button", L"GB", BS_AUTORADIOBUTTON, 33, 10, 54, 80, 20);
    SendMessageW(iec, BM_SETCHECK, BST_CHECKED, 0);
    Add(L"Edit", L"", WS_BORDER | WS_TABSTOP | WS_GROUP, 34, 10, 80, 200, 22);
    HWND disabled = Add(L"Button", L"Browse", BS_PUSHBUTTON | WS_TABSTOP, 35, 220, 80, 80, 24);
    EnableWindow(disabled, FALSE);
    HWND hidden = Add(L"Button", L"Hidden", BS_PUSHBUTTON | WS_TABSTOP, 36, 220, 110, 80, 24);
    ShowWindow(hidden, SW_HIDE);
    Add(L"Button", L"Next", BS_PUSHBUTTON | WS_TABSTOP, 37, 220, 140, 80, 24);
    EXPECT_TRUE(TabOrderProblems(window).empty()) << JoinProblems(TabOrderProblems(window));
}

TEST_F(LayoutChecksTest, ATabThatNeverComesBackIsReported)
{
    Add(L"Button", L"First", BS_PUSHBUTTON | WS_TABSTOP, 41, 10, 10, 80, 24);
    Add(L"LayoutChecksTabEater", L"", WS_TABSTOP | WS_BORDER, 42, 10, 40, 80, 24);
    Add(L"Button", L"Last", BS_PUSHBUTTON | WS_TABSTOP, 43, 10, 70, 80, 24);
    const auto problems = TabOrderProblems(window);
    EXPECT_TRUE(Mentions(problems, L"never came back")) << JoinProblems(problems);
    EXPECT_TRUE(Mentions(problems, L"never reached 43")) << JoinProblems(problems);
}

}  // namespace
}  // namespace pagetest
