// Every page of the plug-in at the display's resolution: no text cut off, no control on top of
// another, and on configuration pages a Tab round that reaches every control. Under the test
// runner the display has 96 DPI; one test starts the same checks again in a process that sees
// 144 DPI, the resolution Wine reads from the registry when a program starts.
#include "PageHost.h"
#include "PageLayoutChecks.h"

#include <WiraxUIRes.h>

#include <cstdlib>
#include <string>

namespace pagetest {
namespace {

constexpr wchar_t kExpectedDpiVariable[] = L"WIRAX_PAGES_EXPECTED_DPI";

class PagesAtTheDisplaysDpi : public PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        host.record[PageRecord::kProduct] = reinterpret_cast<uintptr_t>(main);
        host.record[PageRecord::kParentWindow] = reinterpret_cast<uintptr_t>(panel.Handle());
        host.setup.m_setupMode = ::Setup::SETUPMODE_DEPLOY_UPDATE;
        SetMain(L"DRAWINGSTANDARD", L"IEEE");
        SetMain(L"SHAREDSUPPORT", L"1");
        SetMain(L"NETSHAREDSUPPORTPATH", L"\\\\fileserver\\wirax\\support\\");
        SetMain(L"ROAMINGUSERMYDOCSWIRAXFOLDER", L"C:\\users\\Public\\Documents\\Wirax 2027\\");
        SetMain(L"WXSYMLIBFOLDER", L"C:\\users\\Public\\Documents\\Tarvena\\Wirax 2027\\");
    }

    // Layout and Tab problems of one configuration page, each line named after the page.
    std::string ConfigurationPageProblems(const char* exportName)
    {
        auto* create = plugin.Export<ConfigPageExport>(exportName);
        if (!create)
            return std::string(exportName) + ": no such export\n";
        IConfigPage* page = create(host.record.data());
        if (!page)
            return std::string(exportName) + ": not created\n";
        ShowWindow(panel.Handle(), SW_SHOW);
        ShowWindow(page->GetWindow(), SW_SHOW);
        auto problems = LayoutProblems(page->GetWindow());
        for (std::wstring& tab : TabOrderProblems(page->GetWindow()))
            problems.push_back(std::move(tab));
        page->Destroy();
        std::string lines;
        for (const std::wstring& problem : problems)
            lines += std::string(exportName) + ": " + JoinProblems({problem});
        return lines;
    }

    std::string WizardPageProblems(const char* exportName)
    {
        auto* run = plugin.Export<WizardPageExport>(exportName);
        if (!run)
            return std::string(exportName) + ": no such export\n";
        host.setup.m_titleText = L"Wirax Setup";
        std::string lines;
        {
            WizardDriver driver(L"Wirax Setup", [&](HWND page) {
                for (const std::wstring& problem : LayoutProblems(page))
                    lines += std::string(exportName) + ": " + JoinProblems({problem});
                Click(page, IDC_WIZARD_BACK);
            });
            run(host.record.data());
        }
        return lines;
    }

    HostPanel panel;
};

int DisplayDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

TEST_F(PagesAtTheDisplaysDpi, NoTextIsCutNothingOverlapsAndTabReachesEveryControl)
{
    wchar_t expected[16] = L"";
    if (GetEnvironmentVariableW(kExpectedDpiVariable, expected, 16)) {
        ASSERT_EQ(DisplayDpi(), _wtoi(expected)) << "the display does not have the resolution asked for";
    }
    host.setup.m_deploymentName = L"";
    std::string problems;
    for (const char* page : {"StandardSelectionPage", "SymbolLibraryPage", "SharedLibraryPage", "ManufacturerContentPage"})
        problems += ConfigurationPageProblems(page);
    for (const char* page : {"SymbolLibraryDialog", "ManufacturerContentDialog"})
        problems += WizardPageProblems(page);
    EXPECT_TRUE(problems.empty()) << "at " << DisplayDpi() << " DPI:\n" << problems;
}

// Puts a DWORD value of the current user's registry in place and restores what was there.
class UserValueScope {
public:
    UserValueScope(const wchar_t* path, const wchar_t* name, DWORD value) : m_name(name)
    {
        RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &m_key, nullptr);
        DWORD size = sizeof m_previous;
        DWORD type = 0;
        m_hadValue = RegQueryValueExW(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(&m_previous), &size) ==
                         ERROR_SUCCESS && type == REG_DWORD;
        m_written = RegSetValueExW(m_key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
                    ERROR_SUCCESS;
    }
    ~UserValueScope()
    {
        if (m_hadValue)
            RegSetValueExW(m_key, m_name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&m_previous), sizeof m_previous);
        else
            RegDeleteValueW(m_key, m_name);
        RegCloseKey(m_key);
    }
    bool Written() const { return m_written; }

private:
    const wchar_t* m_name;
    HKEY m_key = nullptr;
    DWORD m_previous = 0;
    bool m_hadValue = false;
    bool m_written = false;
};

TEST(PagesAt144Dpi, PassTheSameChecksInAProcessThatSeesTheLargerResolution)
{
    wchar_t self[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) +
                           L"\" --gtest_filter=PagesAtTheDisplaysDpi.NoTextIsCutNothingOverlapsAndTabReachesEveryControl";
    DWORD exitCode = 1;
    {
        UserValueScope dpi(L"Control Panel\\Desktop", L"LogPixels", 144);
        ASSERT_TRUE(dpi.Written());
        SetEnvironmentVariableW(kExpectedDpiVariable, L"144");
        STARTUPINFOW startup{sizeof startup};
        PROCESS_INFORMATION process{};
        const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                            &startup, &process);
        SetEnvironmentVariableW(kExpectedDpiVariable, nullptr);
        ASSERT_TRUE(started) << GetLastError();
        // The child has read the resolution once its first window exists; give it time to finish.
        const DWORD waited = WaitForSingleObject(process.hProcess, 180000);
        if (waited != WAIT_OBJECT_0)
            TerminateProcess(process.hProcess, 99);
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        ASSERT_EQ(waited, WAIT_OBJECT_0) << "the checks at 144 DPI did not end";
    }
    EXPECT_EQ(exitCode, 0u) << "the checks at 144 DPI failed; their output is above";
}

}  // namespace
}  // namespace pagetest
