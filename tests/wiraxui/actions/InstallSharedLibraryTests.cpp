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
        setup.m_setupMode = 4;
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
            if (event.number == 9 && event.name.empty()) {
                phases.emplace_back();
            } else if (event.number == 9 && !phases.empty()) {
                phases.back().items.push_back(event.name);
            } else if (event.number == 12 && event.hasProgress && !phases.empty()) {
                if (event.progress.kind == 0)
                    phases.back().total = event.progress.value;
                else if (event.progress.kind == 2)
                    phases.back().steps += event.progress.value;
            }
        }
        return phases;
    }

    std::vector<std::string> ToolCalls() const { return Lines(ReadBytes(m_journal)); }
    std::wstring Support(const std::wstring& relative) const { return m_support + L"\\" + relative; }
    std::wstring Symbols(const std::wstring& relative) const { return m_symbols + L"\\" + relative; }

    actionstest::Scratch m_scratch;
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
        actionstest::RemoveTree(m_support);
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

TEST_F(SharedLibraryInstall, NothingHappensOutsideADeploymentOrWithoutWork)
{
    State().sharedSymbolFlag = true;
    State().sharedSupportFlag = true;
    Select(L"AB");
    m_host.setup.m_setupMode = 2;
    EXPECT_EQ(Run(), kDone);
    m_host.setup.m_setupMode = 6;
    m_host.setup.m_cancelFlag = true;
    EXPECT_EQ(Run(), kDone);
    EXPECT_EQ(State().sharedSymbolLibraryPath, m_symbols);  // untouched before the paths step

    testsupport::HostInstallation withoutProduct;
    withoutProduct.setup.m_setupMode = 4;
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

    EXPECT_TRUE(UsesFrenchDatabases(L"40c", L"Merlin Gerin"));
    EXPECT_TRUE(UsesFrenchDatabases(L"40C", L"telemecanique"));
    EXPECT_TRUE(UsesFrenchDatabases(L"40C", L"LEGRAND"));
    EXPECT_FALSE(UsesFrenchDatabases(L"409", L"MERLIN GERIN"));
    EXPECT_FALSE(UsesFrenchDatabases(L"40C", L"AB"));

    EXPECT_EQ(MergeArguments(L"fr-fr", L"LEGRAND", L"C:\\T\\MergeMDB2"),
              L"-L \"fr-fr\" -I \"LEGRAND\" -C \"C:\\T\\MergeMDB2\\default_cat.mdb\" -F \"C:\\T\\MergeMDB2\\footprint_lookup.mdb\" "
              L"-P \"C:\\T\\MergeMDB2\\wrx_plc.mdb\" -S \"C:\\T\\MergeMDB2\" -N");

    actionstest::Scratch temp(L"mergefolders");
    EXPECT_EQ(FreeWorkingFolder(temp.Path()), temp / L"MergeMDB");
    CreateDirectoryW((temp / L"MergeMDB").c_str(), nullptr);
    EXPECT_EQ(FreeWorkingFolder(temp.Path() + L"\\"), temp / L"MergeMDB0");
    actionstest::WriteBytes(temp / L"MergeMDB0", "a file takes the name too");
    EXPECT_EQ(FreeWorkingFolder(temp.Path()), temp / L"MergeMDB1");
}

TEST(SharedLibraryRules, FolderTreesAreListedDepthFirstWithRelativeNames)
{
    actionstest::Scratch tree(L"listing");
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
