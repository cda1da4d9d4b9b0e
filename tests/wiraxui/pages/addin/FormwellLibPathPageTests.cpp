// The add-in library path page, created through its export and worked through its controls.
#include "AddInPageSupport.h"
#include "PageLayoutChecks.h"

#include "pages/addin/LibraryFolderCheck.h"

#include <WiraxUIRes.h>

namespace pagetest {
namespace {

using testsupport::Narrow;

class LibPathPageTest : public AddInPageTest {
protected:
    // A folder of the test's own that does not exist yet.
    std::wstring NewFolder(const wchar_t* leaf) const
    {
        return SpecialFolder(CSIDL_COMMON_APPDATA) + L"LibPathTest" + std::to_wstring(GetCurrentProcessId()) + L"\\" + leaf;
    }
};

TEST_F(LibPathPageTest, EmptyLocationGetsTheDefaultBeforeTheUserDoesAnything)
{
    ASSERT_NE(Open("FormwellLibPathPage"), nullptr);
    const std::wstring expected = SpecialFolder(CSIDL_COMMON_DOCUMENTS) + L"Tarvena\\Catalog Browser\\";
    EXPECT_EQ(Get(L"WRXLIBLOCATION"), expected);
    EXPECT_EQ(Writes(L"WRXLIBLOCATION"), 1u);
    EXPECT_EQ(ControlText(Window(), IDC_FORMWELL_LIB_PATH), expected);
    EXPECT_EQ(Log().initCalls, 1);
}

TEST_F(LibPathPageTest, ALocationAlreadySetIsShownAndKept)
{
    Seed(L"WRXLIBLOCATION", L"E:\\Library\\");
    ASSERT_NE(Open("FormwellLibPathPage"), nullptr);
    EXPECT_EQ(ControlText(Window(), IDC_FORMWELL_LIB_PATH), L"E:\\Library\\");
    EXPECT_EQ(Writes(L"WRXLIBLOCATION"), 0u);
    // Notices change nothing on this page, and neither does its check box.
    page->OnPropertyChanged(L"WRXLIBLOCATION");
    SendDlgItemMessageW(Window(), IDC_FORMWELL_LIB_OPTION, BM_CLICK, 0, 0);
    EXPECT_EQ(ControlText(Window(), IDC_FORMWELL_LIB_PATH), L"E:\\Library\\");
    EXPECT_TRUE(host.setup.Journal().Events().empty());
}

TEST_F(LibPathPageTest, ATypedFolderIsUnquotedNormalisedAndWrittenOnCommit)
{
    ASSERT_NE(Open("FormwellLibPathPage"), nullptr);
    const std::wstring folder = NewFolder(L"Lib");
    TypeInto(Window(), IDC_FORMWELL_LIB_PATH, L"\"" + folder + L"\"");
    ASSERT_TRUE(page->Commit());
    EXPECT_EQ(Get(L"WRXLIBLOCATION"), folder + L"\\");
    // The check created the folder for its test and removed it again.
    EXPECT_EQ(GetFileAttributesW(folder.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Log().leaveCalls, 1);
}

TEST_F(LibPathPageTest, AFolderWithSlashesIsRefusedWithTheFolderMessage)
{
    Seed(L"WRXLIBLOCATION", L"E:\\Library\\");
    ASSERT_NE(Open("FormwellLibPathPage"), nullptr);
    TypeInto(Window(), IDC_FORMWELL_LIB_PATH, L"C:/Data/Lib");
    hostkit::DialogAnswerer answerer({L"Wirax Setup"}, IDOK);
    EXPECT_FALSE(page->Commit());
    ASSERT_TRUE(answerer.WaitFor(1, 5000));
    EXPECT_NE(answerer.Seen()[0].text.find(L"This folder cannot be used."), std::wstring::npos)
        << Narrow(answerer.Seen()[0].text);
    EXPECT_EQ(GetFocus(), GetDlgItem(Window(), IDC_FORMWELL_LIB_PATH));
    EXPECT_EQ(Get(L"WRXLIBLOCATION"), L"E:\\Library\\");

    // A drive root is refused as well; an existing folder with content passes.
    TypeInto(Window(), IDC_FORMWELL_LIB_PATH, L"C:\\");
    EXPECT_FALSE(page->Commit());
    ASSERT_TRUE(answerer.WaitFor(2, 5000));
    TypeInto(Window(), IDC_FORMWELL_LIB_PATH, SpecialFolder(CSIDL_WINDOWS));
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(Get(L"WRXLIBLOCATION"), SpecialFolder(CSIDL_WINDOWS));
}

TEST_F(LibPathPageTest, ALeaveCallbackAnsweringTwoKeepsTheUserWithoutAQuestion)
{
    Seed(L"WRXLIBLOCATION", L"E:\\Library\\");
    ASSERT_NE(Open("FormwellLibPathPage"), nullptr);
    TypeInto(Window(), IDC_FORMWELL_LIB_PATH, L"C:/bad");
    Log().leaveAnswer = 2;
    EXPECT_FALSE(page->Commit());
    EXPECT_EQ(Writes(L"WRXLIBLOCATION"), 0u);
}

TEST_F(LibPathPageTest, BrowseTakesTheChosenFolderWithABackslash)
{
    Seed(L"WIRAXDEFAULTFOLDER", L"Wirax 2027");
    ASSERT_NE(Open("FormwellLibPathPage"), nullptr);
    const std::wstring chosen = SpecialFolder(CSIDL_WINDOWS) + L"system32";
    std::wstring label;
    std::wstring okText;
    ModalUser user(L"Select Folder", [&](HWND dialog) {
        label = ControlText(dialog, 1090);
        okText = ControlText(dialog, IDOK);
        HWND edit = GetDlgItem(dialog, 9473);
        WaitUntil([&] { return edit != nullptr; });
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chosen.c_str()));
        SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    SendDlgItemMessageW(Window(), IDC_FORMWELL_BROWSE, BM_CLICK, 0, 0);
    user.Join();
    ASSERT_TRUE(user.SawDialog());
    EXPECT_EQ(label, L"&Folder:");
    EXPECT_EQ(okText, L"&Select");
    EXPECT_EQ(ControlText(Window(), IDC_FORMWELL_LIB_PATH), chosen + L"\\");
    ASSERT_TRUE(page->Commit());
    EXPECT_EQ(Get(L"WRXLIBLOCATION"), chosen + L"\\");
}

TEST(LibraryFolderCheck, SlashesNetworkTextsAndPassingCodes)
{
    std::wstring slashed = L"C:/Data";
    EXPECT_EQ(wiraxui::CheckLibraryFolder(slashed), 16);
    EXPECT_EQ(slashed, L"C:/Data");  // refused before any check touched it

    // ";" is refused only by the network check; the local one would answer 4 (no drive).
    std::wstring network = L"\\\\server\\sh;are\\Lib";
    EXPECT_EQ(wiraxui::CheckLibraryFolder(network), 16);
    std::wstring rootless = L"\\Lib\\Sub";
    EXPECT_NE(wiraxui::CheckLibraryFolder(rootless), 0);

    for (int code : {0, 32})
        EXPECT_TRUE(wiraxui::LibraryFolderPasses(code)) << code;
    for (int code : {1, 2, 4, 8, 16, 64, 128, 256, 512})
        EXPECT_FALSE(wiraxui::LibraryFolderPasses(code)) << code;
}

TEST_F(LibPathPageTest, NothingOverlapsNoTextIsCutAndTabReachesEveryControl)
{
    ASSERT_NE(Open("FormwellLibPathPage"), nullptr);
    // The checks look at what the user sees: the host shows its panel with the page.
    ShowWindow(panel.Handle(), SW_SHOW);
    ShowWindow(Window(), SW_SHOW);
    EXPECT_TRUE(LayoutProblems(Window()).empty()) << JoinProblems(LayoutProblems(Window()));
    EXPECT_TRUE(TabOrderProblems(Window()).empty()) << JoinProblems(TabOrderProblems(Window()));
}

}  // namespace
}  // namespace pagetest
