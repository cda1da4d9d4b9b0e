// How hostrun shows the plug-in's pages: a configuration page inside a host panel window, a
// wizard page with its own loop. Headless (the default) the runner works the page itself, as
// a user would; with --show the page waits for the user.
//
//   call ManufacturerContentPage [commit|keep]        commit: the host commits when it closes
//   call ManufacturerContentDialog [next|back|first|cancel]
#include "WiraxPlayer.h"

#include "DialogAnswerer.h"

#include <HostPage.h>

#include <atomic>
#include <thread>

namespace runner {

namespace {

using hostkit::ScenarioError;
using hostkit::ScenarioLine;

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreatePanel()
{
    WNDCLASSW panelClass{};
    panelClass.lpfnWndProc = PanelProc;
    panelClass.hInstance = GetModuleHandleW(nullptr);
    panelClass.lpszClassName = L"HostrunConfigurationPanel";
    panelClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    panelClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassW(&panelClass);
    return CreateWindowExW(0, L"HostrunConfigurationPanel", L"Configuration", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                           CW_USEDEFAULT, CW_USEDEFAULT, 640, 400, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// Runs the panel until the user closes it.
void ShowUntilClosed(HWND panel, IConfigPage* page)
{
    RECT frame{0, 0, 0, page->GetHeight()};
    RECT pageArea;
    GetWindowRect(page->GetWindow(), &pageArea);
    frame.right = pageArea.right - pageArea.left;
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    SetWindowPos(panel, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(page->GetWindow(), SW_SHOW);
    ShowWindow(panel, SW_SHOW);
    MSG message;
    while (IsWindowVisible(panel) && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_SYSCOMMAND && message.hwnd == panel && (message.wParam & 0xFFF0) == SC_CLOSE) {
            ShowWindow(panel, SW_HIDE);
            continue;
        }
        if (!IsDialogMessageW(page->GetWindow(), &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

std::wstring CallConfigurationPage(WiraxSession& session, FARPROC function, const ScenarioLine& line)
{
    hostkit::ExpectWords(line, 1, 2, L"call ManufacturerContentPage [commit|keep]");
    const std::wstring mode = line.words.size() > 2 ? line.words[2] : L"commit";
    if (mode != L"commit" && mode != L"keep")
        throw ScenarioError(line.number, L"expected commit or keep, found '" + mode + L"'");
    auto create = reinterpret_cast<IConfigPage* (*)(uintptr_t*)>(reinterpret_cast<void*>(function));
    HWND panel = CreatePanel();
    session.record[PageRecord::kParentWindow] = reinterpret_cast<uintptr_t>(panel);
    IConfigPage* page = create(session.record.data());
    session.record[PageRecord::kParentWindow] = 0;
    if (!page) {
        DestroyWindow(panel);
        return L"no page";
    }
    std::wstring result = L"page of height " + std::to_wstring(page->GetHeight());
    if (session.options.show)
        ShowUntilClosed(panel, page);
    if (mode == L"commit")
        result += page->Commit() ? L", committed" : L", commit refused";
    page->Destroy();
    DestroyWindow(panel);
    return result;
}

int ButtonFor(const ScenarioLine& line, const std::wstring& action)
{
    if (action == L"next")
        return IDOK;
    if (action == L"back")
        return 1001;
    if (action == L"first")
        return 1278;
    if (action == L"cancel")
        return IDCANCEL;
    throw ScenarioError(line.number, L"expected next, back, first or cancel, found '" + action + L"'");
}

std::wstring CallWizardPage(WiraxSession& session, FARPROC function, const ScenarioLine& line)
{
    hostkit::ExpectWords(line, 1, 2, L"call ManufacturerContentDialog [next|back|first|cancel]");
    const int button = ButtonFor(line, line.words.size() > 2 ? line.words[2] : L"next");
    auto run = reinterpret_cast<int (*)(uintptr_t*)>(reinterpret_cast<void*>(function));
    session.record[PageRecord::kHostWords] = 1;  // the host has a page before this one
    if (session.options.show)
        return std::to_wstring(run(session.record.data()));

    // Headless: press the button once the page is up; a cancel question is answered Yes.
    const DWORD pageThread = GetCurrentThreadId();
    std::atomic<bool> done{false};
    hostkit::DialogAnswerer confirm({L"Cancel Setup"}, IDYES);
    std::thread user([&] {
        HWND page = nullptr;
        for (int i = 0; i < 500 && !done; ++i) {
            page = FindWindowW(L"#32770", nullptr);
            while (page) {
                DWORD process = 0;
                if (GetWindowThreadProcessId(page, &process) == pageThread && IsWindowVisible(page))
                    break;
                page = FindWindowExW(nullptr, page, L"#32770", nullptr);
            }
            if (page)
                break;
            Sleep(20);
        }
        if (!page) {
            PostThreadMessageW(pageThread, WM_QUIT, 1603, 0);
            return;
        }
        Sleep(200);
        PostMessageW(GetDlgItem(page, button), BM_CLICK, 0, 0);
    });
    const int code = run(session.record.data());
    done = true;
    user.join();
    return std::to_wstring(code);
}

// Page exports join the runner's table when the runner starts.
const bool kRegistered = [] {
    WiraxExports()[L"ManufacturerContentPage"] = CallConfigurationPage;
    WiraxExports()[L"ManufacturerContentDialog"] = CallWizardPage;
    return true;
}();

}  // namespace

}  // namespace runner
