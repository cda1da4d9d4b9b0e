// The shared library installation on the sample media: archives, folder trees, manufacturer
// libraries and the catalog merge with the stand-in tools, read back from the folders, the
// tools' journal and the host's progress journal.
#include "ActionsTestSupport.h"
#include "HostFixture.h"
#include "SampleMedia.h"
#include "ZipBuilder.h"
#include "actions/CatalogMerge.h"
#include "actions/Paths.h"
#include "actions/InstallSharedLibrary.h"
#include "actions/TreeCopy.h"
#include "init/ProcessState.h"

#include <gtest/gtest.h>

#include <aclapi.h>
#include <sddl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <sstream>

namespace {

using actionstest::Exists;
using actionstest::IsFolder;
using actionstest::ReadBytes;
using wiraxui::State;
using wiraxui::actions::kCancelled;
using wiraxui::actions::kDone;
using wiraxui::actions::kFailed;

std::string Narrow(const std::wstring& text) { return media::Utf8(text); }

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring module(path);
    return module.substr(0, module.find_last_of(L'\\'));
}

std::string SidText(PSID sid)
{
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(sid, &text))
        return "?";
    const std::string out = Narrow(text);
    LocalFree(text);
    return out;
}

// The account this test runs as: the installer's own account.
std::string CurrentAccount()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return "?";
    std::vector<BYTE> buffer(512);
    DWORD size = 0;
    const BOOL ok = GetTokenInformation(token, TokenUser, buffer.data(), static_cast<DWORD>(buffer.size()), &size);
    CloseHandle(token);
    return ok ? SidText(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid) : "?";
}

// A file's or folder's access list as its descriptor says, one sorted line an entry.
struct Access {
    bool read = false;
    bool isProtected = false;
    std::vector<std::string> entries;
};

Access ReadAccess(const std::wstring& path)
{
    Access access;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    PACL list = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &list, nullptr, &descriptor)
        != ERROR_SUCCESS)
        return access;
    access.read = true;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    access.isProtected = (control & SE_DACL_PROTECTED) != 0;
    for (DWORD i = 0; list && i < list->AceCount; ++i) {
        void* entry = nullptr;
        if (!GetAce(list, i, &entry))
            continue;
        const auto* header = static_cast<ACE_HEADER*>(entry);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE && header->AceType != ACCESS_DENIED_ACE_TYPE) {
            access.entries.push_back("type " + std::to_string(header->AceType));
            continue;
        }
        const auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
        std::string flags;
        if (header->AceFlags & OBJECT_INHERIT_ACE)
            flags += "OI";
        if (header->AceFlags & CONTAINER_INHERIT_ACE)
            flags += "CI";
        if (header->AceFlags & INHERIT_ONLY_ACE)
            flags += "IO";
        if (header->AceFlags & INHERITED_ACE)
            flags += "ID";
        char mask[16] = "";
        std::snprintf(mask, sizeof mask, "0x%lx", static_cast<unsigned long>(allowed->Mask));
        access.entries.push_back(std::string(header->AceType == ACCESS_ALLOWED_ACE_TYPE ? "allow " : "deny ") + flags + " " + mask + " "
                                 + SidText(const_cast<DWORD*>(&allowed->SidStart)));
    }
    LocalFree(descriptor);
    std::sort(access.entries.begin(), access.entries.end());
    return access;
}

// Waits for the programs this process started and did not wait for itself.
void WaitForChildren()
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    ASSERT_NE(snapshot, INVALID_HANDLE_VALUE);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ParentProcessID != GetCurrentProcessId())
            continue;
        if (const HANDLE child = OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
            EXPECT_EQ(WaitForSingleObject(child, 60000), WAIT_OBJECT_0) << Narrow(entry.szExeFile);
            CloseHandle(child);
        }
    }
    CloseHandle(snapshot);
}

// The progress the host saw, phase by phase.
struct SeenPhase {
    int total = -1;
    int steps = 0;
    std::vector<std::wstring> items;
};

class SharedLibraryInstall : public testing::Test {
protected:
    SharedLibraryInstall() : m_scratch(L"deploy")
    {
        m_media = m_scratch / L"media";
        m_support = m_scratch / L"share\\Support";
        m_symbols = m_scratch / L"share\\Symbols";
        m_temp = m_scratch / L"temp\\";
        m_journal = m_scratch / L"tools.log";
        CreateDirectoryW((m_scratch / L"temp").c_str(), nullptr);
        SetEnvironmentVariableW(L"TMP", m_temp.c_str());
        SetEnvironmentVariableW(L"TEMP", m_temp.c_str());
        SetEnvironmentVariableW(L"WIRAX_TOOL_JOURNAL", m_journal.c_str());

        CSetupManager& setup = m_host.setup;
        setup.m_setupMode = ::Setup::SETUPMODE_DEPLOY;
        setup.m_sourceRoot = m_media;
        setup.m_targetPlatform = 1;
        setup.m_languageName = L"en-us";
        setup.m_languageList = {L"en-us"};
        setup.m_deploymentFolder = m_scratch / L"deployment";
        m_main = m_host.Add(L"WIRAX_MAIN");
        m_main->SeedProperty(L"PLNDLOCALEID", L"409");

        wiraxui::ProcessState& state = State();
        state.languageName = L"en-us";
        state.sharedSupportPath = m_support;
        state.sharedSymbolLibraryPath = m_symbols;
        state.sharedSupportFlag = false;
        state.sharedSymbolFlag = false;
        state.manufacturerSelected.fill(0);
    }

    void SetUp() override
    {
        const media::SampleMediaResult made = media::GenerateSampleMedia(m_media);
        ASSERT_TRUE(made.ok) << Narrow(made.error);
    }

    static void Select(const wchar_t* folder)
    {
        for (size_t row = 0; row < wiraxui::kManufacturerCount; ++row) {
            if (std::wstring(wiraxui::kManufacturers[row].folderName) == folder)
                State().manufacturerSelected[row] = 1;
        }
    }

    int Run() { return wiraxui::actions::InstallSharedLibraries(m_host.setup); }

    // Raises the cancel flag from the host's progress callback once `when` says so.
    void CancelWhen(std::function<bool(const std::vector<SeenPhase>&)> when)
    {
        m_host.setup.m_progressCallbacks.push_back([this, when](int, const wchar_t*, void*) {
            if (when(Phases()))
                m_host.setup.m_cancelFlag = true;
        });
    }

    std::vector<SeenPhase> Phases() const
    {
        std::vector<SeenPhase> phases;
        for (const HostEvent& event : m_host.setup.Journal().Events()) {
            if (event.kind != HostEvent::Kind::Progress)
                continue;
            if (event.number == ::Setup::PROGRESS_TEXT && event.name.empty()) {
                phases.emplace_back();
            } else if (event.number == ::Setup::PROGRESS_TEXT && !phases.empty()) {
                phases.back().items.push_back(event.name);
            } else if (event.number == ::Setup::PROGRESS_RECORD && event.hasProgress && !phases.empty()) {
                if (event.progress.kind == ::Setup::PROGRESS_RESET)
                    phases.back().total = event.progress.value;
                else if (event.progress.kind == ::Setup::PROGRESS_STEP)
                    phases.back().steps += event.progress.value;
            }
        }
        return phases;
    }

    // Every item text the host received, in order: what its log of the deployment shows.
    std::vector<std::wstring> Told() const
    {
        std::vector<std::wstring> told;
        for (const HostEvent& event : m_host.setup.Journal().Events()) {
            if (event.kind == HostEvent::Kind::Progress && event.number == ::Setup::PROGRESS_TEXT && !event.name.empty())
                told.push_back(event.name);
        }
        return told;
    }

    std::wstring LibraryArchive(const wchar_t* name) const { return m_media + L"\\x64\\WiraxContent\\PF\\Root\\Wirax\\LibZips\\" + name; }
    std::wstring ManufacturerArchive(const wchar_t* name) const
    {
        return m_media + L"\\x64\\WiraxContent\\PF\\Root\\Wirax\\Manufacturer\\" + name;
    }

    std::vector<std::string> ToolCalls() const { return Lines(ReadBytes(m_journal)); }
    std::wstring Support(const std::wstring& relative) const { return m_support + L"\\" + relative; }
    std::wstring Symbols(const std::wstring& relative) const { return m_symbols + L"\\" + relative; }

    hostkit::ScratchFolder m_scratch;
    testsupport::HostInstallation m_host;
    CProduct* m_main = nullptr;
    std::wstring m_media, m_support, m_symbols, m_temp, m_journal;
};

TEST_F(SharedLibraryInstall, OnlySymbolsUnpackLibrariesAndManufacturersAndNothingElse)
{
    State().sharedSymbolFlag = true;
    Select(L"AB");
    Select(L"MERLIN GERIN");
    Select(L"BECKHOFF");  // the media carry no archives for it
    EXPECT_EQ(Run(), kDone);

    for (const wchar_t* library : {L"as2", L"gb2", L"Hyd_Iso125", L"iec2", L"iec4", L"iec-60617", L"ieee", L"jic1", L"jic125",
                                   L"jis2", L"NFPA", L"panel", L"pid", L"pneu_iso125"}) {
        EXPECT_TRUE(Exists(Symbols(L"Libs\\" + std::wstring(library) + L"\\symbols\\item1.dwg"))) << Narrow(library);
        EXPECT_TRUE(IsFolder(Symbols(L"Libs\\" + std::wstring(library) + L"\\empty"))) << Narrow(library);
    }
    EXPECT_TRUE(Exists(Symbols(L"Libs\\panel\\AB\\panel\\item0.dwg")));
    EXPECT_TRUE(Exists(Symbols(L"Libs\\panel_mm\\AB\\panel_mm\\symbols\\item1.dwg")));
    EXPECT_TRUE(Exists(Symbols(L"Libs\\panel\\MERLIN GERIN\\panel\\item2.dwg")));
    EXPECT_TRUE(IsFolder(Symbols(L"Libs\\panel\\BECKHOFF")));
    EXPECT_TRUE(IsFolder(Symbols(L"Libs\\panel_mm\\BECKHOFF")));
    EXPECT_FALSE(Exists(Symbols(L"Libs\\panel\\ABB")));
    EXPECT_FALSE(Exists(m_support));
    EXPECT_TRUE(ToolCalls().empty());

    EXPECT_EQ(State().sharedSupportPath, m_support + L"\\");
    EXPECT_EQ(State().sharedSymbolLibraryPath, m_symbols + L"\\");
    const auto phases = Phases();
    ASSERT_EQ(phases.size(), 1u);
    EXPECT_EQ(phases[0].total, 3);
    EXPECT_EQ(phases[0].steps, 6);
}

TEST_F(SharedLibraryInstall, SupportDataAndCatalogMergeInEnglish)
{
    State().sharedSupportFlag = true;
    Select(L"AB");
    Select(L"MERLIN GERIN");
    EXPECT_EQ(Run(), kDone);

    EXPECT_EQ(ReadBytes(Support(L"WxData\\wd.env")), "WD_LANGUAGE=en-us\r\n");
    EXPECT_TRUE(Exists(Support(L"WxData\\Templates\\a4.dwt")));
    EXPECT_TRUE(Exists(Support(L"WxData\\Settings\\Project\\default.wdp")));
    EXPECT_EQ(ReadBytes(Support(L"WxData\\en-us\\Plc\\modules\\io.txt")), "io modules (enu)\r\n");
    EXPECT_TRUE(Exists(Support(L"WxData\\en-us\\Panel\\footprints.txt")));
    EXPECT_FALSE(Exists(m_symbols));

    // Each database took each manufacturer's data in table order, then was compacted.
    EXPECT_EQ(Lines(ReadBytes(Support(L"WxData\\en-us\\catalogs\\default_cat.mdb"))),
              (std::vector<std::string>{"catalog en-us\r", "merged AB: AB_default_cat_src.mdb data",
                                        "merged MERLIN GERIN: MERLIN GERIN_default_cat_src.mdb data", "compacted"}));
    EXPECT_EQ(Lines(ReadBytes(Support(L"WxData\\en-us\\Plc\\wrx_plc.mdb"))),
              (std::vector<std::string>{"plc database (enu)\r", "merged AB: AB_wrx_plc_src.mdb data",
                                        "merged MERLIN GERIN: MERLIN GERIN_wrx_plc_src.mdb data", "compacted"}));

    const std::string work = Narrow(m_temp) + "MergeMDB";
    const std::string redistributable = Narrow(m_media) + "\\3rdParty\\x86\\VCRedist\\2015\\vcredist_x86.exe";
    const auto merge = [&work](const std::string& manufacturer) {
        return "Cdb.exe|\"" + work + "\\Cdb.exe\" -L \"en-us\" -I \"" + manufacturer + "\" -C \"" + work + "\\default_cat.mdb\" -F \""
               + work + "\\footprint_lookup.mdb\" -P \"" + work + "\\wrx_plc.mdb\" -S \"" + work + "\" -N";
    };
    const auto compact = [&work](const std::string& database) {
        return "wrxCompactMDB.exe|\"" + work + "\\wrxCompactMDB.exe\" \"" + work + "\\" + database + "\"";
    };
    EXPECT_EQ(ToolCalls(), (std::vector<std::string>{"vcredist_x86.exe|\"" + redistributable + "\"  /install /quiet /norestart",
                                                     merge("AB"), merge("MERLIN GERIN"), compact("default_cat.mdb"),
                                                     compact("footprint_lookup.mdb"), compact("wrx_plc.mdb")}));
    // The working folder is gone with everything in it.
    EXPECT_FALSE(Exists(m_temp + L"MergeMDB"));

    const auto phases = Phases();
    ASSERT_EQ(phases.size(), 4u);
    EXPECT_EQ(phases[0].total, 4);  // user data: wd.env and three more files
    EXPECT_EQ(phases[0].steps, 4);
    EXPECT_EQ(phases[1].total, 3);  // the English PLC folder only
    EXPECT_EQ(phases[3].total, 2);
    EXPECT_EQ(phases[3].steps, 2);
}

TEST_F(SharedLibraryInstall, OtherLanguageFrenchLocaleAndTakenWorkingFolders)
{
    State().sharedSupportFlag = true;
    State().languageName = L"de-de";
    m_main->SeedProperty(L"PLNDLOCALEID", L"40c");
    Select(L"AB");
    Select(L"MERLIN GERIN");
    CreateDirectoryW((m_temp + L"MergeMDB").c_str(), nullptr);
    CreateDirectoryW((m_temp + L"MergeMDB0").c_str(), nullptr);
    EXPECT_EQ(Run(), kDone);

    EXPECT_EQ(Lines(ReadBytes(Support(L"WxData\\de-de\\Plc\\wrx_plc.mdb"))),
              (std::vector<std::string>{"plc database (de-de)\r", "merged AB: AB_wrx_plc_src.mdb data",
                                        "merged MERLIN GERIN: MERLIN GERIN_wrx_plc_src.mdb donnees", "compacted"}));
    const auto calls = ToolCalls();
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_NE(calls[1].find("-L \"de-de\" -I \"AB\""), std::string::npos) << calls[1];
    EXPECT_NE(calls[1].find("-S \"" + Narrow(m_temp) + "MergeMDB1\" -N"), std::string::npos) << calls[1];
    EXPECT_TRUE(IsFolder(m_temp + L"MergeMDB0"));
    EXPECT_FALSE(Exists(m_temp + L"MergeMDB1"));
}

TEST_F(SharedLibraryInstall, NoManufacturerStillRunsTheRedistributableCompactsAndCopiesBack)
{
    State().sharedSupportFlag = true;
    EXPECT_EQ(Run(), kDone);
    const auto calls = ToolCalls();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].rfind("vcredist_x86.exe|", 0), 0u);
    for (size_t i = 1; i < 4; ++i)
        EXPECT_EQ(calls[i].rfind("wrxCompactMDB.exe|", 0), 0u) << calls[i];
    EXPECT_EQ(ReadBytes(Support(L"WxData\\en-us\\catalogs\\footprint_lookup.mdb")), "footprints en-us\r\ncompacted\n");
    const auto phases = Phases();
    ASSERT_EQ(phases.size(), 4u);
    EXPECT_EQ(phases[3].total, 0);
}

TEST_F(SharedLibraryInstall, MissingLibraryArchiveFailsAtOnceAndTheSupportHalfDoesNotRun)
{
    State().sharedSymbolFlag = true;
    State().sharedSupportFlag = true;
    Select(L"AB");
    ASSERT_TRUE(DeleteFileW((m_media + L"\\x64\\WiraxContent\\PF\\Root\\Wirax\\LibZips\\ieee.zip").c_str()));
    EXPECT_EQ(Run(), kFailed);
    EXPECT_TRUE(Exists(Symbols(L"Libs\\iec-60617\\item0.dwg")));
    EXPECT_FALSE(Exists(Symbols(L"Libs\\jic1")));
    EXPECT_FALSE(Exists(Symbols(L"Libs\\panel")));
    EXPECT_FALSE(Exists(m_support));
    EXPECT_TRUE(ToolCalls().empty());
}

TEST_F(SharedLibraryInstall, DamagedManufacturerArchiveFails)
{
    State().sharedSymbolFlag = true;
    State().sharedSupportFlag = true;
    Select(L"AB");
    Select(L"MERLIN GERIN");
    ASSERT_TRUE(actionstest::WriteBytes(m_media + L"\\x64\\WiraxContent\\PF\\Root\\Wirax\\Manufacturer\\MERLIN_GERIN_mm.zip",
                                        "PK\x03\x04 not really an archive"));
    EXPECT_EQ(Run(), kFailed);
    EXPECT_TRUE(Exists(Symbols(L"Libs\\panel\\AB\\panel\\item0.dwg")));
    EXPECT_TRUE(Exists(Symbols(L"Libs\\panel\\MERLIN GERIN\\panel\\item0.dwg")));
    EXPECT_FALSE(Exists(m_support));
}

// A failed deployment ends its texts with the one that names the archive, the entry and why, so
// that the administrator reading the host's log knows which of the archives to look at.
TEST_F(SharedLibraryInstall, ADamagedLibraryArchiveIsNamedWithItsEntryInTheLastText)
{
    State().sharedSymbolFlag = true;
    State().sharedSupportFlag = true;
    actionstest::RawZip::Entry damaged;
    damaged.name = "symbols/item9.dwg";
    damaged.data = "bytes that do not match their checksum";
    damaged.wrongCrc = true;
    ASSERT_TRUE(actionstest::RawZip().Add("symbols/item8.dwg", "fine").Add(damaged).Write(LibraryArchive(L"iec2.zip")));
    EXPECT_EQ(Run(), kFailed);
    EXPECT_TRUE(Exists(Symbols(L"Libs\\symbols\\item8.dwg")));
    const auto told = Told();
    ASSERT_FALSE(told.empty());
    EXPECT_EQ(told.back(), L"could not unpack " + LibraryArchive(L"iec2.zip") + L" into " + Symbols(L"Libs\\")
                               + L": entry \"symbols/item9.dwg\": entry data fails its checksum");
    EXPECT_FALSE(Exists(m_support));
}

TEST_F(SharedLibraryInstall, AManufacturerEntryThatWouldLeaveItsFolderIsNamedInTheLastText)
{
    State().sharedSymbolFlag = true;
    Select(L"AB");
    Select(L"MERLIN GERIN");
    ASSERT_TRUE(actionstest::RawZip()
                    .Add("panel_mm/item0.dwg", "fine")
                    .Add("panel_mm/../../../../escaped.dwg", "outside")
                    .Write(ManufacturerArchive(L"MERLIN_GERIN_mm.zip")));
    EXPECT_EQ(Run(), kFailed);
    EXPECT_FALSE(Exists(Symbols(L"escaped.dwg")));
    EXPECT_FALSE(Exists(m_symbols + L"\\..\\escaped.dwg"));
    const auto told = Told();
    ASSERT_FALSE(told.empty());
    EXPECT_EQ(told.back(), L"could not unpack " + ManufacturerArchive(L"MERLIN_GERIN_mm.zip") + L" into "
                               + Symbols(L"Libs\\panel_mm\\MERLIN GERIN\\")
                               + L": entry \"panel_mm/../../../../escaped.dwg\": parent folder component");
}

// A missing library archive: the system's own words say why.
TEST_F(SharedLibraryInstall, AMissingLibraryArchiveIsNamedWithTheSystemsReason)
{
    State().sharedSymbolFlag = true;
    ASSERT_TRUE(DeleteFileW(LibraryArchive(L"jis2.zip").c_str()));
    EXPECT_EQ(Run(), kFailed);
    const auto told = Told();
    ASSERT_FALSE(told.empty());
    EXPECT_EQ(told.back().rfind(L"could not unpack " + LibraryArchive(L"jis2.zip") + L" into " + Symbols(L"Libs\\")
                                    + L": archive could not be opened (system error 2",
                                0),
              0u)
        << Narrow(told.back());
}

TEST_F(SharedLibraryInstall, CancelInTheManufacturerPhaseKeepsTheFirstManufacturer)
{
    State().sharedSymbolFlag = true;
    Select(L"AB");
    Select(L"MERLIN GERIN");
    CancelWhen([](const std::vector<SeenPhase>& phases) { return phases.size() == 1 && phases[0].steps == 2; });
    EXPECT_EQ(Run(), kCancelled);
    EXPECT_TRUE(Exists(Symbols(L"Libs\\panel_mm\\AB\\panel_mm\\item0.dwg")));
    EXPECT_FALSE(Exists(Symbols(L"Libs\\panel\\MERLIN GERIN")));
}

TEST_F(SharedLibraryInstall, CancelAtTheSecondFileOfEachFolderTreeKeepsWhatWasCopied)
{
    State().sharedSupportFlag = true;
    // Phase 1 user data, phase 2 PLC data, phase 3 content.
    for (size_t phase = 1; phase <= 3; ++phase) {
        SCOPED_TRACE(phase);
        m_host.setup.m_cancelFlag = false;
        m_host.setup.m_progressCallbacks.clear();
        m_host.setup.Journal().Clear();
        hostkit::RemoveTree(m_support);
        CancelWhen([phase](const std::vector<SeenPhase>& phases) {
            return phases.size() == phase && phases.back().items.size() == 2;
        });
        EXPECT_EQ(Run(), kCancelled);
        const auto phases = Phases();
        ASSERT_EQ(phases.size(), phase);
        EXPECT_EQ(phases.back().items.size(), 2u);
        for (size_t i = 0; i < 2; ++i) {
            const std::wstring& item = phases.back().items[i];
            const std::wstring folder = phase == 1 ? L"WxData" : phase == 2 ? L"WxData\\en-us\\Plc" : L"WxData\\en-us";
            EXPECT_TRUE(Exists(Support(folder + (item[0] == L'\\' ? L"" : L"\\") + item))) << Narrow(item);
        }
        EXPECT_TRUE(ToolCalls().empty());
    }
}

TEST_F(SharedLibraryInstall, CancelInTheMergeLeavesTheWorkingFolder)
{
    State().sharedSupportFlag = true;
    Select(L"AB");
    Select(L"ABB");
    CancelWhen([](const std::vector<SeenPhase>& phases) { return phases.size() == 4 && phases[3].steps == 1; });
    EXPECT_EQ(Run(), kCancelled);
    const auto calls = ToolCalls();
    ASSERT_EQ(calls.size(), 2u);  // the redistributable and the first merge
    EXPECT_TRUE(Exists(m_temp + L"MergeMDB\\Cdb.exe"));
    EXPECT_TRUE(Exists(m_temp + L"MergeMDB\\en-us\\wrxdbmergeres.dll"));
    EXPECT_EQ(Lines(ReadBytes(m_temp + L"MergeMDB\\default_cat.mdb")).size(), 2u);
}

// Another user's program (wirax-probe plant) in a process of its own: it waits for the merge's
// working folder to appear and puts itself there as the compaction tool, held open without write
// or delete sharing. A late planter waits for Go() before it tries.
class Planter {
public:
    Planter(const std::wstring& temporaryFolder, bool late)
    {
        const std::wstring tag = std::to_wstring(GetCurrentProcessId());
        const std::wstring names[] = {L"WiraxPlantReady-" + tag, L"WiraxPlantAttempted-" + tag, L"WiraxPlantRelease-" + tag,
                                      L"WiraxPlantGo-" + tag};
        for (size_t i = 0; i < 4; ++i)
            m_events[i] = CreateEventW(nullptr, TRUE, FALSE, names[i].c_str());
        std::wstring command = L"\"" + ProgramFolder() + L"\\wirax-probe.exe\" plant \"" + temporaryFolder + L"\" " + names[0] + L" "
                               + names[1] + L" " + names[2] + (late ? L" " + names[3] : L"");
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
            m_process = started.hProcess;
            CloseHandle(started.hThread);
        }
    }
    ~Planter()
    {
        Finish();
        for (HANDLE event : m_events)
            CloseHandle(event);
        if (m_process)
            CloseHandle(m_process);
    }
    Planter(const Planter&) = delete;
    Planter& operator=(const Planter&) = delete;

    // True once its watch on the temporary folder is armed.
    bool Ready() const
    {
        const HANDLE readyOrGone[] = {m_events[0], m_process};
        return m_process && WaitForMultipleObjects(2, readyOrGone, FALSE, 60000) == WAIT_OBJECT_0;
    }
    void Go() const { SetEvent(m_events[3]); }
    bool Attempted() const { return WaitForSingleObject(m_events[1], 60000) == WAIT_OBJECT_0; }
    // Lets go of what it holds and ends: 1 it held its own program in the folder, 2 it could not
    // put it there.
    DWORD Finish()
    {
        SetEvent(m_events[2]);
        if (m_process && m_result == STILL_ACTIVE && WaitForSingleObject(m_process, 60000) == WAIT_OBJECT_0)
            GetExitCodeProcess(m_process, &m_result);
        return m_result;
    }

private:
    HANDLE m_events[4] = {};
    HANDLE m_process = nullptr;
    DWORD m_result = STILL_ACTIVE;
};

// The planter tries as soon as the working folder appears. Whoever wins the race, the planted
// program never runs: either the installer's checked copy holds the name first, or the merge finds
// that its copy failed and starts no tool at all.
TEST_F(SharedLibraryInstall, AProgramPlantedInTheWorkingFolderNeverRuns)
{
    State().sharedSupportFlag = true;
    Select(L"AB");
    Planter planter(m_scratch / L"temp", false);
    ASSERT_TRUE(planter.Ready()) << "the planter did not arm its watch";
    // The planter has done its worst before the first tool of the merge starts.
    bool waited = false;
    m_host.setup.m_progressCallbacks.push_back([&](int, const wchar_t*, void*) {
        if (!waited && Phases().size() == 4) {
            waited = true;
            EXPECT_TRUE(planter.Attempted());
        }
    });
    const int result = Run();
    EXPECT_TRUE(planter.Attempted());
    const DWORD planted = planter.Finish();

    const auto calls = ToolCalls();
    for (const std::string& call : calls)
        EXPECT_EQ(call.rfind("planted program ran", 0), std::string::npos) << call;
    const auto catalog = Lines(ReadBytes(Support(L"WxData\\en-us\\catalogs\\default_cat.mdb")));
    if (planted == 1) {
        std::printf("the planter held its program in the working folder before the installer's copy\n");
        EXPECT_EQ(result, kFailed);
        EXPECT_TRUE(calls.empty()) << "a tool started from a working folder that held a foreign file";
        EXPECT_EQ(catalog, std::vector<std::string>{"catalog en-us\r"});
    } else {
        std::printf("the installer's checked copy held the name before the planter (planter answered %lu)\n", planted);
        EXPECT_EQ(planted, 2u);
        EXPECT_EQ(result, kDone);
        ASSERT_EQ(calls.size(), 5u);
        EXPECT_EQ(catalog.back(), "compacted");
    }
}

// The planter tries only once the installer has made and checked its copies: what the merge holds
// cannot be replaced, and the merge runs the tools it copied.
TEST_F(SharedLibraryInstall, AProgramPlantedAfterTheCopiesCannotReplaceTheCheckedTool)
{
    State().sharedSupportFlag = true;
    Select(L"AB");
    Planter planter(m_scratch / L"temp", true);
    ASSERT_TRUE(planter.Ready()) << "the planter did not arm its watch";
    bool waited = false;
    m_host.setup.m_progressCallbacks.push_back([&](int, const wchar_t*, void*) {
        if (!waited && Phases().size() == 4) {
            waited = true;
            planter.Go();
            EXPECT_TRUE(planter.Attempted());
        }
    });
    EXPECT_EQ(Run(), kDone);
    EXPECT_TRUE(waited);
    EXPECT_EQ(planter.Finish(), 2u) << "the planter replaced the installer's copy";
    const auto calls = ToolCalls();
    ASSERT_EQ(calls.size(), 5u);
    for (const std::string& call : calls)
        EXPECT_EQ(call.rfind("planted program ran", 0), std::string::npos) << call;
    EXPECT_EQ(Lines(ReadBytes(Support(L"WxData\\en-us\\catalogs\\default_cat.mdb"))).back(), "compacted");
}

// Wine runs every program as one user and enforces no permissions between them, so what protects
// the working folder on Windows is read back here: its descriptor, and the holds on what runs.
// Wine keeps no descriptor as it was written: it makes the folder's Unix mode from it and derives
// what it reads back from that mode. What shows is who is granted anything: before the folder was
// protected, everyone could list it (as on Windows, where users may also create files in it).
TEST_F(SharedLibraryInstall, TheWorkingFolderIsClosedToOtherUsersAndWhatRunsIsHeld)
{
    State().sharedSupportFlag = true;
    Select(L"AB");
    const std::wstring work = m_temp + L"MergeMDB";
    const std::vector<std::string> allowed = {CurrentAccount(), "S-1-5-18", "S-1-5-32-544"};
    bool looked = false;
    m_host.setup.m_progressCallbacks.push_back([&](int, const wchar_t*, void*) {
        if (looked || Phases().size() != 4)
            return;
        looked = true;
        for (const std::wstring& folder : {work, work + L"\\en-us"}) {
            SCOPED_TRACE(Narrow(folder));
            const Access access = ReadAccess(folder);
            EXPECT_TRUE(access.read);
            EXPECT_FALSE(access.entries.empty());
            for (const std::string& entry : access.entries) {
                const std::string sid = entry.substr(entry.rfind(' ') + 1);
                EXPECT_EQ(entry.rfind("allow ", 0), 0u) << entry;
                const bool known = std::find(allowed.begin(), allowed.end(), sid) != allowed.end();
                EXPECT_TRUE(known) << "granted to someone else: " << entry;
            }
        }
        // Nobody can write, replace or remove a tool or the folder while the merge runs.
        const HANDLE writer = CreateFileW((work + L"\\Cdb.exe").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
        if (writer != INVALID_HANDLE_VALUE)
            CloseHandle(writer);
        EXPECT_FALSE(DeleteFileW((work + L"\\wrxCompactMDB.exe").c_str()));
        EXPECT_FALSE(DeleteFileW((work + L"\\wrxDbMergeCore.dll").c_str()));
        EXPECT_FALSE(MoveFileW(work.c_str(), (work + L"-moved").c_str()));
    });
    EXPECT_EQ(Run(), kDone);
    EXPECT_TRUE(looked);
    EXPECT_EQ(ToolCalls().size(), 5u);
    EXPECT_FALSE(Exists(work));
}

// A working folder that cannot be made (here the temporary folder is gone) is never replaced by
// whatever stands under the name: the merge fails before any tool starts.
TEST_F(SharedLibraryInstall, AWorkingFolderThatCannotBeMadeFailsTheMergeBeforeAnyTool)
{
    State().sharedSupportFlag = true;
    Select(L"AB");
    const std::wstring missing = m_scratch / L"no such temp\\";
    SetEnvironmentVariableW(L"TMP", missing.c_str());
    SetEnvironmentVariableW(L"TEMP", missing.c_str());
    EXPECT_EQ(Run(), kFailed);
    EXPECT_TRUE(ToolCalls().empty());
    EXPECT_EQ(ReadBytes(Support(L"WxData\\en-us\\catalogs\\default_cat.mdb")), "catalog en-us\r\n");
    EXPECT_FALSE(Exists(missing));
}

// A quit message ends the wait for a merge tool that still works on the databases: no further tool
// starts, the half-merged databases never reach the share, the working folder stays as a cancel
// leaves it, and the installation ends as cancelled. The quit stays for the host's own loop.
TEST_F(SharedLibraryInstall, AQuitMessageWhileAToolRunsStopsTheMergeLikeACancel)
{
    State().sharedSupportFlag = true;
    Select(L"AB");
    Select(L"ABB");
    bool posted = false;
    m_host.setup.m_progressCallbacks.push_back([&](int, const wchar_t*, void*) {
        const auto phases = Phases();
        if (!posted && phases.size() == 4 && phases[3].steps == 1) {
            posted = true;
            // The second merge then outlasts the quit.
            SetEnvironmentVariableW(L"WIRAX_TOOL_DELAY_MS", L"1500");
            PostQuitMessage(3);
        }
    });
    EXPECT_EQ(Run(), kCancelled);
    SetEnvironmentVariableW(L"WIRAX_TOOL_DELAY_MS", nullptr);
    EXPECT_TRUE(posted);
    WaitForChildren();

    const auto calls = ToolCalls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].rfind("vcredist_x86.exe|", 0), 0u);
    EXPECT_NE(calls[1].find("-I \"AB\""), std::string::npos) << calls[1];
    EXPECT_NE(calls[2].find("-I \"ABB\""), std::string::npos) << calls[2];
    EXPECT_EQ(ReadBytes(Support(L"WxData\\en-us\\catalogs\\default_cat.mdb")), "catalog en-us\r\n");
    EXPECT_EQ(ReadBytes(Support(L"WxData\\en-us\\Plc\\wrx_plc.mdb")), "plc database (enu)\r\n");
    EXPECT_TRUE(Exists(m_temp + L"MergeMDB\\Cdb.exe"));
    EXPECT_TRUE(Exists(m_temp + L"MergeMDB\\en-us\\wrxdbmergeres.dll"));
    EXPECT_EQ(Lines(ReadBytes(m_temp + L"MergeMDB\\default_cat.mdb")).size(), 3u);
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 3u);
}

// A temporary folder whose name holds "%s" is still where the manufacturer's databases go.
TEST_F(SharedLibraryInstall, APercentSInTheTemporaryFolderKeepsTheManufacturersData)
{
    const std::wstring temp = m_scratch / L"Pat%sy\\";
    CreateDirectoryW(temp.c_str(), nullptr);
    SetEnvironmentVariableW(L"TMP", temp.c_str());
    SetEnvironmentVariableW(L"TEMP", temp.c_str());
    State().sharedSupportFlag = true;
    Select(L"AB");
    EXPECT_EQ(Run(), kDone);
    EXPECT_EQ(Lines(ReadBytes(Support(L"WxData\\en-us\\catalogs\\default_cat.mdb"))),
              (std::vector<std::string>{"catalog en-us\r", "merged AB: AB_default_cat_src.mdb data", "compacted"}));
    EXPECT_FALSE(Exists(m_scratch / L"PatABy"));
    EXPECT_FALSE(Exists(temp + L"MergeMDB"));
}

// The language name goes into folder names and the merge tool's quoted arguments: a name that is
// not one plain folder name fails the action before anything is written anywhere.
TEST_F(SharedLibraryInstall, ALanguageNameThatIsNoPlainFolderNameFailsBeforeAnythingIsWritten)
{
    State().sharedSupportFlag = true;
    State().sharedSymbolFlag = true;
    Select(L"AB");
    m_main->SeedProperty(L"LANG2LONG", L"");
    for (const wchar_t* name : {L"", L".", L"..", L"..\\..\\X", L"en-us\" -X \"", L"en/us", L"C:x", L"en-us.", L"en-us ", L"en\tus",
                                L"en*", L"en?us", L"a<b", L"a>b", L"a|b"}) {
        State().languageName = name;
        EXPECT_EQ(Run(), kFailed) << Narrow(name);
    }
    EXPECT_FALSE(Exists(m_scratch / L"share"));
    EXPECT_FALSE(Exists(m_scratch / L"X"));
    EXPECT_TRUE(ToolCalls().empty());
    EXPECT_TRUE(actionstest::Walk(m_temp).empty());
}

// A support file that cannot be copied does not stop the others, but the deployment is not handed
// to the clients as complete: the action answers 1603 at its end and names the file.
TEST_F(SharedLibraryInstall, ASupportFileThatCannotBeCopiedFailsTheActionAtItsEnd)
{
    State().sharedSupportFlag = true;
    Select(L"AB");
    // A folder where the template should go: no copy can replace it.
    ASSERT_TRUE(wiraxui::actions::CreateFolderChain(Support(L"WxData\\Templates\\a4.dwt")));
    EXPECT_EQ(Run(), kFailed);

    EXPECT_TRUE(Exists(Support(L"WxData\\Templates\\a3.dwt")));
    EXPECT_EQ(ReadBytes(Support(L"WxData\\en-us\\Plc\\modules\\io.txt")), "io modules (enu)\r\n");
    EXPECT_EQ(Lines(ReadBytes(Support(L"WxData\\en-us\\catalogs\\default_cat.mdb"))).back(), "compacted");
    EXPECT_EQ(ToolCalls().size(), 5u);  // the merge still ran

    const auto phases = Phases();
    ASSERT_EQ(phases.size(), 4u);
    const std::vector<std::wstring>& told = phases[3].items;
    ASSERT_GE(told.size(), 2u);
    EXPECT_EQ(told[told.size() - 2], L"1 file could not be copied");
    EXPECT_EQ(told.back(), L"not copied: " + Support(L"WxData\\Templates\\a4.dwt"));
}

// The merged catalog that cannot be put back (a client holds the shared one open) is named at the
// end: the clients would otherwise read the old catalog as if the merge had reached it.
TEST_F(SharedLibraryInstall, AMergedCatalogThatCannotBeCopiedBackIsNamedAtTheEnd)
{
    State().sharedSupportFlag = true;
    Select(L"AB");
    const std::wstring shared = Support(L"WxData\\en-us\\catalogs\\default_cat.mdb");
    // The merge is the fourth phase: from its start on, the shared catalog is held open without
    // sharing, as a client reading it would.
    HANDLE held = INVALID_HANDLE_VALUE;
    m_host.setup.m_progressCallbacks.push_back([&](int kind, const wchar_t* text, void*) {
        if (kind == ::Setup::PROGRESS_TEXT && text && !*text && held == INVALID_HANDLE_VALUE && Phases().size() == 4)
            held = CreateFileW(shared.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    });
    const int result = Run();
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    CloseHandle(held);
    EXPECT_EQ(result, kFailed);
    EXPECT_EQ(ToolCalls().size(), 5u);  // the merge ran
    const auto told = Told();
    ASSERT_GE(told.size(), 2u);
    EXPECT_EQ(told[told.size() - 2], L"1 file could not be copied");
    EXPECT_EQ(told.back(), L"not copied: " + shared);
}

// A shared location that is not a full path fails before anything is written, and says which.
TEST_F(SharedLibraryInstall, ASharedLocationThatIsNotAFullPathIsNamed)
{
    State().sharedSupportFlag = true;
    State().sharedSupportPath = L"Shared\\Support";
    EXPECT_EQ(Run(), kFailed);
    EXPECT_EQ(Told(), std::vector<std::wstring>{L"the shared support folder is not a full path: \"Shared\\Support\\\""});
}

// Another user replaced a folder below a shared root by a link: the half that meets it fails as a
// damaged destination, and nothing lands where the link points.
TEST_F(SharedLibraryInstall, ALinkedManufacturerFolderFailsTheSymbolHalf)
{
    State().sharedSymbolFlag = true;
    Select(L"AB");
    const std::wstring elsewhere = m_scratch / L"elsewhere";
    ASSERT_TRUE(CreateDirectoryW(elsewhere.c_str(), nullptr));
    ASSERT_TRUE(wiraxui::actions::CreateFolderChain(Symbols(L"Libs\\panel")));
    hostkit::UnixLink link(Symbols(L"Libs\\panel\\AB"), elsewhere);
    ASSERT_TRUE(link.Made());
    EXPECT_EQ(Run(), kFailed);
    EXPECT_TRUE(actionstest::Walk(elsewhere).empty());
    EXPECT_TRUE(Exists(Symbols(L"Libs\\as2\\symbols\\item1.dwg")));
}

TEST_F(SharedLibraryInstall, ALinkedSupportFolderFailsTheSupportHalfBeforeTheMerge)
{
    State().sharedSupportFlag = true;
    Select(L"AB");
    const std::wstring elsewhere = m_scratch / L"elsewhere";
    ASSERT_TRUE(CreateDirectoryW(elsewhere.c_str(), nullptr));
    ASSERT_TRUE(wiraxui::actions::CreateFolderChain(Support(L"WxData")));
    hostkit::UnixLink link(Support(L"WxData\\en-us"), elsewhere);
    ASSERT_TRUE(link.Made());
    EXPECT_EQ(Run(), kFailed);
    EXPECT_TRUE(actionstest::Walk(elsewhere).empty());
    EXPECT_TRUE(ToolCalls().empty());
}

TEST_F(SharedLibraryInstall, NothingHappensOutsideADeploymentOrWithoutWork)
{
    State().sharedSymbolFlag = true;
    State().sharedSupportFlag = true;
    Select(L"AB");
    m_host.setup.m_setupMode = ::Setup::SETUPMODE_MAINTENANCE;
    EXPECT_EQ(Run(), kDone);
    m_host.setup.m_setupMode = ::Setup::SETUPMODE_DEPLOY_CHANGE;
    m_host.setup.m_cancelFlag = true;
    EXPECT_EQ(Run(), kDone);
    EXPECT_EQ(State().sharedSymbolLibraryPath, m_symbols);  // untouched before the paths step

    testsupport::HostInstallation withoutProduct;
    withoutProduct.setup.m_setupMode = ::Setup::SETUPMODE_DEPLOY;
    EXPECT_EQ(wiraxui::actions::InstallSharedLibraries(withoutProduct.setup), kDone);

    m_host.setup.m_cancelFlag = false;
    State().sharedSymbolFlag = false;
    State().sharedSupportFlag = false;
    EXPECT_EQ(Run(), kDone);
    EXPECT_EQ(State().sharedSymbolLibraryPath, m_symbols + L"\\");
    EXPECT_FALSE(Exists(m_symbols));
    EXPECT_FALSE(Exists(m_support));
    EXPECT_TRUE(m_host.setup.Journal().Events().empty());
}

// A host that leaves a shared location empty or relative: the content would land in the host's
// current folder or at the root of its drive ("" becomes "\"), so nothing is written at all.
TEST_F(SharedLibraryInstall, SharedLocationsThatAreNotFullPathsFailWithoutWriting)
{
    const std::wstring current = m_scratch / L"current";
    CreateDirectoryW(current.c_str(), nullptr);
    wchar_t previous[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(current.c_str());
    Select(L"AB");
    const std::wstring full = m_symbols;
    for (const auto& [symbolPath, supportPath] : std::vector<std::pair<std::wstring, std::wstring>>{
             {L"", m_support}, {full, L"Shared\\Support"}, {L"\\", m_support}, {full, L"C:Support"}}) {
        State().sharedSymbolFlag = true;
        State().sharedSupportFlag = true;
        State().sharedSymbolLibraryPath = symbolPath;
        State().sharedSupportPath = supportPath;
        EXPECT_EQ(Run(), kFailed) << Narrow(symbolPath) << " / " << Narrow(supportPath);
    }
    // Only the half that is asked for needs a full path.
    State().sharedSupportFlag = false;
    State().sharedSupportPath = L"";
    State().sharedSymbolLibraryPath = full;
    EXPECT_EQ(Run(), kDone);
    SetCurrentDirectoryW(previous);

    EXPECT_FALSE(Exists(current + L"\\Libs"));
    EXPECT_FALSE(Exists(current + L"\\Shared"));
    EXPECT_FALSE(Exists(L"C:\\Libs"));
    EXPECT_FALSE(Exists(m_support));
    EXPECT_TRUE(IsFolder(Symbols(L"Libs\\panel\\AB")));
}

TEST_F(SharedLibraryInstall, ALanguagePackOfAnotherLanguageBringsItsOwnFolderInTheFirstDeploymentMode)
{
    // The pack's package lies in a folder with its own user data.
    const std::wstring pack = m_scratch / L"packs\\German";
    ASSERT_TRUE(media::WriteMediaFile(pack + L"\\WiraxPS\\PF\\Root\\Wirax\\UDC\\wd.env", "from the pack"));
    ASSERT_TRUE(media::WriteMediaFile(pack + L"\\WiraxPS\\PF\\Root\\Wirax\\UDC\\only-in-pack.txt", "pack"));
    CProduct* languagePack = m_host.Add(L"WIRAX_MAIN_en-us");
    languagePack->m_name = L"de-de";
    languagePack->m_packagePath = pack + L"\\WiraxLP.msi";
    State().sharedSupportFlag = true;
    // Stop after the user data: that is where the language source shows.
    CancelWhen([](const std::vector<SeenPhase>& phases) { return phases.size() == 2; });
    EXPECT_EQ(Run(), kCancelled);
    EXPECT_EQ(ReadBytes(Support(L"WxData\\wd.env")), "from the pack");

    // In another deployment mode, or for a pack of the installation's own language, the media's
    // language folder serves.
    for (const auto& [mode, name] : {std::pair<int, const wchar_t*>{5, L"de-de"}, {4, L"EN-US"}}) {
        m_host.setup.m_setupMode = mode;
        languagePack->m_name = name;
        m_host.setup.m_cancelFlag = false;
        m_host.setup.Journal().Clear();
        EXPECT_EQ(Run(), kCancelled);
        EXPECT_EQ(ReadBytes(Support(L"WxData\\wd.env")), "WD_LANGUAGE=en-us\r\n");
    }
}

TEST_F(SharedLibraryInstall, ALanguagePackWithoutCatalogsMergesNothingAndSucceeds)
{
    // The pack's media hold user data but no content, PLC data or catalog databases: there is
    // nothing to merge into, the tools fail on the databases that are not there and create none,
    // and nothing is copied back.
    const std::wstring pack = m_scratch / L"packs\\German";
    ASSERT_TRUE(media::WriteMediaFile(pack + L"\\WiraxPS\\PF\\Root\\Wirax\\UDC\\wd.env", "from the pack"));
    CProduct* languagePack = m_host.Add(L"WIRAX_MAIN_en-us");
    languagePack->m_name = L"de-de";
    languagePack->m_packagePath = pack + L"\\WiraxLP.msi";
    State().sharedSupportFlag = true;
    Select(L"AB");
    EXPECT_EQ(Run(), kDone);

    EXPECT_EQ(ReadBytes(Support(L"WxData\\wd.env")), "from the pack");
    EXPECT_FALSE(Exists(Support(L"WxData\\en-us\\catalogs")));
    EXPECT_FALSE(Exists(Support(L"WxData\\en-us\\Plc\\wrx_plc.mdb")));
    // The merge and the three compactions were started all the same, and their working folder
    // is gone without a database made by a tool.
    const auto calls = ToolCalls();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[1].rfind("Cdb.exe|", 0), 0u) << calls[1];
    for (size_t i = 2; i < 5; ++i)
        EXPECT_EQ(calls[i].rfind("wrxCompactMDB.exe|", 0), 0u) << calls[i];
    EXPECT_FALSE(Exists(m_temp + L"MergeMDB"));
}

TEST(SharedLibraryRules, PlcFolderFrenchDatabasesWorkingFolderAndMergeArguments)
{
    using namespace wiraxui::actions;
    EXPECT_EQ(PlcSourceFolder(L"EN-US"), L"EN-US\\Plc\\Enu\\");
    EXPECT_EQ(PlcSourceFolder(L"en-us"), L"en-us\\Plc\\Enu\\");
    EXPECT_EQ(PlcSourceFolder(L"de-de"), L"de-de\\Plc\\Loc\\");

    for (const wchar_t* name : {L"en-us", L"EN-US", L"de-de", L"sr-Latn-RS", L"zh-Hans"})
        EXPECT_TRUE(IsPlainFolderName(name)) << Narrow(name);

    EXPECT_TRUE(UsesFrenchDatabases(L"40c", L"Merlin Gerin"));
    EXPECT_TRUE(UsesFrenchDatabases(L"40C", L"telemecanique"));
    EXPECT_TRUE(UsesFrenchDatabases(L"40C", L"LEGRAND"));
    EXPECT_FALSE(UsesFrenchDatabases(L"409", L"MERLIN GERIN"));
    EXPECT_FALSE(UsesFrenchDatabases(L"40C", L"AB"));

    EXPECT_EQ(MergeArguments(L"fr-fr", L"LEGRAND", L"C:\\T\\MergeMDB2"),
              L"-L \"fr-fr\" -I \"LEGRAND\" -C \"C:\\T\\MergeMDB2\\default_cat.mdb\" -F \"C:\\T\\MergeMDB2\\footprint_lookup.mdb\" "
              L"-P \"C:\\T\\MergeMDB2\\wrx_plc.mdb\" -S \"C:\\T\\MergeMDB2\" -N");

    hostkit::ScratchFolder temp(L"mergefolders");
    EXPECT_EQ(FreeWorkingFolder(temp.Path()), temp / L"MergeMDB");
    CreateDirectoryW((temp / L"MergeMDB").c_str(), nullptr);
    EXPECT_EQ(FreeWorkingFolder(temp.Path() + L"\\"), temp / L"MergeMDB0");
    actionstest::WriteBytes(temp / L"MergeMDB0", "a file takes the name too");
    EXPECT_EQ(FreeWorkingFolder(temp.Path()), temp / L"MergeMDB1");
}

TEST(SharedLibraryRules, FolderTreesAreListedDepthFirstWithRelativeNames)
{
    hostkit::ScratchFolder tree(L"listing");
    media::WriteMediaFile(tree / L"top.txt", "t");
    media::WriteMediaFile(tree / L"a\\inner.txt", "i");
    media::WriteMediaFile(tree / L"a\\b\\deep.txt", "d");
    CreateDirectoryW((tree / L"empty").c_str(), nullptr);
    const auto listing = wiraxui::actions::ListTree(tree.Path() + L"\\");
    ASSERT_FALSE(listing.folders.empty());
    EXPECT_EQ(listing.folders.front(), L"");
    std::vector<std::wstring> folders(listing.folders.begin(), listing.folders.end());
    std::sort(folders.begin(), folders.end());
    EXPECT_EQ(folders, (std::vector<std::wstring>{L"", L"a", L"a\\b", L"empty"}));
    std::vector<std::wstring> files(listing.files.begin(), listing.files.end());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::wstring>{L"\\top.txt", L"a\\b\\deep.txt", L"a\\inner.txt"}));
    // A sub-folder is listed completely where it is met: "a\b" follows "a" directly.
    const auto a = std::find(listing.folders.begin(), listing.folders.end(), L"a");
    ASSERT_NE(a, listing.folders.end());
    EXPECT_EQ(*(a + 1), L"a\\b");
    EXPECT_TRUE(wiraxui::actions::ListTree(tree / L"missing").folders.empty());
}

}  // namespace
