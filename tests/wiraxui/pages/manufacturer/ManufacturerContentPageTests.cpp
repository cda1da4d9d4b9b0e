// The manufacturer configuration page, created through its export under a host window and
// worked through its controls.
#include "PageHost.h"

#include "DialogAnswerer.h"

#include <WiraxUIRes.h>

namespace pagetest {
namespace {

class ManufacturerContentPageTest : public PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        create = plugin.Export<ConfigPageExport>("ManufacturerContentPage");
        ASSERT_NE(create, nullptr);
        host.record[PageRecord::kParentWindow] = reinterpret_cast<uintptr_t>(panel.Handle());
    }
    void TearDown() override
    {
        if (page)
            page->Destroy();
        PageTest::TearDown();
    }

    IConfigPage* Open()
    {
        page = create(host.record.data());
        return page;
    }
    HWND List() const { return GetDlgItem(page->GetWindow(), IDC_MANUFACTURER_LIST); }

    HostPanel panel;
    ConfigPageExport* create = nullptr;
    IConfigPage* page = nullptr;
};

TEST_F(ManufacturerContentPageTest, BuildsAChildPageOfTheHostWindowAndRunsTheInitList)
{
    ASSERT_NE(Open(), nullptr);
    HWND window = page->GetWindow();
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(GetParent(window), panel.Handle());
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD);

    RECT client;
    GetClientRect(window, &client);
    EXPECT_GT(page->GetHeight(), 0);
    EXPECT_EQ(page->GetHeight(), client.bottom - client.top);

    const auto* path = reinterpret_cast<const wchar_t*>(host.record[PageRecord::kResourcePath]);
    ASSERT_NE(path, nullptr);
    EXPECT_NE(std::wstring(path).find(L"WiraxUiRes.dll"), std::wstring::npos) << testsupport::Narrow(path);

    EXPECT_EQ(Log().initCalls, 1);
    ASSERT_EQ(Log().lastRecord.size(), PageRecord::kWords);
    EXPECT_EQ(Log().lastRecord[PageRecord::kParentWindow], reinterpret_cast<uintptr_t>(window));
    EXPECT_EQ(Log().lastRecord[PageRecord::kSetupManager], reinterpret_cast<uintptr_t>(&host.setup));
    EXPECT_EQ(Log().lastRecord[PageRecord::kContext], 0xC0FFEEu);
    EXPECT_EQ(Log().lastRecord[25], 1u);
    EXPECT_EQ(Log().lastRecord[PageRecord::kLeaveList], 0u);

    LOGFONTW title{};
    GetObjectW(reinterpret_cast<HFONT>(SendDlgItemMessageW(window, IDC_PAGE_TITLE, WM_GETFONT, 0, 0)), sizeof title, &title);
    EXPECT_EQ(title.lfWeight, FW_BOLD);

    // The page's own colours, and AutoPlay refused while it is shown.
    HDC dc = GetDC(window);
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                             reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_PAGE_TITLE))));
    ReleaseDC(window, dc);
    LOGBRUSH logBrush{};
    ASSERT_TRUE(GetObjectW(brush, sizeof logBrush, &logBrush));
    EXPECT_EQ(logBrush.lbColor, 0xCCCAC8u);
    EXPECT_EQ(SendMessageW(window, RegisterWindowMessageW(L"QueryCancelAutoPlay"), 0, 0), TRUE);
}

TEST_F(ManufacturerContentPageTest, ListsEveryManufacturerAndChecksThoseTheProductChose)
{
    SetMain(L"M_SI", L"1");
    SetMain(L"M_AB", L"0");
    SetMain(L"M_WA", L"2");
    ASSERT_NE(Open(), nullptr);
    HWND list = List();
    ASSERT_EQ(ItemCount(list), 47);
    EXPECT_EQ(ItemText(list, 0), L"AB");
    EXPECT_EQ(ItemText(list, 46), L"WEIDMULLER");
    EXPECT_EQ(CheckedNames(list), std::vector<std::wstring>{L"SIEMENS"});
    EXPECT_EQ(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & 0xF, 13);

    wchar_t column[64] = L"";
    LVCOLUMNW header{};
    header.mask = LVCF_TEXT | LVCF_WIDTH;
    header.pszText = column;
    header.cchTextMax = 64;
    ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&header)));
    EXPECT_STREQ(column, L"Manufacturer");
    EXPECT_EQ(header.cx, 470);
    EXPECT_EQ(GetFocus(), list);
}

TEST_F(ManufacturerContentPageTest, CommitWritesTheChoiceTheSummaryAndTheCostOnce)
{
    ASSERT_NE(Open(), nullptr);
    HWND list = List();
    SetChecked(list, IndexOf(list, L"ABB"), true);
    SetChecked(list, IndexOf(list, L"SIEMENS"), true);
    ASSERT_TRUE(page->Commit());

    EXPECT_EQ(MainProperty(L"M_A2"), L"1");
    EXPECT_EQ(MainProperty(L"M_SI"), L"1");
    EXPECT_EQ(MainProperty(L"M_AB"), L"0");
    EXPECT_EQ(MainProperty(L"M_WE"), L"0");
    EXPECT_EQ(host.setup.InstallProperty(L"M_A2"), L"1");
    EXPECT_EQ(host.setup.InstallProperty(L"M_SI"), L"1");
    EXPECT_EQ(host.setup.InstallProperty(L"M_AB"), L"0");
    EXPECT_EQ(MainProperty(L"MANUFACTURERCONTENTS"), L"ABB, SIEMENS");
    EXPECT_EQ(CostOnC(), 43556268);
    EXPECT_EQ(Log().leaveCalls, 1);

    // The host commits again when the user comes back: the cost stays that of the choice.
    ASSERT_TRUE(page->Commit());
    EXPECT_EQ(CostOnC(), 43556268);
    SetChecked(list, IndexOf(list, L"ABB"), false);
    ASSERT_TRUE(page->Commit());
    EXPECT_EQ(CostOnC(), 38981187);
    EXPECT_EQ(MainProperty(L"MANUFACTURERCONTENTS"), L"SIEMENS");
}

TEST_F(ManufacturerContentPageTest, ALeaveCallbackAnsweringTwoKeepsTheUserAndWritesNothing)
{
    ASSERT_NE(Open(), nullptr);
    SetChecked(List(), 0, true);
    const size_t eventsBefore = host.setup.Journal().Events().size();
    Log().leaveAnswer = 2;
    EXPECT_FALSE(page->Commit());
    EXPECT_EQ(host.setup.Journal().Events().size(), eventsBefore);
    EXPECT_FALSE(main->HasProperty(L"M_AB"));
    EXPECT_FALSE(main->HasProperty(L"MANUFACTURERCONTENTS"));
}

TEST_F(ManufacturerContentPageTest, ACommitAfterTheWindowIsGoneWritesNothing)
{
    ASSERT_NE(Open(), nullptr);
    DestroyWindow(page->GetWindow());
    const size_t eventsBefore = host.setup.Journal().Events().size();
    EXPECT_FALSE(page->Commit());
    EXPECT_EQ(host.setup.Journal().Events().size(), eventsBefore);
    EXPECT_FALSE(main->HasProperty(L"M_AB"));
    EXPECT_FALSE(main->HasProperty(L"MANUFACTURERCONTENTS"));
}

TEST_F(ManufacturerContentPageTest, ClearAllAndCheckAllSetEveryItem)
{
    SetMain(L"M_SI", L"1");
    ASSERT_NE(Open(), nullptr);
    SendMessageW(GetDlgItem(page->GetWindow(), IDC_CHECK_ALL), BM_CLICK, 0, 0);
    EXPECT_EQ(CheckedNames(List()).size(), 47u);
    SendMessageW(GetDlgItem(page->GetWindow(), IDC_CLEAR_ALL), BM_CLICK, 0, 0);
    EXPECT_TRUE(CheckedNames(List()).empty());
}

TEST_F(ManufacturerContentPageTest, TheMissingContentWarningFollowsTheChoice)
{
    ASSERT_NE(Open(), nullptr);
    ASSERT_TRUE(page->Commit());
    ASSERT_EQ(main->Messages().count(2), 1u);
    EXPECT_NE(main->Messages().at(2).text.find(L"No manufacturer content"), std::wstring::npos);
    EXPECT_EQ(main->Messages().at(2).title, L"Manufacturer content");
    EXPECT_EQ(MainProperty(L"MANUFACTURERCONTENTS"), L"");

    SetChecked(List(), IndexOf(List(), L"FESTO"), true);
    ASSERT_TRUE(page->Commit());
    EXPECT_EQ(main->Messages().count(2), 0u);
    EXPECT_EQ(CountEvents(HostEvent::Kind::MessageDeleted), 1u);
}

TEST_F(ManufacturerContentPageTest, AStandaloneLanguagePackCannotChooseContent)
{
    SetMain(L"STANDALONE_LP", L"1");
    ASSERT_NE(Open(), nullptr);
    EXPECT_FALSE(IsWindowEnabled(List()));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page->GetWindow(), IDC_CHECK_ALL)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page->GetWindow(), IDC_CLEAR_ALL)));
    EXPECT_EQ(CountEvents(HostEvent::Kind::CostCleared), 1u);
}

TEST_F(ManufacturerContentPageTest, ChangingAnInstallationExplainsWhatTheChecksMean)
{
    host.setup.m_setupMode = ::Setup::SETUPMODE_MAINTENANCE;
    ASSERT_NE(Open(), nullptr);
    wchar_t text[512] = L"";
    GetDlgItemTextW(page->GetWindow(), -1, text, 512);
    EXPECT_NE(std::wstring(text).find(L"Content of the checked manufacturers is installed"), std::wstring::npos)
        << testsupport::Narrow(text);
}

TEST_F(ManufacturerContentPageTest, DestroyReleasesTheWindowAndTheResourceLibrary)
{
    ASSERT_NE(Open(), nullptr);
    HWND window = page->GetWindow();
    EXPECT_NE(GetModuleHandleW(L"WiraxUIRes.dll"), nullptr);
    page->Destroy();
    page = nullptr;
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(GetModuleHandleW(L"WiraxUIRes.dll"), nullptr);
}

TEST_F(ManufacturerContentPageTest, AMissingResourceLibraryGivesNoPage)
{
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    const std::wstring empty = std::wstring(temp) + L"no-resources-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(empty.c_str(), nullptr);
    const std::wstring previous = CSetupContext::Instance()->ResourceFolder();
    CSetupContext::Instance()->SetResourceFolder(empty);
    hostkit::DialogAnswerer answerer({L"Error"}, IDOK);
    EXPECT_EQ(Open(), nullptr);
    CSetupContext::Instance()->SetResourceFolder(previous);
    RemoveDirectoryW(empty.c_str());
    ASSERT_TRUE(answerer.WaitFor(1, 2000));
    EXPECT_NE(answerer.Seen()[0].text.find(L"Failed to load"), std::wstring::npos);
}

}  // namespace
}  // namespace pagetest
