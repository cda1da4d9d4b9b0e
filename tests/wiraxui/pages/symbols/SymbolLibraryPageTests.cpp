// The symbol library configuration page: its eight boxes, their locks, the folder and the
// overwrite question, worked through the page's controls.
#include "ConfigPageTest.h"

#include "RegistryArranger.h"

#include <WiraxUIRes.h>

#include <fstream>

namespace pagetest {
namespace {

const int kBoxes[] = {IDC_SYMBOLS_JIC, IDC_SYMBOLS_IEC, IDC_SYMBOLS_IEC6, IDC_SYMBOLS_IEEE,
                      IDC_SYMBOLS_GB,  IDC_SYMBOLS_JIS, IDC_SYMBOLS_AS,   IDC_SYMBOLS_NFPA};

constexpr long long kBaseBytes = 2705308172LL;

class SymbolLibraryPageTest : public ConfigPageTest {
protected:
    SymbolLibraryPageTest() : ConfigPageTest("SymbolLibraryPage") {}

    void SetUp() override
    {
        ConfigPageTest::SetUp();
        SetMain(L"WXSYMLIBFOLDER", scratch / L"Symbols\\");
        SetMain(L"SHAREDSYMBOL", L"0");
    }

    // A folder that an installation filled: its marker file says whether it holds libraries.
    void InstalledLibrariesIn(const std::wstring& folder, const char* panel)
    {
        scratch.Put(folder + L"\\Libs\\SymLib.ini", std::string("[Symbol Libraries]\r\npanel=") + panel + "\r\n");
        Type(IDC_DATA_FOLDER_EDIT, scratch / folder);
    }

    ScratchFolder scratch{L"WiraxSymbolPage"};
};

TEST_F(SymbolLibraryPageTest, BoxesFollowTheLibrariesAndTheStandardsBoxIsLocked)
{
    SetMain(L"WXGB2", L"1");
    SetMain(L"WXIEC6", L"1");
    SetMain(L"WXJIC1", L"0");
    SetMain(L"DRAWINGSTANDARD", L"nfpa");
    ASSERT_NE(Open(), nullptr);
    for (int box : kBoxes) {
        const bool expected = box == IDC_SYMBOLS_GB || box == IDC_SYMBOLS_IEC6 || box == IDC_SYMBOLS_NFPA;
        EXPECT_EQ(Checked(box), expected) << box;
        EXPECT_EQ(Enabled(box), box != IDC_SYMBOLS_NFPA) << box;
    }
    EXPECT_EQ(Text(IDC_DATA_FOLDER_EDIT), scratch / L"Symbols\\");
}

TEST_F(SymbolLibraryPageTest, NoBoxCheckedGivesAnEmptyListTheJicLibrariesAndTheBaseCost)
{
    ASSERT_NE(Open(), nullptr);
    ASSERT_TRUE(page->Commit());
    EXPECT_EQ(MainProperty(L"SYMBOLLIBRARY"), L"");
    EXPECT_EQ(MainProperty(L"WXJIC1"), L"1");
    EXPECT_EQ(MainProperty(L"WXJICDEMO"), L"1");
    for (const wchar_t* name : {L"WXIEC2", L"WXIEC4", L"WXIECDEMO", L"WXIEC6", L"WXIEC6DEMO", L"WXIEEE", L"WXIEEEDEMO",
                                L"WXGB2", L"WXGBDEMO", L"WXJIS2", L"WXJISDEMO", L"WXAS2", L"WXASDEMO", L"WXNFPA",
                                L"WXNFPADEMO"})
        EXPECT_EQ(MainProperty(name), L"0") << testsupport::Narrow(name);
    EXPECT_EQ(CostOnC(), kBaseBytes);
    EXPECT_EQ(MainProperty(L"WXSYMLIBFOLDER"), scratch / L"Symbols\\");
    EXPECT_EQ(MainProperty(L"WXLIBSFOLDER"), scratch / L"Symbols\\Libs\\");
    EXPECT_EQ(MainProperty(L"NETDEFAULTSYMLIBPATH"), L"0");
}

TEST_F(SymbolLibraryPageTest, JicAndNfpaGiveTheirTokensAndCostAndARepeatedCommitCostsTheSame)
{
    ASSERT_NE(Open(), nullptr);
    Press(IDC_SYMBOLS_NFPA);
    Press(IDC_SYMBOLS_JIC);
    ASSERT_TRUE(page->Commit());
    EXPECT_EQ(MainProperty(L"SYMBOLLIBRARY"), L"JIC,NFPA,");
    EXPECT_EQ(MainProperty(L"WXNFPADEMO"), L"1");
    EXPECT_EQ(CostOnC(), 2926595303LL);
    ASSERT_TRUE(page->Commit());
    EXPECT_EQ(CostOnC(), 2926595303LL);
    Press(IDC_SYMBOLS_NFPA);
    ASSERT_TRUE(page->Commit());
    EXPECT_EQ(CostOnC(), 2814478065LL);
    EXPECT_EQ(MainProperty(L"SYMBOLLIBRARY"), L"JIC,");
}

TEST_F(SymbolLibraryPageTest, AChangeOfStandardToIecChecksIecAndIec6AndLocksOnlyIec)
{
    SetMain(L"DRAWINGSTANDARD", L"GB");
    SetMain(L"WXNFPA", L"1");
    ASSERT_NE(Open(), nullptr);
    EXPECT_FALSE(Enabled(IDC_SYMBOLS_GB));
    SetMain(L"DRAWINGSTANDARD", L"IEC");
    page->OnPropertyChanged(L"DRAWINGSTANDARD");
    for (int box : kBoxes) {
        EXPECT_EQ(Checked(box), box == IDC_SYMBOLS_IEC || box == IDC_SYMBOLS_IEC6) << box;
        EXPECT_EQ(Enabled(box), box != IDC_SYMBOLS_IEC) << box;
    }
    for (const wchar_t* name : {L"WXIEC2", L"WXIEC4", L"WXIEC6", L"WXIECDEMO", L"WXJICDEMO"})
        EXPECT_EQ(MainProperty(name), L"1") << testsupport::Narrow(name);
    for (const wchar_t* name : {L"WXJIC1", L"WXIEC6DEMO", L"WXNFPA", L"WXAS2", L"WXGB2"})
        EXPECT_EQ(MainProperty(name), L"0") << testsupport::Narrow(name);
}

TEST_F(SymbolLibraryPageTest, ChangingAnInstallationLocksTheLibrariesItHas)
{
    using RecordExport = int(uintptr_t*);
    SetMain(L"PLNDVERSION", L"R27.0");
    SetMain(L"PLNDPRODUCTID", L"8101");
    host.setup.m_setupMode = ::Setup::SETUPMODE_MAINTENANCE;
    plugin.Export<RecordExport>("InitializeProduct_WRX")(host.record.data());
    hostkit::RegistryArranger registry;
    ASSERT_TRUE(registry.SetDword(HKEY_LOCAL_MACHINE, L"Software\\Tarvena\\Plandra\\R27.0\\PLND-8101", L"SYMLIB_GBDEMO", 1));
    ASSERT_TRUE(registry.SetDword(HKEY_LOCAL_MACHINE, L"Software\\Tarvena\\Plandra\\R27.0\\PLND-8101", L"SYMLIB_JISDEMO", 0));
    SetMain(L"WXSYMLIBFOLDER", scratch / L"Symbols\\");
    ASSERT_NE(Open(), nullptr);
    EXPECT_TRUE(Checked(IDC_SYMBOLS_GB));
    EXPECT_FALSE(Enabled(IDC_SYMBOLS_GB));
    EXPECT_FALSE(Checked(IDC_SYMBOLS_JIS));
    EXPECT_TRUE(Enabled(IDC_SYMBOLS_JIS));

    // A change of standard leaves an installed library where it was.
    SetMain(L"DRAWINGSTANDARD", L"JIC");
    page->OnPropertyChanged(L"DRAWINGSTANDARD");
    EXPECT_TRUE(Checked(IDC_SYMBOLS_GB));
    EXPECT_FALSE(Enabled(IDC_SYMBOLS_GB));
}

TEST_F(SymbolLibraryPageTest, AStandaloneLanguagePackLocksEveryControlButCommitStillWrites)
{
    SetMain(L"STANDALONE_LP", L"1");
    SetMain(L"WXJIS2", L"1");
    ASSERT_NE(Open(), nullptr);
    for (int box : kBoxes)
        EXPECT_FALSE(Enabled(box)) << box;
    EXPECT_FALSE(Enabled(IDC_DATA_FOLDER_EDIT));
    EXPECT_FALSE(Enabled(IDC_SYMBOL_FOLDER_BROWSE));
    ASSERT_TRUE(page->Commit());
    EXPECT_EQ(MainProperty(L"SYMBOLLIBRARY"), L"JIS,");
}

TEST_F(SymbolLibraryPageTest, AnInstalledLibraryFolderAsksWhetherToOverwriteIt)
{
    ASSERT_NE(Open(), nullptr);
    InstalledLibrariesIn(L"Installed", "1");
    std::vector<hostkit::SeenDialog> seen;
    ASSERT_TRUE(CommitAnswering(IDYES, &seen));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].text.find(L"overwrite"), std::wstring::npos) << testsupport::Narrow(seen[0].text);
    EXPECT_EQ(MainProperty(L"SYMLIB_OVERWRITE"), L"1");
    EXPECT_EQ(GetFocus(), Control(IDC_DATA_FOLDER_EDIT));

    ASSERT_TRUE(CommitAnswering(IDNO, &seen));
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(MainProperty(L"SYMLIB_OVERWRITE"), L"0");
    EXPECT_EQ(MainProperty(L"WXSYMLIBFOLDER"), scratch / L"Installed\\");
}

TEST_F(SymbolLibraryPageTest, NoQuestionWithoutAnInstallationsMarkerOrInADeployment)
{
    ASSERT_NE(Open(), nullptr);
    std::vector<hostkit::SeenDialog> seen;
    InstalledLibrariesIn(L"Other", "0");
    ASSERT_TRUE(CommitAnswering(IDYES, &seen));
    EXPECT_TRUE(seen.empty());
    scratch.Put(L"NoMarker\\readme.txt", "x");
    Type(IDC_DATA_FOLDER_EDIT, scratch / L"NoMarker");
    ASSERT_TRUE(CommitAnswering(IDYES, &seen));
    EXPECT_TRUE(seen.empty());
    host.setup.m_setupMode = ::Setup::SETUPMODE_DEPLOY;
    InstalledLibrariesIn(L"Deployed", "1");
    ASSERT_TRUE(CommitAnswering(IDYES, &seen));
    EXPECT_TRUE(seen.empty());
    EXPECT_FALSE(main->HasProperty(L"SYMLIB_OVERWRITE"));
}

TEST_F(SymbolLibraryPageTest, AStandaloneLanguagePackOverwritesWithoutAsking)
{
    SetMain(L"STANDALONE_LP", L"1");
    ASSERT_NE(Open(), nullptr);
    // The pack cannot edit the folder, but the host may have set it to an installed one.
    scratch.Put(L"Installed\\Libs\\SymLib.ini", "[Symbol Libraries]\r\npanel=1\r\n");
    EnableWindow(Control(IDC_DATA_FOLDER_EDIT), TRUE);
    Type(IDC_DATA_FOLDER_EDIT, scratch / L"Installed");
    std::vector<hostkit::SeenDialog> seen;
    ASSERT_TRUE(CommitAnswering(IDNO, &seen));
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(MainProperty(L"SYMLIB_OVERWRITE"), L"1");
}

TEST_F(SymbolLibraryPageTest, ARefusedFolderWritesNothing)
{
    ASSERT_NE(Open(), nullptr);
    Type(IDC_DATA_FOLDER_EDIT, scratch.Path() + L"/Slashed");
    host.setup.Journal().Clear();
    std::vector<hostkit::SeenDialog> seen;
    EXPECT_FALSE(CommitAnswering(IDOK, &seen));
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(GetFocus(), Control(IDC_DATA_FOLDER_EDIT));
    EXPECT_TRUE(WrittenNames().empty());
    EXPECT_EQ(CostOnC(), 0);
}

TEST_F(SymbolLibraryPageTest, SharedSymbolsHideTheFolderAndAnEmptyFolderGetsTheDefault)
{
    SetMain(L"WXSYMLIBFOLDER", L"");
    SetMain(L"Manufacturer", L"Tarvena");
    SetMain(L"WIRAXDEFAULTFOLDER", L"Wirax 2027");
    ASSERT_NE(Open(), nullptr);
    const std::wstring folder = MainProperty(L"WXSYMLIBFOLDER");
    EXPECT_NE(folder.find(L"\\Tarvena\\Wirax 2027\\"), std::wstring::npos) << testsupport::Narrow(folder);
    EXPECT_EQ(MainProperty(L"WXLIBSFOLDER"), folder + L"Libs\\");
    EXPECT_EQ(Text(IDC_DATA_FOLDER_EDIT), folder);

    const int fullHeight = page->GetHeight();
    SetMain(L"SHAREDSYMBOL", L"1");
    page->OnPropertyChanged(L"SHAREDSYMBOL");
    EXPECT_FALSE(Visible(IDC_DATA_FOLDER_EDIT));
    EXPECT_FALSE(Visible(IDC_SYMBOL_FOLDER_LABEL));
    EXPECT_LT(page->GetHeight(), fullHeight);
    EXPECT_EQ(panel.notifyCodes, std::vector<int>{-610});

    SetMain(L"SHAREDSYMBOL", L"0");
    ASSERT_TRUE(page->Commit());
    EXPECT_EQ(MainProperty(L"NETDEFAULTSYMLIBPATH"), L"1") << "the default lies in the public documents";
}

TEST_F(SymbolLibraryPageTest, NothingOverlapsNoTextIsCutAndTabReachesEveryControl)
{
    SetMain(L"DRAWINGSTANDARD", L"IEC");
    ASSERT_NE(Open(), nullptr);
    EXPECT_TRUE(LayoutProblems(Window()).empty()) << JoinProblems(LayoutProblems(Window()));
    EXPECT_TRUE(TabOrderProblems(Window()).empty()) << JoinProblems(TabOrderProblems(Window()));
}

}  // namespace
}  // namespace pagetest
