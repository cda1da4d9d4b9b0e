#include "HostFixture.h"
#include "RegistryArranger.h"
#include "UtilTestSupport.h"

#include <util/WebLink.h>

#include <gtest/gtest.h>
#include <shellapi.h>

using testsupport::Narrow;
using wiraxui::BuildBrowserCommandLine;
using wiraxui::OpenWebLink;

TEST(BrowserCommandLine, LinkTakesThePlaceOfEveryQuotedPlaceholderOrIsAppended)
{
    const std::wstring browser = L"\"C:\\Browser\\browser.exe\"";
    const struct {
        std::wstring command, link, expected;
    } cases[] = {
        {browser + L" \"%1\"", L"http://host/help page.htm", browser + L" \"http://host/help page.htm\" "},
        {browser + L" \"%1\"", L"http://host/help.htm", browser + L" http://host/help.htm "},
        {browser + L" -a \"%1\" -b \"%1\"", L"a b", browser + L" -a \"a b\" -b \"a b\" "},
        {browser + L" -nohome", L"C:\\Docs\\read me.htm", browser + L" -nohome \"C:\\Docs\\read me.htm\""},
        // A bare %1 does not match: it stays, and the link is appended after the space.
        {browser + L" %1", L"http://host/a b", browser + L" %1 \"http://host/a b\""},
        {L"\"C:\\b\\browser.exe\" %1", L"http://host/help.htm", L"\"C:\\b\\browser.exe\" %1 http://host/help.htm"},
        {browser + L" -url %1 \"%1\"", L"http://host/x", browser + L" -url %1 http://host/x "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuildBrowserCommandLine(c.command, c.link), c.expected) << Narrow(c.command) << " / " << Narrow(c.link);
}

TEST(BrowserCommandLine, LinkStaysOneArgumentWhateverItHolds)
{
    const std::wstring command = L"b.exe \"%1\"";
    // Encoded characters are no placeholders, and a quote cannot end the argument early.
    EXPECT_EQ(BuildBrowserCommandLine(command, L"http://host/%1A%20x"), L"b.exe http://host/%1A%20x ");
    EXPECT_EQ(BuildBrowserCommandLine(command, L"http://host/?q=\" -evil \""), L"b.exe \"http://host/?q=%22 -evil %22\" ");
    // Longer than the shell's quoting function takes, still quoted.
    const std::wstring longLink = L"http://host/" + std::wstring(300, L'a') + L" b";
    EXPECT_EQ(BuildBrowserCommandLine(command, longLink), L"b.exe \"" + longLink + L"\" ");
    // Backslashes that end a quoted link would escape its closing quote: the browser would get the
    // link with a quote and whatever follows it glued on.
    for (const std::wstring& link : {std::wstring(L"C:\\Docs\\read me\\"), std::wstring(L"C:\\Docs\\read me\\\\"),
                                     L"http://host/" + std::wstring(300, L'a') + L" b\\"}) {
        const std::wstring line = BuildBrowserCommandLine(L"b.exe \"%1\" --next", link);
        int count = 0;
        LPWSTR* arguments = CommandLineToArgvW(line.c_str(), &count);
        ASSERT_NE(arguments, nullptr);
        ASSERT_EQ(count, 3) << Narrow(line);
        EXPECT_EQ(std::wstring(arguments[1]), link) << Narrow(line);
        EXPECT_EQ(std::wstring(arguments[2]), L"--next") << Narrow(line);
        LocalFree(arguments);
    }
    // Without blanks the link is not quoted, and its backslashes stay as they are.
    EXPECT_EQ(BuildBrowserCommandLine(command, L"C:\\Docs\\"), L"b.exe C:\\Docs\\ ");
}

// The http command is pointed at LinkRecorder.exe, which writes the command line it got to a file.
class WebLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A user-level http class would hide the machine-level one that the test changes.
        HKEY user = nullptr;
        ASSERT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Classes\\http", 0, KEY_READ, &user), ERROR_SUCCESS);
        ASSERT_TRUE(utiltest::Exists(utiltest::BinFolder() + L"\\LinkRecorder.exe"));
    }

    std::wstring RecorderCommand() const
    {
        return L"\"" + utiltest::BinFolder() + L"\\LinkRecorder.exe\" \"" + record + L"\" \"%1\"";
    }

    std::wstring TakeRecord() const
    {
        if (!utiltest::WaitFor([&] { return utiltest::Exists(record); }))
            return L"(nothing recorded)";
        wchar_t text[4096] = L"";
        DWORD read = 0;
        HANDLE file = CreateFileW(record.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ReadFile(file, text, sizeof text - sizeof(wchar_t), &read, nullptr);
        CloseHandle(file);
        DeleteFileW(record.c_str());
        return std::wstring(text, read / sizeof(wchar_t));
    }

    hostkit::ScratchFolder scratch{L"weblink"};
    utiltest::HttpCommandScope httpCommand;
    std::wstring record = scratch / L"record.txt";
};

TEST_F(WebLinkTest, RegisteredCommandGetsTheLink)
{
    ASSERT_TRUE(httpCommand.Set(RecorderCommand()));
    const std::wstring link = L"http://support.example.test/help page.htm";
    EXPECT_EQ(OpenWebLink(link), 0);
    const std::wstring recorded = TakeRecord();
    EXPECT_EQ(recorded, BuildBrowserCommandLine(RecorderCommand(), link)) << Narrow(recorded);
    EXPECT_NE(recorded.find(L"\"" + link + L"\" "), std::wstring::npos) << Narrow(recorded);
}

// A bare placeholder on the machine: the browser receives the bare %1 and the link after it.
TEST_F(WebLinkTest, ABarePlaceholderStaysAndTheLinkComesAfterIt)
{
    const std::wstring command = L"\"" + utiltest::BinFolder() + L"\\LinkRecorder.exe\" \"" + record + L"\" %1";
    ASSERT_TRUE(httpCommand.Set(command));
    EXPECT_EQ(OpenWebLink(L"http://support.example.test/help.htm"), 0);
    const std::wstring recorded = TakeRecord();
    EXPECT_EQ(recorded, command + L" http://support.example.test/help.htm") << Narrow(recorded);
}

// The user's own classes win in the merged classes root, and any program the user runs without
// elevation may write them: an elevated installer must not start what they name.
TEST_F(WebLinkTest, AnElevatedProcessNeverRunsTheUsersOwnBrowserCommand)
{
    const std::wstring userRecord = scratch / L"user-record.txt";
    const std::wstring userCommand = L"\"" + utiltest::BinFolder() + L"\\LinkRecorder.exe\" \"" + userRecord + L"\" \"%1\"";
    hostkit::RegistryArranger user;
    ASSERT_TRUE(user.SetString(HKEY_CURRENT_USER, L"Software\\Classes\\http\\shell\\open\\command", L"", userCommand));
    ASSERT_TRUE(httpCommand.Set(RecorderCommand()));
    const std::wstring link = L"http://support.example.test/help.htm";

    // Wine gives every process a full administrator's token: the real question says elevated.
    ASSERT_TRUE(wiraxui::ProcessRunsElevated());
    for (const bool asked : {false, true}) {
        SCOPED_TRACE(asked ? "told elevated" : "asking the token");
        EXPECT_EQ(asked ? OpenWebLink(link, true) : OpenWebLink(link), 0);
        // The machine's command ran; the user's would have run instead of it, not besides.
        EXPECT_EQ(TakeRecord(), BuildBrowserCommandLine(RecorderCommand(), link));
        EXPECT_FALSE(utiltest::Exists(userRecord));
    }
    // Unelevated, the classes root is read as before: on this platform it holds only the
    // machine's classes, so the machine's command runs here too.
    EXPECT_EQ(OpenWebLink(link, false), 0);
    EXPECT_EQ(TakeRecord(), BuildBrowserCommandLine(RecorderCommand(), link));
}

// Without a usable http command the shell opens the link by its own association: here a local
// page whose extension the test registers for the recorder.
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
        const std::wstring recorded = TakeRecord();
        EXPECT_NE(recorded.find(page), std::wstring::npos) << Narrow(recorded);
    }
}
