#include "HostFixture.h"
#include "RegistryArranger.h"
#include "UtilTestSupport.h"

#include <util/WebLink.h>

#include <gtest/gtest.h>

using testsupport::Narrow;
using utiltest::BinFolder;
using wiraxui::BuildBrowserCommandLine;
using wiraxui::OpenWebLink;

namespace {

const std::wstring kBrowser = L"\"C:\\Browser\\browser.exe\"";

}  // namespace

TEST(BrowserCommandLine, QuotedPlaceholderTakesTheLinkQuotedOnlyWhenItHasSpaces)
{
    EXPECT_EQ(BuildBrowserCommandLine(kBrowser + L" \"%1\"", L"http://host/help page.htm"),
              kBrowser + L" \"http://host/help page.htm\" ");
    EXPECT_EQ(BuildBrowserCommandLine(kBrowser + L" \"%1\"", L"http://host/help.htm"), kBrowser + L" http://host/help.htm ");
    EXPECT_EQ(BuildBrowserCommandLine(kBrowser + L" -url \"%1\" -alt \"%1\"", L"a b"),
              kBrowser + L" -url \"a b\" -alt \"a b\" ");
}

TEST(BrowserCommandLine, CommandWithoutPlaceholderGetsTheLinkAppended)
{
    EXPECT_EQ(BuildBrowserCommandLine(kBrowser, L"http://host/x"), kBrowser + L" http://host/x");
    EXPECT_EQ(BuildBrowserCommandLine(kBrowser + L" -nohome", L"C:\\Docs\\read me.htm"),
              kBrowser + L" -nohome \"C:\\Docs\\read me.htm\"");
}

// A bare %1 left in place would reach the browser as a second, literal address.
TEST(BrowserCommandLine, BarePlaceholderIsReplacedToo)
{
    EXPECT_EQ(BuildBrowserCommandLine(kBrowser + L" %1", L"http://host/a b"), kBrowser + L" \"http://host/a b\" ");
}

TEST(BrowserCommandLine, LinkStaysOneArgumentWhateverItHolds)
{
    // Encoded characters in the link are not placeholders.
    EXPECT_EQ(BuildBrowserCommandLine(kBrowser + L" \"%1\"", L"http://host/%1A%20x"), kBrowser + L" http://host/%1A%20x ");
    // A quote cannot end the argument early.
    EXPECT_EQ(BuildBrowserCommandLine(kBrowser + L" \"%1\"", L"http://host/?q=\" -evil \""),
              kBrowser + L" \"http://host/?q=%22 -evil %22\" ");
    // Longer than the shell's quoting function handles, still quoted.
    const std::wstring longLink = L"http://host/" + std::wstring(300, L'a') + L" b";
    EXPECT_EQ(BuildBrowserCommandLine(kBrowser + L" \"%1\"", longLink), kBrowser + L" \"" + longLink + L"\" ");
}

// The http command of the prefix is replaced by one that starts LinkRecorder.exe, which writes the
// command line it got into a file; the registry is put back afterwards.
class WebLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A user-level http class would hide the machine one that the test changes.
        HKEY user = nullptr;
        ASSERT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Classes\\http", 0, KEY_READ | KEY_WOW64_64KEY, &user),
                  ERROR_SUCCESS);
        recorder = BinFolder() + L"\\LinkRecorder.exe";
        ASSERT_TRUE(utiltest::Exists(recorder));
        record = scratch / L"record.txt";
    }

    std::wstring RecorderCommand() const { return L"\"" + recorder + L"\" \"" + record + L"\" \"%1\""; }

    std::wstring WaitForRecord() const
    {
        if (!utiltest::WaitFor([&] { return utiltest::Exists(record); }))
            return L"(nothing recorded)";
        std::wstring text;
        HANDLE file = CreateFileW(record.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return L"(record unreadable)";
        wchar_t buffer[4096] = L"";
        DWORD read = 0;
        ReadFile(file, buffer, sizeof buffer - sizeof(wchar_t), &read, nullptr);
        CloseHandle(file);
        DeleteFileW(record.c_str());
        return std::wstring(buffer, read / sizeof(wchar_t));
    }

    utiltest::ScratchFolder scratch{L"weblink"};
    utiltest::ScopedRegistryValue httpCommand{HKEY_LOCAL_MACHINE, L"Software\\Classes\\http\\shell\\open\\command", L""};
    std::wstring recorder;
    std::wstring record;
};

TEST_F(WebLinkTest, RegisteredCommandGetsTheLink)
{
    ASSERT_TRUE(httpCommand.Set(RecorderCommand()));
    const std::wstring link = L"http://support.example.test/help page.htm";
    EXPECT_EQ(OpenWebLink(link), 0);
    const std::wstring recorded = WaitForRecord();
    EXPECT_EQ(recorded, BuildBrowserCommandLine(RecorderCommand(), link)) << Narrow(recorded);
    EXPECT_NE(recorded.find(L"\"" + link + L"\" "), std::wstring::npos) << Narrow(recorded);
}

// Without a usable http command the shell opens the link by its own association: a local page
// with an extension that the test registers for the recorder.
TEST_F(WebLinkTest, ShellOpensTheLinkWhenTheCommandIsMissingOrCannotStart)
{
    hostkit::RegistryArranger classes;
    ASSERT_TRUE(classes.SetString(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.wxlinkpage", L"", L"WiraxLinkTestPage"));
    ASSERT_TRUE(classes.SetString(HKEY_LOCAL_MACHINE, L"Software\\Classes\\WiraxLinkTestPage\\shell\\open\\command", L"",
                                  RecorderCommand()));
    const std::wstring page = scratch / L"offline help.wxlinkpage";
    ASSERT_TRUE(utiltest::WriteFileText(page, "<html></html>"));

    const struct {
        const char* name;
        std::function<bool()> arrange;
    } cases[] = {
        {"empty command", [&] { return httpCommand.Set(L""); }},
        {"no command value", [&] { return httpCommand.Delete(); }},
        {"program missing", [&] { return httpCommand.Set(L"\"C:\\NoSuchBrowser\\browser.exe\" \"%1\""); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.arrange());
        EXPECT_EQ(OpenWebLink(page), 0);
        const std::wstring recorded = WaitForRecord();
        EXPECT_NE(recorded.find(page), std::wstring::npos) << Narrow(recorded);
    }
}
