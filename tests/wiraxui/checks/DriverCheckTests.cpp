// CheckAceDriver and ACE2010DriverCheck through the plug-in's exports, against Office rows in the
// real registry, engines installed with msiexec, the process environment and the stand-in host
// core's standard check.
#include "ChecksFixture.h"
#include "MsiProducts.h"
#include "RegistryArranger.h"

#include <WiraxUIRes.h>

#include <memory>

namespace checkstest {
namespace {

const wchar_t kEngine64Bit2010[] = L"{90140000-00D1-0409-1000-0000000FF1CE}";
const wchar_t kEngine64Bit2016[] = L"{90160000-00D1-0409-1000-0000000FF1CE}";
const wchar_t kEngine32Bit2010[] = L"{90140000-00D1-0409-0000-0000000FF1CE}";
const wchar_t kEngine32Bit2016[] = L"{90160000-00D1-0409-0000-0000000FF1CE}";
const wchar_t kHelpLink[] = L"https://support.tarvena.example/wirax/access-database-engine";
const wchar_t kClickToRun[] = L"SOFTWARE\\Microsoft\\Office\\ClickToRun\\Configuration";
const wchar_t kHostText[] = L"Access Database Engine";

class DriverCheckTest : public ChecksTest {
protected:
    void SetUp() override
    {
        ChecksTest::SetUp();
        checkAceDriver = Export<DriverCheck>("CheckAceDriver");
        ace2010 = Export<ProductCheck>("ACE2010DriverCheck");
        // A run that ended early may have left an engine behind.
        for (const wchar_t* engine : {kEngine64Bit2010, kEngine64Bit2016, kEngine32Bit2010, kEngine32Bit2016})
            ASSERT_TRUE(testsupport::RemoveMsiProduct(engine));
    }

    void InstallEngine(const wchar_t* code, const wchar_t* name)
    {
        engines.push_back(std::make_unique<testsupport::InstalledMsiProduct>(
            testsupport::MsiProductInfo{code, name, L"16.0.4519"}));
        ASSERT_TRUE(engines.back()->Installed()) << testsupport::Narrow(engines.back()->Failure());
    }
    void OfficeRow(const wchar_t* key, const wchar_t* name, const wchar_t* value)
    {
        ASSERT_TRUE(registry.SetString(HKEY_LOCAL_MACHINE, key, name, value));
    }
    bool Check(int setupMode) { return checkAceDriver(setupMode, product, &state, &action, 55, 66, kHostText, 88); }

    void ExpectBlocked()
    {
        EXPECT_EQ(state, 3);
        EXPECT_EQ(action, 11);
        EXPECT_EQ(Message(128), LibraryString(L"WiraxUIRes.dll", IDS_DRIVER_MESSAGE));
        EXPECT_EQ(product->Messages().at(128).title, kHostText);
        EXPECT_EQ(product->m_alertUrl, kHelpLink);
        EXPECT_EQ(product->m_alertUrlTitle, kHelpLink);
        EXPECT_TRUE(HostCore::StandardCheckCalls().empty());
    }
    void ExpectPassedOn()
    {
        EXPECT_EQ(state, kUntouched);
        EXPECT_EQ(action, kUntouched);
        EXPECT_FALSE(HasMessage(128));
        EXPECT_EQ(HostCore::StandardCheckCalls().size(), 1u);
    }

    DriverCheck* checkAceDriver = nullptr;
    ProductCheck* ace2010 = nullptr;
    hostkit::RegistryArranger registry;
    PrivateTempFolder temp{L"wiraxdriver" + std::to_wstring(GetCurrentProcessId())};
    ScopedVariable noSkip{L"SkipAccessDriverCheck", nullptr};
    std::vector<std::unique_ptr<testsupport::InstalledMsiProduct>> engines;
};

TEST_F(DriverCheckTest, DeploymentAttachesTheNoticeAndReturnsTheHostsAnswerWithItsArguments)
{
    OfficeRow(kClickToRun, L"Platform", L"x86");
    HostCore::SetStandardCheckAnswer(false);
    for (int mode : {4, 5, 6}) {
        HostCore::ClearStandardCheckCalls();
        EXPECT_FALSE(Check(mode));
        HostCore::SetStandardCheckAnswer(true);
        EXPECT_TRUE(Check(mode));
        HostCore::SetStandardCheckAnswer(false);

        const auto calls = HostCore::StandardCheckCalls();
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_EQ(calls[0].setupMode, mode);
        EXPECT_EQ(calls[0].product, product);
        EXPECT_EQ(calls[0].stateResult, &state);
        EXPECT_EQ(calls[0].actionResult, &action);
        EXPECT_EQ(calls[0].value5, 55);
        EXPECT_EQ(calls[0].value6, 66);
        EXPECT_EQ(calls[0].hostText, kHostText);
        EXPECT_EQ(calls[0].value8, 88);
    }
    EXPECT_EQ(Message(2), LibraryString(L"WiraxUIRes.dll", IDS_DRIVER_MESSAGE));
    EXPECT_EQ(product->Messages().at(2).title, kHostText);
    EXPECT_FALSE(Message(2).empty());
    EXPECT_FALSE(HasMessage(128));
    EXPECT_EQ(product->m_alertUrl, kHelpLink);
    EXPECT_EQ(product->m_alertUrlTitle, kHelpLink);
    EXPECT_EQ(state, kUntouched);
    EXPECT_EQ(action, kUntouched);
    EXPECT_FALSE(FileBytes(temp.LogPath()).has_value());
}

TEST_F(DriverCheckTest, ThirtyTwoBitOfficeWithThe64Bit2016EnginePassesOn)
{
    OfficeRow(kClickToRun, L"Platform", L"X86");
    InstallEngine(kEngine64Bit2016, L"Access Database Engine 2016 (x64)");
    HostCore::SetStandardCheckAnswer(false);
    EXPECT_FALSE(Check(2));
    ExpectPassedOn();
    EXPECT_FALSE(FileBytes(temp.LogPath()).has_value());
}

TEST_F(DriverCheckTest, OnlyASkipSwitchOfExactlyOnePassesA32BitOffice)
{
    OfficeRow(kClickToRun, L"Platform", L"X86");
    {
        ScopedVariable skip(L"SkipAccessDriverCheck", L"1");
        EXPECT_TRUE(Check(2));
        ExpectPassedOn();
    }
    for (const wchar_t* value : {L"true", L"11", L"1 "}) {
        HostCore::ClearStandardCheckCalls();
        state = action = kUntouched;
        ScopedVariable skip(L"SkipAccessDriverCheck", value);
        EXPECT_FALSE(Check(2)) << testing::PrintToString(std::wstring(value));
        ExpectBlocked();
    }
}

TEST_F(DriverCheckTest, The32Bit2010EngineBlocksWithoutAnyOfficeRow)
{
    InstallEngine(kEngine32Bit2010, L"Access Database Engine 2010 (x86)");
    EXPECT_FALSE(Check(1));
    ExpectBlocked();
}

TEST_F(DriverCheckTest, OutlookRowsAreTriedInOrderUntilOneSaysX86)
{
    OfficeRow(L"SOFTWARE\\Microsoft\\Office\\16.0\\Outlook", L"Bitness", L"x64");
    OfficeRow(L"SOFTWARE\\Microsoft\\Office\\14.0\\Outlook", L"Bitness", L"x86");
    EXPECT_FALSE(Check(2));
    ExpectBlocked();
}

TEST_F(DriverCheckTest, RowsOfTheWrongTypeOrWithoutTerminatorCountAsEmpty)
{
    // A character follows in memory, or the registry would add the missing terminator itself.
    const wchar_t unterminated[] = {L'x', L'8', L'6', L'!'};
    ASSERT_TRUE(registry.SetRaw(HKEY_LOCAL_MACHINE, kClickToRun, L"Platform", REG_SZ, unterminated, 3 * sizeof(wchar_t)));
    const wchar_t binary[] = L"x86";
    ASSERT_TRUE(registry.SetRaw(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Office\\16.0\\Outlook", L"Bitness", REG_BINARY,
                                binary, sizeof binary));
    EXPECT_TRUE(Check(2));
    ExpectPassedOn();
}

TEST_F(DriverCheckTest, BlockingLeavesTwoLinesInTheTemporaryFolderAndASecondRunReplacesThem)
{
    OfficeRow(kClickToRun, L"Platform", L"x86");
    const std::string expected = testsupport::Narrow(LibraryString(L"WiraxUIRes.dll", IDS_DRIVER_MESSAGE)) + "\r\n"
                                 + "For help, see " + testsupport::Narrow(kHelpLink) + "\r\n";
    EXPECT_FALSE(Check(2));
    EXPECT_EQ(FileBytes(temp.LogPath()), std::optional<std::string>(expected));

    {
        HANDLE file = CreateFileW(temp.LogPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        const std::string old(5000, 'o');
        DWORD written = 0;
        WriteFile(file, old.data(), static_cast<DWORD>(old.size()), &written, nullptr);
        CloseHandle(file);
    }
    EXPECT_FALSE(Check(2));
    EXPECT_EQ(FileBytes(temp.LogPath()), std::optional<std::string>(expected));
}

TEST_F(DriverCheckTest, ATemporaryFolderThatIsNotThereStillBlocks)
{
    OfficeRow(kClickToRun, L"Platform", L"x86");
    ScopedVariable tmp(L"TMP", L"C:\\no-such-wirax-temp");
    EXPECT_FALSE(Check(2));
    ExpectBlocked();
}

TEST_F(DriverCheckTest, Ace2010RequisiteFollowsTheInstalled64BitEngines)
{
    EXPECT_TRUE(ace2010(2, product, &state, &action));
    EXPECT_EQ(state, 1);
    EXPECT_EQ(action, 8);

    InstallEngine(kEngine64Bit2010, L"Access Database Engine 2010 (x64)");
    state = action = kUntouched;
    EXPECT_TRUE(ace2010(2, product, &state, &action));
    EXPECT_EQ(state, 2);
    EXPECT_EQ(action, 7);
    state = action = kUntouched;
    EXPECT_TRUE(ace2010(5, product, &state, &action));
    EXPECT_EQ(state, 1);
    EXPECT_EQ(action, 8);

    InstallEngine(kEngine64Bit2016, L"Access Database Engine 2016 (x64)");
    state = action = kUntouched;
    EXPECT_TRUE(ace2010(2, product, &state, &action));
    EXPECT_EQ(state, 1);
    EXPECT_EQ(action, 8);
    // Installed 64-bit engines pass the driver check on whatever Office says.
    OfficeRow(kClickToRun, L"Platform", L"x86");
    state = action = kUntouched;
    EXPECT_TRUE(Check(2));
    ExpectPassedOn();
}

// The host's library has no name for its standard check: the plug-in must import it by number.
TEST_F(DriverCheckTest, TheStandardCheckIsImportedByOrdinalSixAndHasNoName)
{
    HMODULE hostCore = GetModuleHandleW(L"HostCore.dll");
    ASSERT_NE(hostCore, nullptr);
    EXPECT_EQ(GetProcAddress(hostCore, "HostStandardCheck"), nullptr);
    EXPECT_NE(GetProcAddress(hostCore, MAKEINTRESOURCEA(6)), nullptr);

    auto* base = reinterpret_cast<const BYTE*>(plugin.Module());
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::vector<ULONGLONG> thunks;
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); entry->Name; ++entry) {
        if (_stricmp(reinterpret_cast<const char*>(base + entry->Name), "HostCore.dll") != 0)
            continue;
        for (auto* thunk = reinterpret_cast<const IMAGE_THUNK_DATA64*>(base + entry->OriginalFirstThunk); thunk->u1.Ordinal;
             ++thunk)
            thunks.push_back(thunk->u1.Ordinal);
    }
    EXPECT_EQ(thunks, (std::vector<ULONGLONG>{IMAGE_ORDINAL_FLAG64 | 6}));
}

}  // namespace
}  // namespace checkstest
