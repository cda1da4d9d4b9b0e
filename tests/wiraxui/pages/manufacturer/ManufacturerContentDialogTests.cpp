// The manufacturer wizard page: its export runs the page's loop on the test thread while a
// driver thread works the page through its controls, as a user would.
#include "PageHost.h"

#include "DialogAnswerer.h"

#include <WiraxUIRes.h>

#include <algorithm>
#include <stdexcept>

namespace pagetest {
namespace {

constexpr wchar_t kCaption[] = L"Wirax Setup";
constexpr wchar_t kCancelCaption[] = L"Cancel Setup";

class ManufacturerContentDialogTest : public PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        run = plugin.Export<WizardPageExport>("ManufacturerContentDialog");
        ASSERT_NE(run, nullptr);
        // Product initialisation has run before any page is shown.
        using RecordExport = int(uintptr_t*);
        auto* initialize = plugin.Export<RecordExport>("InitializeProduct_WRX");
        ASSERT_NE(initialize, nullptr);
        initialize(host.record.data());
        host.setup.Journal().Clear();
    }

    int Run(std::function<void(HWND)> script)
    {
        WizardDriver driver(kCaption, std::move(script));
        const int code = run(host.record.data());
        EXPECT_TRUE(driver.Finished()) << "the page closed before the script ended";
        return code;
    }

    bool Reported(const std::wstring& line) const
    {
        const auto reports = UsageTrack::Reports();
        return std::find(reports.begin(), reports.end(), line) != reports.end();
    }
    size_t CountReports(const std::wstring& line) const
    {
        const auto reports = UsageTrack::Reports();
        return static_cast<size_t>(std::count(reports.begin(), reports.end(), line));
    }
    size_t CountEventsWith(HostEvent::Kind kind, long long number) const
    {
        size_t count = 0;
        for (const HostEvent& event : host.setup.Journal().Events())
            count += event.kind == kind && event.number == number;
        return count;
    }

    WizardPageExport* run = nullptr;
};

HWND ListOf(HWND page) { return GetDlgItem(page, IDC_MANUFACTURER_LIST); }

TEST_F(ManufacturerContentDialogTest, APreselectedManufacturerEnablesNextWhichSavesAndLeaves)
{
    SetMain(L"M_SI", L"1");
    std::vector<std::wstring> checked;
    bool nextEnabled = false;
    const int code = Run([&](HWND page) {
        checked = CheckedNames(ListOf(page));
        nextEnabled = IsWindowEnabled(GetDlgItem(page, IDOK));
        Click(page, IDOK);
    });
    EXPECT_EQ(code, 1);
    EXPECT_EQ(checked, std::vector<std::wstring>{L"SIEMENS"});
    EXPECT_TRUE(nextEnabled);
    EXPECT_EQ(MainProperty(L"M_SI"), L"1");
    EXPECT_EQ(MainProperty(L"M_AB"), L"0");
    EXPECT_EQ(host.setup.InstallProperty(L"M_SI"), L"1");
    EXPECT_EQ(MainProperty(L"MANUFACTURERCONTENTS"), L"SIEMENS");
    EXPECT_EQ(Log().leaveCalls, 1);
    EXPECT_TRUE(Reported(L"wpPageInit CManufacturerContentDialog"));
    EXPECT_TRUE(Reported(L"wpButtonClicked Next 0 0"));
    EXPECT_TRUE(Reported(L"wpPageDestroy CManufacturerContentDialog"));
    // The wizard leaves the product's cost to the symbol library page.
    EXPECT_EQ(CountEvents(HostEvent::Kind::CostAdded), 0u);
}

TEST_F(ManufacturerContentDialogTest, NextFollowsTheChecksAndBackSavesWithoutAsking)
{
    // A preselection, so that the wait below sees the clearing happen and the check of FESTO comes
    // after it, not before the posted click is handled.
    SetMain(L"M_SI", L"1");
    bool afterClear = true;
    bool afterCheck = false;
    const int code = Run([&](HWND page) {
        Click(page, IDC_CLEAR_ALL);
        WaitUntil([&] { return CheckedNames(ListOf(page)).empty(); });
        afterClear = IsWindowEnabled(GetDlgItem(page, IDOK));
        SetChecked(ListOf(page), IndexOf(ListOf(page), L"FESTO"), true);
        afterCheck = IsWindowEnabled(GetDlgItem(page, IDOK));
        Click(page, 1001);
    });
    EXPECT_EQ(code, 1001);
    EXPECT_FALSE(afterClear);
    EXPECT_TRUE(afterCheck);
    EXPECT_EQ(Log().leaveCalls, 0);
    EXPECT_EQ(MainProperty(L"M_FE"), L"1");
    EXPECT_EQ(MainProperty(L"M_SI"), L"0");
    EXPECT_EQ(MainProperty(L"MANUFACTURERCONTENTS"), L"FESTO");
    EXPECT_TRUE(Reported(L"wpButtonClicked Back 0 0"));
}

TEST_F(ManufacturerContentDialogTest, ALeaveCallbackAnsweringTwoKeepsThePageAndWritesNothing)
{
    SetMain(L"M_SI", L"1");
    Log().leaveAnswer = 2;
    bool stayed = false;
    size_t writesWhileStaying = 1;
    const size_t writesBefore = CountEvents(HostEvent::Kind::PropertySet);
    const int code = Run([&](HWND page) {
        Click(page, IDOK);
        WaitUntil([&] { return Log().leaveCalls == 1; });
        Sleep(200);
        stayed = IsWindow(page) != FALSE;
        writesWhileStaying = host.CountEvents(HostEvent::Kind::PropertySet) - writesBefore;
        Log().leaveAnswer = 1;
        Click(page, IDOK);
    });
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(writesWhileStaying, 0u);
    EXPECT_EQ(Log().leaveCalls, 2);
    EXPECT_EQ(CountReports(L"wpButtonClicked Next 0 0"), 1u);
}

TEST_F(ManufacturerContentDialogTest, ASecondNextWhileTheFirstRunsIsIgnored)
{
    SetMain(L"M_SI", L"1");
    // The host's callback is slow: the user clicks Next again before it returns.
    Log().onLeave = [](uintptr_t* record) {
        HWND page = reinterpret_cast<HWND>(record[PageRecord::kParentWindow]);
        SendMessageW(GetDlgItem(page, IDOK), BM_CLICK, 0, 0);
    };
    const int code = Run([&](HWND page) {
        Click(page, IDOK);
        Click(page, IDOK);
    });
    EXPECT_EQ(code, 1);
    EXPECT_EQ(Log().leaveCalls, 1);
    EXPECT_EQ(CountReports(L"wpButtonClicked Next 0 0"), 1u);
}

TEST_F(ManufacturerContentDialogTest, CancelActsAsNextOnceTheSetupRuns)
{
    SetMain(L"M_SI", L"1");
    host.setup.m_runState = ::Setup::RUNSTATE_PAST_CANCELLING;
    hostkit::DialogAnswerer answerer({kCancelCaption}, IDYES);
    const int code = Run([&](HWND page) { Click(page, IDCANCEL); });
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(answerer.Seen().empty());
    EXPECT_EQ(Log().leaveCalls, 1);
    EXPECT_EQ(CountEvents(HostEvent::Kind::CancellingEnabled), 0u);
    EXPECT_TRUE(Reported(L"wpButtonClicked Next 0 0"));
}

TEST_F(ManufacturerContentDialogTest, DecliningTheCancelQuestionKeepsThePage)
{
    SetMain(L"M_SI", L"1");
    bool stayed = false;
    bool cancelEnabled = false;
    std::vector<hostkit::SeenDialog> seen;
    const int code = Run([&](HWND page) {
        {
            hostkit::DialogAnswerer answerer({kCancelCaption}, IDNO);
            Click(page, IDCANCEL);
            answerer.WaitFor(1, 5000);
            WaitUntil([&] { return host.CountEvents(HostEvent::Kind::CancellingEnabled) == 2; });
            seen = answerer.Seen();
        }
        stayed = IsWindow(page) != FALSE;
        cancelEnabled = IsWindowEnabled(GetDlgItem(page, IDCANCEL)) != FALSE;
        Click(page, IDOK);
    });
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(stayed);
    EXPECT_TRUE(cancelEnabled);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].text.find(L"Setup has not finished installing the products."), std::wstring::npos)
        << testsupport::Narrow(seen[0].text);
    EXPECT_EQ(CountEventsWith(HostEvent::Kind::CancellingEnabled, 0), 1u);
    EXPECT_EQ(CountEventsWith(HostEvent::Kind::CancelConfirmed, 0), 1u);
    EXPECT_EQ(CountEventsWith(HostEvent::Kind::CancellingEnabled, 1), 1u);
    EXPECT_EQ(host.setup.m_resultCode, 0);
    EXPECT_TRUE(Reported(L"wpButtonClicked Cancel 0 0"));
}

TEST_F(ManufacturerContentDialogTest, ConfirmingCancelInADeploymentStopsIt)
{
    host.setup.m_setupMode = ::Setup::SETUPMODE_DEPLOY;
    host.setup.m_deploymentName = L"Workstations";
    hostkit::DialogAnswerer answerer({kCancelCaption}, IDYES);
    WizardDriver driver(L"Wirax Setup - Workstations", [&](HWND page) { Click(page, IDCANCEL); });
    const int code = run(host.record.data());
    EXPECT_EQ(code, ::Setup::WIZARD_CANCELLED);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_NE(answerer.Seen()[0].text.find(L"deployment"), std::wstring::npos);
    EXPECT_EQ(CountEvents(HostEvent::Kind::DeploymentCancelled), 1u);
    EXPECT_EQ(host.setup.m_resultCode, ::Setup::RESULT_CANCELLED);
    EXPECT_EQ(host.setup.InstallProperty(L"TRVN_SETUP_SUCCEEDED"), L"");
    bool succeededWritten = false;
    for (const HostEvent& event : host.setup.Journal().Events())
        succeededWritten |= event.kind == HostEvent::Kind::InstallPropertySet && event.name == L"TRVN_SETUP_SUCCEEDED";
    EXPECT_TRUE(succeededWritten);
    // Cancelling saves nothing.
    EXPECT_FALSE(main->HasProperty(L"MANUFACTURERCONTENTS"));
}

TEST_F(ManufacturerContentDialogTest, FirstRestartsTheWizardWhenTheHostAgrees)
{
    host.setup.m_setupFolder = L"C:\\Media";
    const int code = Run([&](HWND page) { Click(page, 1278); });
    EXPECT_EQ(code, 1278);
    EXPECT_EQ(CountEvents(HostEvent::Kind::SetupModeReset), 1u);
    const auto reports = UsageTrack::Reports();
    const auto destroy = std::find(reports.begin(), reports.end(), L"Destroy");
    ASSERT_NE(destroy, reports.end());
    ASSERT_NE(destroy + 1, reports.end());
    EXPECT_EQ(*(destroy + 1), L"Initialize 0 C:\\Media\\Setup\\whitelist.xml");
    EXPECT_TRUE(Reported(L"wpButtonClicked First 0 0"));
}

TEST_F(ManufacturerContentDialogTest, BackIsOffOnTheFirstPageAndTheWindowGoesWhereTheWizardWas)
{
    host.record[PageRecord::kHostWords] = 0;
    host.setup.m_uiManager.SetWindowPos(RECT{100, 80, 900, 700});
    bool backEnabled = true;
    RECT placed{};
    const int code = Run([&](HWND page) {
        backEnabled = IsWindowEnabled(GetDlgItem(page, 1001)) != FALSE;
        GetWindowRect(page, &placed);
        SetWindowPos(page, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Click(page, IDOK);
    });
    EXPECT_EQ(code, 1);
    EXPECT_FALSE(backEnabled);
    const int width = placed.right - placed.left;
    const int height = placed.bottom - placed.top;
    EXPECT_EQ(placed.left, 100 + (800 - width) / 2);
    EXPECT_EQ(placed.top, 80 + (620 - height) / 2);
    const RECT moved = host.setup.m_uiManager.GetWindowPos();
    EXPECT_EQ(moved.left, 30);
    EXPECT_EQ(moved.top, 40);
    EXPECT_EQ(moved.right - moved.left, width);
}

TEST_F(ManufacturerContentDialogTest, HelpLinksAreReportedAndEnterOnALinkOpensIt)
{
    SetMain(L"M_SI", L"1");
    const int code = Run([&](HWND page) {
        HWND documentation = GetDlgItem(page, 1062);
        PostMessageW(documentation, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        PostMessageW(documentation, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        WaitUntil([&] { return Reported(L"wpDocumentationLinkClicked"); });
        HWND support = GetDlgItem(page, 1063);
        // Focus belongs to the page's thread: give it the link the way Tab would.
        SendMessageW(page, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(support), TRUE);
        PostMessageW(support, WM_KEYDOWN, VK_RETURN, 0);
        WaitUntil([&] { return Reported(L"wpSupportLinkClicked"); });
        Click(page, IDOK);
    });
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(Reported(L"wpDocumentationLinkClicked"));
    EXPECT_TRUE(Reported(L"wpSupportLinkClicked"));
    EXPECT_FALSE(Reported(L"wpRequirementLinkClicked"));
}

TEST_F(ManufacturerContentDialogTest, APageThatFailsHalfWayLeavesWith1603WithoutAskingOrMovingOn)
{
    SetMain(L"M_SI", L"1");
    // Run-state 4 would turn a Cancel into Next; otherwise Cancel asks, and No would keep a
    // broken page open. Neither may happen: the page ends at once.
    for (int runState : {4, 0}) {
        SCOPED_TRACE(runState);
        host.setup.m_runState = runState;
        Log().leaveCalls = 0;
        Log().onLeave = [](uintptr_t*) {
            if (Log().leaveCalls == 1)
                throw std::runtime_error("the host's callback failed");
        };
        hostkit::DialogAnswerer answerer({kCancelCaption}, IDNO);
        EXPECT_EQ(Run([&](HWND page) { Click(page, IDOK); }), ::Setup::WIZARD_NOT_CREATED);
        EXPECT_TRUE(answerer.Seen().empty());
        EXPECT_EQ(Log().leaveCalls, 1);
        EXPECT_FALSE(main->HasProperty(L"MANUFACTURERCONTENTS"));
    }
}

TEST_F(ManufacturerContentDialogTest, AQuitMessageOfTheHostEndsThePageAndGoesBackToTheHost)
{
    SetMain(L"M_SI", L"1");
    MSG pending{};
    EXPECT_EQ(Run([&](HWND page) { Click(page, IDOK); }), 1);
    EXPECT_FALSE(PeekMessageW(&pending, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "a stray quit message";

    // The host's own loop is ending while the page is shown.
    const int code = Run([&](HWND page) { PostThreadMessageW(GetWindowThreadProcessId(page, nullptr), WM_QUIT, 77, 0); });
    EXPECT_EQ(code, ::Setup::WIZARD_CANCELLED);
    ASSERT_TRUE(PeekMessageW(&pending, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(pending.wParam, 77u);
    EXPECT_FALSE(PeekMessageW(&pending, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(ManufacturerContentDialogTest, AMissingResourceLibraryGivesNoPage)
{
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    const std::wstring empty = std::wstring(temp) + L"no-wizard-resources-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(empty.c_str(), nullptr);
    const std::wstring previous = CSetupContext::Instance()->ResourceFolder();
    CSetupContext::Instance()->SetResourceFolder(empty);
    hostkit::DialogAnswerer answerer({L"Error"}, IDOK);
    EXPECT_EQ(run(host.record.data()), ::Setup::WIZARD_NOT_CREATED);
    CSetupContext::Instance()->SetResourceFolder(previous);
    RemoveDirectoryW(empty.c_str());
    EXPECT_TRUE(answerer.WaitFor(1, 2000));
}

}  // namespace
}  // namespace pagetest
