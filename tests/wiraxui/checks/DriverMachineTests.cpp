// The driver check's machine: Office rows read from the real registry, the skip switch from the
// process environment, and the log written to a real temporary folder.
#include "ChecksTestSupport.h"
#include "RegistryArranger.h"

#include "checks/DriverLog.h"
#include "checks/DriverMachine.h"

#include <gtest/gtest.h>

namespace wiraxui {
namespace {

using checkstest::FileBytes;
using checkstest::PrivateTempFolder;
using checkstest::ScopedVariable;

class OfficeValueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        key = L"SOFTWARE\\WiraxChecksTest" + std::to_wstring(GetCurrentProcessId()) + L"\\Office";
    }
    bool SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes)
    {
        return registry.SetRaw(HKEY_LOCAL_MACHINE, key, name, type, data, bytes);
    }
    std::wstring Read(const wchar_t* name) { return ReadShortRegistryString(HKEY_LOCAL_MACHINE, key.c_str(), name); }

    hostkit::RegistryArranger registry;
    std::wstring key;
};

TEST_F(OfficeValueTest, TerminatedStringsOfAtMost254CharactersAreRead)
{
    ASSERT_TRUE(registry.SetString(HKEY_LOCAL_MACHINE, key, L"Platform", L"X86"));
    const wchar_t expand[] = L"x86";
    ASSERT_TRUE(SetRaw(L"Expand", REG_EXPAND_SZ, expand, sizeof expand));
    const std::wstring longest(254, L'a');
    ASSERT_TRUE(registry.SetString(HKEY_LOCAL_MACHINE, key, L"Longest", longest));
    EXPECT_EQ(Read(L"Platform"), L"X86");
    EXPECT_EQ(Read(L"Expand"), L"x86");
    EXPECT_EQ(Read(L"Longest"), longest);
}

TEST_F(OfficeValueTest, AnythingElseReadsAsEmpty)
{
    // The registry adds a terminator that the caller forgot when the next character in memory is
    // one; a character follows here so that the value really is stored without it.
    const wchar_t unterminated[] = {L'x', L'8', L'6', L'!'};
    ASSERT_TRUE(SetRaw(L"Unterminated", REG_SZ, unterminated, 3 * sizeof(wchar_t)));
    const DWORD number = 86;
    ASSERT_TRUE(SetRaw(L"Number", REG_DWORD, &number, sizeof number));
    const wchar_t multi[] = L"x86\0";
    ASSERT_TRUE(SetRaw(L"Multi", REG_MULTI_SZ, multi, sizeof multi));
    const char odd[] = {'x', 0, '8', '!', '!', '!'};
    ASSERT_TRUE(SetRaw(L"Odd", REG_SZ, odd, 3));
    ASSERT_TRUE(registry.SetString(HKEY_LOCAL_MACHINE, key, L"TooLong", std::wstring(255, L'a')));

    for (const wchar_t* name : {L"Unterminated", L"Number", L"Multi", L"Odd", L"TooLong", L"Missing"})
        EXPECT_EQ(Read(name), L"") << testing::PrintToString(std::wstring(name));
    EXPECT_EQ(ReadShortRegistryString(HKEY_LOCAL_MACHINE, (key + L"\\NoSuchKey").c_str(), L"Platform"), L"");
}

// Office rows go into keys a machine may already have: what a test wrote there must not stay.
TEST_F(OfficeValueTest, ValuesWrittenIntoKeysThatWereThereAreTakenBackOrRestored)
{
    ASSERT_TRUE(registry.SetString(HKEY_LOCAL_MACHINE, key, L"Platform", L"x64"));
    {
        hostkit::RegistryArranger later;
        ASSERT_TRUE(later.SetString(HKEY_LOCAL_MACHINE, key, L"Platform", L"x86"));
        ASSERT_TRUE(later.SetString(HKEY_LOCAL_MACHINE, key, L"Platform", L"X86"));
        ASSERT_TRUE(later.SetString(HKEY_LOCAL_MACHINE, key, L"Bitness", L"x86"));
        EXPECT_EQ(Read(L"Platform"), L"X86");
    }
    EXPECT_EQ(Read(L"Platform"), L"x64");
    HKEY opened = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &opened), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExW(opened, L"Bitness", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
    RegCloseKey(opened);
}

TEST(SkipSwitch, OnlyExactlyOneSkipsTheCheck)
{
    {
        ScopedVariable unset(L"SkipAccessDriverCheck", nullptr);
        EXPECT_FALSE(ReadSkipSwitch());
    }
    for (const wchar_t* value : {L"true", L"11", L"1 ", L"0", L"", L"10", L" 1"}) {
        ScopedVariable variable(L"SkipAccessDriverCheck", value);
        EXPECT_FALSE(ReadSkipSwitch()) << testing::PrintToString(std::wstring(value));
    }
    ScopedVariable one(L"SkipAccessDriverCheck", L"1");
    EXPECT_TRUE(ReadSkipSwitch());
}

TEST(DriverLog, HelpLineTakesTheLinkInItsPlaceAndNothingElseIsInterpreted)
{
    EXPECT_EQ(FormatHelpLine(L"See %s for help.", L"https://x.example"), L"See https://x.example for help.");
    EXPECT_EQ(FormatHelpLine(L"No place for it", L"https://x.example"), L"No place for it");
    EXPECT_EQ(FormatHelpLine(L"%s and %s, 100%d", L"L"), L"L and %s, 100%d");
}

TEST(DriverLog, TwoCrLfLinesInTheTemporaryFolderReplacedByEachRun)
{
    PrivateTempFolder temp(L"wiraxlog" + std::to_wstring(GetCurrentProcessId()));
    ASSERT_EQ(DriverLogPath(), temp.LogPath());
    ASSERT_TRUE(WriteDriverLog(DriverLogPath(), L"First message that is rather long", L"First help"));
    ASSERT_TRUE(WriteDriverLog(DriverLogPath(), L"Message", L"Help: https://x.example"));
    EXPECT_EQ(FileBytes(temp.LogPath()), std::optional<std::string>("Message\r\nHelp: https://x.example\r\n"));
}

TEST(DriverLog, CharactersWithoutANarrowFormBecomeQuestionMarks)
{
    PrivateTempFolder temp(L"wiraxlogn" + std::to_wstring(GetCurrentProcessId()));
    ASSERT_TRUE(WriteDriverLog(temp.LogPath(), L"Engine \x4E2D missing", L"ok"));
    EXPECT_EQ(FileBytes(temp.LogPath()), std::optional<std::string>("Engine ? missing\r\nok\r\n"));
}

// The temporary folder is the user's: the log's name may be a second name of a file the installer
// may write. The log gets a file of its own, and the other file keeps what it had.
TEST(DriverLog, ALogNameThatIsAHardLinkNeverWritesIntoTheLinkedFile)
{
    PrivateTempFolder temp(L"wiraxlogh" + std::to_wstring(GetCurrentProcessId()));
    const std::wstring victim = temp.Folder() + L"victim.ini";
    {
        HANDLE file = CreateFileW(victim.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        const std::string kept = "[keep]\r\nvalue=1\r\n";
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file, kept.data(), static_cast<DWORD>(kept.size()), &written, nullptr));
        CloseHandle(file);
    }
    ASSERT_TRUE(CreateHardLinkW(temp.LogPath().c_str(), victim.c_str(), nullptr));
    ASSERT_TRUE(WriteDriverLog(DriverLogPath(), L"Message", L"Help: https://x.example"));
    EXPECT_EQ(FileBytes(victim), std::optional<std::string>("[keep]\r\nvalue=1\r\n"));
    EXPECT_EQ(FileBytes(temp.LogPath()), std::optional<std::string>("Message\r\nHelp: https://x.example\r\n"));
    HANDLE log = CreateFileW(temp.LogPath().c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION information{};
    EXPECT_TRUE(GetFileInformationByHandle(log, &information));
    CloseHandle(log);
    EXPECT_EQ(information.nNumberOfLinks, 1u);
    DeleteFileW(victim.c_str());
}

TEST(DriverLog, AFolderThatCannotTakeTheFileLeavesNoLogAndNoFailure)
{
    EXPECT_FALSE(WriteDriverLog(L"C:\\no-such-folder-for-wirax\\x.log", L"m", L"h"));
    EXPECT_FALSE(WriteDriverLog(L"", L"m", L"h"));
}

}  // namespace
}  // namespace wiraxui
