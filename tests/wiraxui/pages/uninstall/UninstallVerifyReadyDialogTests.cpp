// The removal page: its export against the stand-in host, the product's uninstall key arranged in
// the registry and a real settings file of the symbol libraries, worked from a driver thread as a
// user would.
#include "PageHost.h"
#include "PageLayoutChecks.h"

#include "DialogAnswerer.h"
#include "RegistryArranger.h"
#include "UtilTestSupport.h"

#include "pages/uninstall/UninstallChoices.h"

#include <WiraxUIRes.h>

#include <algorithm>
#include <optional>

namespace pagetest {
namespace {

constexpr wchar_t kCaption[] = L"Wirax 2027";
constexpr wchar_t kLangPackCaption[] = L"Additional Language Packs";
constexpr int kNotShown = 5;

std::wstring ReadEntry(const std::wstring& file, const wchar_t* section = L"Uninstall",
                       const wchar_t* key = L"Skip Symbol Libraries")
{
    wchar_t value[64] = L"";
    GetPrivateProfileStringW(section, key, L"<none>", value, 64, file.c_str());
    return value;
}

std::wstring WindowsFile(const wchar_t* name)
{
    wchar_t folder[MAX_PATH] = L"";
    GetWindowsDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + name;
}

// Windows this thread creates while it is alive.
class WindowCreationCounter {
public:
    WindowCreationCounter() : m_hook(SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId())) { s_count = 0; }
    ~WindowCreationCounter() { UnhookWindowsHookEx(m_hook); }
    int Count() const { return s_count; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND)
            ++s_count;
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline int s_count = 0;
    HHOOK m_hook;
};

class UninstallVerifyReadyTest : public PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        run = plugin.Export<WizardPageExport>("UninstallVerifyReadyDialog");
        ASSERT_NE(run, nullptr);
        host.setup.m_setupMode = ::Setup::SETUPMODE_REMOVAL;
        host.setup.m_titleText = kCaption;
        host.record[PageRecord::kProduct] = reinterpret_cast<uintptr_t>(main);
        wchar_t code[64] = L"";
        swprintf(code, 64, L"{5A1B2C3D-0000-4000-8000-%012lX}", static_cast<unsigned long>(GetCurrentProcessId()));
        main->m_productCode = code;
        uninstallKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + main->m_productCode;
        CreateDirectoryW((folder / L"Libs").c_str(), nullptr);
        settings = folder / L"Libs\\SymLib.ini";
        ASSERT_TRUE(utiltest::WriteFileText(settings, "[Symbol Libraries]\r\npanel=1\r\n"));
    }

    void ArrangeKey(std::optional<DWORD> shared, std::optional<std::wstring> symLibIni)
    {
        if (shared) {
            ASSERT_TRUE(registry.SetDword(HKEY_LOCAL_MACHINE, uninstallKey, L"SharedSymbol", *shared));
        }
        if (symLibIni) {
            ASSERT_TRUE(registry.SetString(HKEY_LOCAL_MACHINE, uninstallKey, L"SymLibIni", *symLibIni));
        }
    }

    int Run(std::function<void(HWND)> script)
    {
        WizardDriver driver(kCaption, std::move(script));
        const int code = run(host.record.data());
        EXPECT_TRUE(driver.Finished()) << "the page closed before the script ended";
        return code;
    }

    size_t LangPackQuestions() const
    {
        size_t count = 0;
        for (const HostEvent& event : host.setup.Journal().Events())
            count += event.kind == HostEvent::Kind::Other && event.name == L"IsDisplayMUIUninstallDialog";
        return count;
    }

    WizardPageExport* run = nullptr;
    hostkit::ScratchFolder folder{L"uninstall-page"};
    std::wstring settings;
    std::wstring uninstallKey;
    hostkit::RegistryArranger registry;
};

bool IsChecked(HWND page, int id) { return SendMessageW(GetDlgItem(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

TEST_F(UninstallVerifyReadyTest, OutsideRemovalOnlyTheLeaveListRunsAndNothingIsShownOrWritten)
{
    ArrangeKey(0, settings);
    host.setup.m_setupMode = ::Setup::SETUPMODE_MAINTENANCE;
    std::vector<PageCallback> none;
    UseCallbacks(PageRecord::kLeaveList, none);
    WindowCreationCounter windows;
    EXPECT_EQ(run(host.record.data()), kNotShown);
    EXPECT_EQ(windows.Count(), 0);
    EXPECT_EQ(ReadEntry(settings), L"<none>");
    EXPECT_TRUE(UsageTrack::Reports().empty());
    EXPECT_EQ(LangPackQuestions(), 0u);
}

int StayCallback(uintptr_t* record)
{
    RecordLeave(record);
    return 2;
}

TEST_F(UninstallVerifyReadyTest, OutsideRemovalALeaveCallbackAskingToStayEndsTheListAndStillGivesFive)
{
    host.setup.m_setupMode = ::Setup::SETUPMODE_MAINTENANCE;
    std::vector<PageCallback> callbacks{&StayCallback, &RecordLeave};
    UseCallbacks(PageRecord::kLeaveList, callbacks);
    EXPECT_EQ(run(host.record.data()), kNotShown);
    EXPECT_EQ(Log().leaveCalls, 1) << "the list stops after the callback that answered 2";
    ASSERT_EQ(Log().lastRecord.size(), PageRecord::kWords);
    EXPECT_EQ(Log().lastRecord[PageRecord::kSetupManager], reinterpret_cast<uintptr_t>(&host.setup));
    EXPECT_EQ(Log().lastRecord[25], 1u);
    EXPECT_EQ(Log().lastRecord[PageRecord::kParentWindow], 0u);
    EXPECT_EQ(Log().lastRecord[PageRecord::kProduct], 0u);
    EXPECT_EQ(Log().lastRecord[PageRecord::kContext], 0u);
}

TEST_F(UninstallVerifyReadyTest, ThePageShowsTheProductInItsBoldHeadingAndRemoveOnNext)
{
    // The page runs the host's refresh list once while it initialises; count it there alone.
    std::vector<PageCallback> none;
    std::vector<PageCallback> refresh{&RecordInit};
    UseCallbacks(PageRecord::kInitList, none);
    UseCallbacks(PageRecord::kRefreshList, refresh);
    std::wstring heading, text, next;
    LOGFONTW headingFont{};
    LONG_PTR headingStyle = 0, textStyle = 0;
    bool boxVisible = false, boxChecked = true;
    const int code = Run([&](HWND page) {
        wchar_t buffer[1024] = L"";
        GetDlgItemTextW(page, IDC_PAGE_TITLE, buffer, 1024);
        heading = buffer;
        GetDlgItemTextW(page, IDC_UNINSTALL_TEXT, buffer, 1024);
        text = buffer;
        GetDlgItemTextW(page, IDOK, buffer, 1024);
        next = buffer;
        GetObjectW(reinterpret_cast<HFONT>(SendDlgItemMessageW(page, IDC_PAGE_TITLE, WM_GETFONT, 0, 0)), sizeof headingFont, &headingFont);
        headingStyle = GetWindowLongPtrW(GetDlgItem(page, IDC_PAGE_TITLE), GWL_STYLE);
        textStyle = GetWindowLongPtrW(GetDlgItem(page, IDC_UNINSTALL_TEXT), GWL_STYLE);
        boxVisible = IsWindowVisible(GetDlgItem(page, IDC_KEEP_SYMBOL_LIBRARIES)) != FALSE;
        boxChecked = IsChecked(page, IDC_KEEP_SYMBOL_LIBRARIES);
        Click(page, IDOK);
    });
    EXPECT_EQ(code, 1);
    EXPECT_EQ(heading, L"Ready to remove Wirax 2027");
    EXPECT_EQ(text.rfind(L"Setup is ready to remove", 0), 0u) << testsupport::Narrow(text);
    EXPECT_EQ(next, L"&Remove");
    EXPECT_EQ(headingFont.lfWeight, FW_BOLD);
    EXPECT_EQ(headingFont.lfQuality, CLEARTYPE_QUALITY);
    EXPECT_EQ(headingStyle & SS_TYPEMASK, SS_OWNERDRAW);
    EXPECT_EQ(textStyle & SS_TYPEMASK, SS_OWNERDRAW);
    EXPECT_TRUE(boxVisible) << "no uninstall key: the libraries are not shared";
    EXPECT_FALSE(boxChecked);
    EXPECT_EQ(Log().leaveCalls, 1);
    EXPECT_EQ(Log().initCalls, 1) << "refresh list runs";
    const auto reports = UsageTrack::Reports();
    EXPECT_EQ(std::count(reports.begin(), reports.end(), L"wpPageInit CUninstallVerifyReadyDialog"), 1);
    EXPECT_EQ(std::count(reports.begin(), reports.end(), L"wpButtonClicked Next 0 0"), 1);
    // No "SymLibIni" value: nothing is written anywhere.
    EXPECT_EQ(ReadEntry(settings), L"<none>");
    EXPECT_EQ(ReadEntry(L"win.ini"), L"<none>");
}

TEST_F(UninstallVerifyReadyTest, SharedSymbolsHideTheBoxAndKeepTheLibraries)
{
    ArrangeKey(1, settings);
    bool boxVisible = true;
    bool boxChecked = true;
    const int code = Run([&](HWND page) {
        boxVisible = IsWindowVisible(GetDlgItem(page, IDC_KEEP_SYMBOL_LIBRARIES)) != FALSE;
        boxChecked = IsChecked(page, IDC_KEEP_SYMBOL_LIBRARIES);
        Click(page, IDOK);
    });
    EXPECT_EQ(code, 1);
    EXPECT_FALSE(boxVisible);
    EXPECT_FALSE(boxChecked);
    EXPECT_EQ(ReadEntry(settings), L"1");
    EXPECT_EQ(ReadEntry(settings, L"Symbol Libraries", L"panel"), L"1") << "the file's other entries stay";
}

TEST_F(UninstallVerifyReadyTest, TheBoxDecidesWhenTheLibrariesAreNotShared)
{
    ArrangeKey(0, settings);
    EXPECT_EQ(Run([&](HWND page) { Click(page, IDOK); }), 1);
    EXPECT_EQ(ReadEntry(settings), L"0");

    EXPECT_EQ(Run([&](HWND page) {
                  Click(page, IDC_KEEP_SYMBOL_LIBRARIES);
                  WaitUntil([&] { return IsChecked(page, IDC_KEEP_SYMBOL_LIBRARIES); });
                  Click(page, IDOK);
              }),
              1);
    EXPECT_EQ(ReadEntry(settings), L"1");
    EXPECT_EQ(LangPackQuestions(), 2u);
    EXPECT_FALSE(host.setup.m_removeAdditionalMUILPs);
}

TEST_F(UninstallVerifyReadyTest, CancellingTheLanguagePackQuestionKeepsThePageAfterWriting)
{
    ArrangeKey(0, settings);
    host.setup.m_displayMUIUninstallDialog = true;
    std::wstring afterFirstNext;
    bool pageStayed = false;
    std::vector<hostkit::SeenDialog> firstQuestion;
    std::optional<hostkit::DialogAnswerer> secondQuestion;
    const int code = Run([&](HWND page) {
        {
            hostkit::DialogAnswerer answerer({kLangPackCaption}, IDCANCEL);
            Click(page, IDOK);
            answerer.WaitFor(1, 10000);
            firstQuestion = answerer.Seen();
        }
        WaitUntil([&] { return !hostkit::FindOwnDialog(kLangPackCaption); });
        Sleep(200);
        pageStayed = IsWindow(page) != FALSE;
        afterFirstNext = ReadEntry(settings);
        Click(page, IDC_KEEP_SYMBOL_LIBRARIES);
        WaitUntil([&] { return IsChecked(page, IDC_KEEP_SYMBOL_LIBRARIES); });
        // The page goes as soon as this is answered: the script ends with the click.
        secondQuestion.emplace(std::vector<std::wstring>{kLangPackCaption}, IDC_REMOVE_LANGUAGE_PACKS);
        Click(page, IDOK);
    });
    EXPECT_EQ(code, 1);
    ASSERT_TRUE(secondQuestion);
    EXPECT_EQ(secondQuestion->Seen().size(), 1u);
    ASSERT_EQ(firstQuestion.size(), 1u);
    EXPECT_NE(firstQuestion[0].text.find(L"remove them"), std::wstring::npos) << testsupport::Narrow(firstQuestion[0].text);
    EXPECT_TRUE(pageStayed);
    EXPECT_EQ(afterFirstNext, L"0");
    EXPECT_EQ(ReadEntry(settings), L"1") << "the second Next writes again";
    EXPECT_EQ(LangPackQuestions(), 2u);
    EXPECT_EQ(Log().leaveCalls, 2);
    EXPECT_TRUE(host.setup.m_removeAdditionalMUILPs) << "1572 removes the additional language packs";
}

TEST_F(UninstallVerifyReadyTest, KeepingTheLanguagePacksClearsTheFlag)
{
    host.setup.m_displayMUIUninstallDialog = true;
    host.setup.m_removeAdditionalMUILPs = true;
    hostkit::DialogAnswerer answerer({kLangPackCaption}, IDOK);
    const int code = Run([&](HWND page) { Click(page, IDOK); });
    EXPECT_EQ(code, 1);
    EXPECT_EQ(answerer.Seen().size(), 1u);
    EXPECT_FALSE(host.setup.m_removeAdditionalMUILPs);
}

TEST_F(UninstallVerifyReadyTest, ASettingsPathThatIsNotTheSymbolLibrariesFileIsNeverWritten)
{
    const std::wstring other = folder / L"Libs\\Other.ini";
    ASSERT_TRUE(utiltest::WriteFileText(other, "[Uninstall]\r\n"));
    const std::wstring missing = folder / L"Missing\\SymLib.ini";
    const std::wstring windowsCopy = WindowsFile(L"SymLib.ini");
    DeleteFileW(windowsCopy.c_str());

    for (const std::wstring& value : {std::wstring(), std::wstring(L"SymLib.ini"), std::wstring(L"Libs\\SymLib.ini"),
                                      other, missing, folder / L"Libs"}) {
        registry.RemoveAll();
        ArrangeKey(0, value);
        EXPECT_EQ(Run([&](HWND page) {
                      Click(page, IDC_KEEP_SYMBOL_LIBRARIES);
                      WaitUntil([&] { return IsChecked(page, IDC_KEEP_SYMBOL_LIBRARIES); });
                      Click(page, IDOK);
                  }),
                  1)
            << testsupport::Narrow(value);
        EXPECT_EQ(ReadEntry(other), L"<none>") << testsupport::Narrow(value);
        EXPECT_FALSE(utiltest::Exists(missing));
        EXPECT_FALSE(utiltest::Exists(windowsCopy)) << testsupport::Narrow(value);
        EXPECT_EQ(ReadEntry(L"win.ini"), L"<none>");
        EXPECT_EQ(ReadEntry(L"SymLib.ini"), L"<none>");
    }
    EXPECT_EQ(ReadEntry(settings), L"<none>");
}

TEST_F(UninstallVerifyReadyTest, AMissingResourceLibraryGivesNoPage)
{
    hostkit::ScratchFolder empty(L"no-uninstall-resources");
    const std::wstring previous = CSetupContext::Instance()->ResourceFolder();
    CSetupContext::Instance()->SetResourceFolder(empty.Path());
    hostkit::DialogAnswerer answerer({L"Error"}, IDOK);
    host.setup.m_setupMode = ::Setup::SETUPMODE_MAINTENANCE;  // the library is loaded before the setup mode is looked at
    EXPECT_EQ(run(host.record.data()), ::Setup::WIZARD_NOT_CREATED);
    host.setup.m_setupMode = ::Setup::SETUPMODE_REMOVAL;
    EXPECT_EQ(run(host.record.data()), ::Setup::WIZARD_NOT_CREATED);
    CSetupContext::Instance()->SetResourceFolder(previous);
    EXPECT_EQ(Log().leaveCalls, 0);
    EXPECT_TRUE(UsageTrack::Reports().empty()) << "no page was initialised";
    EXPECT_TRUE(answerer.WaitFor(2, 2000));
}

TEST_F(UninstallVerifyReadyTest, NoTextIsCutAndNothingOverlapsOnThePageOrTheQuestion)
{
    host.setup.m_displayMUIUninstallDialog = true;
    std::vector<std::wstring> pageProblems, questionProblems;
    bool questionSeen = false;
    const int code = Run([&](HWND page) {
        pageProblems = LayoutProblems(page);
        Click(page, IDOK);
        HWND question = nullptr;
        questionSeen = WaitUntil([&] { return (question = hostkit::FindOwnDialog(kLangPackCaption)) != nullptr; }, 10000);
        if (question) {
            questionProblems = LayoutProblems(question);
            PostMessageW(question, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(question, IDCANCEL)));
            WaitUntil([&] { return !IsWindow(question); });
        }
        Click(page, IDC_WIZARD_BACK);
    });
    EXPECT_EQ(code, 1001);
    EXPECT_TRUE(questionSeen);
    EXPECT_TRUE(pageProblems.empty()) << JoinProblems(pageProblems);
    EXPECT_TRUE(questionProblems.empty()) << JoinProblems(questionProblems);
}

TEST(UninstallChoicesTest, HeadingReplacesEveryPlaceholderAndLeavesOtherTextAlone)
{
    using wiraxui::UninstallHeading;
    EXPECT_EQ(UninstallHeading(L"Remove [ProductName]", L"Wirax"), L"Remove Wirax");
    EXPECT_EQ(UninstallHeading(L"[ProductName] and [ProductName]", L"[ProductName] X"), L"[ProductName] X and [ProductName] X");
    EXPECT_EQ(UninstallHeading(L"Ready to remove", L"Wirax"), L"Ready to remove");
    EXPECT_EQ(UninstallHeading(L"[productname] [Product Name]", L"Wirax"), L"[productname] [Product Name]");
}

TEST(UninstallChoicesTest, OnlyAnExistingAbsoluteSymLibIniCounts)
{
    hostkit::ScratchFolder folder(L"symlib-paths");
    const std::wstring file = folder / L"symlib.INI";
    ASSERT_TRUE(utiltest::WriteFileText(file, ""));
    CreateDirectoryW((folder / L"Dir").c_str(), nullptr);
    CreateDirectoryW((folder / L"Dir\\SymLib.ini").c_str(), nullptr);
    using wiraxui::IsSymbolLibrarySettingsFile;
    EXPECT_TRUE(IsSymbolLibrarySettingsFile(file)) << "the name in any case";
    EXPECT_FALSE(IsSymbolLibrarySettingsFile(folder / L"Dir\\SymLib.ini")) << "a folder";
    EXPECT_FALSE(IsSymbolLibrarySettingsFile(L"\\\\?\\" + file));
    EXPECT_FALSE(IsSymbolLibrarySettingsFile(file.substr(0, 2) + file.substr(3))) << "drive-relative";
    EXPECT_FALSE(IsSymbolLibrarySettingsFile(L"symlib.INI"));
    EXPECT_FALSE(IsSymbolLibrarySettingsFile(L""));
    EXPECT_FALSE(IsSymbolLibrarySettingsFile(folder / L"SymLib.ini.bak"));
    EXPECT_STREQ(wiraxui::SkipSymbolLibrariesValue(false, false), L"0");
    EXPECT_STREQ(wiraxui::SkipSymbolLibrariesValue(true, false), L"1");
    EXPECT_STREQ(wiraxui::SkipSymbolLibrariesValue(false, true), L"1");
}

}  // namespace
}  // namespace pagetest
