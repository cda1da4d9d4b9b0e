// The drawing standard page, created through its export under a host window and worked through
// its controls.
#include "ConfigPageTest.h"

#include <WiraxUIRes.h>
#include <shlobj.h>

#include <thread>

namespace pagetest {
namespace {

const int kRadios[] = {IDC_STANDARD_JIC, IDC_STANDARD_IEC, IDC_STANDARD_IEEE,
                       IDC_STANDARD_GB, IDC_STANDARD_JIS, IDC_STANDARD_NFPA};

class StandardSelectionPageTest : public ConfigPageTest {
protected:
    StandardSelectionPageTest() : ConfigPageTest("StandardSelectionPage") {}

    void SetUp() override
    {
        ConfigPageTest::SetUp();
        SetMain(L"WIRAXDEFAULTFOLDER", L"Wirax 2027");
        SetMain(L"ROAMINGUSERMYDOCSWIRAXFOLDER", scratch / L"Personal\\");
    }

    std::wstring DocumentsFolder() const
    {
        wchar_t path[MAX_PATH] = L"";
        SHGetSpecialFolderPathW(nullptr, path, CSIDL_PERSONAL, FALSE);
        return path;
    }

    ScratchFolder scratch{L"WiraxStandardPage"};
};

TEST_F(StandardSelectionPageTest, TheStandardIsFoundInAnyCaseAndARadioClickIsWrittenAndToldAtOnce)
{
    SetMain(L"DRAWINGSTANDARD", L"iec");
    ASSERT_NE(Open(), nullptr);
    EXPECT_TRUE(Checked(IDC_STANDARD_IEC));
    EXPECT_EQ(Text(IDC_DATA_FOLDER_EDIT), scratch / L"Personal\\");
    EXPECT_TRUE(Visible(IDC_DATA_FOLDER_EDIT));

    host.setup.Journal().Clear();
    Press(IDC_STANDARD_NFPA);
    EXPECT_TRUE(Checked(IDC_STANDARD_NFPA));
    EXPECT_FALSE(Checked(IDC_STANDARD_IEC));
    EXPECT_EQ(Writes(L"DRAWINGSTANDARD"), std::vector<std::wstring>{L"NFPA"});
    EXPECT_EQ(panel.copiedNames, std::vector<std::wstring>{L"DRAWINGSTANDARD"});
    EXPECT_EQ(WrittenNames().size(), 1u) << "a click writes nothing else before the commit";
}

TEST_F(StandardSelectionPageTest, AnUnknownStandardChecksNothingAndAnEmptyFolderGetsTheDefault)
{
    SetMain(L"DRAWINGSTANDARD", L"IEC6");
    SetMain(L"ROAMINGUSERMYDOCSWIRAXFOLDER", L"");
    ASSERT_NE(Open(), nullptr);
    for (int radio : kRadios)
        EXPECT_FALSE(Checked(radio)) << radio;
    const std::wstring expected = DocumentsFolder() + L"\\Wirax 2027\\";
    EXPECT_EQ(MainProperty(L"ROAMINGUSERMYDOCSWIRAXFOLDER"), expected);
    EXPECT_EQ(Text(IDC_DATA_FOLDER_EDIT), expected);
}

TEST_F(StandardSelectionPageTest, CommittingIecWhileJicAndIec6AreListedSetsTheirLibrariesInOrder)
{
    SetMain(L"DRAWINGSTANDARD", L"IEC");
    SetMain(L"SYMBOLLIBRARY", L"JIC,IEC6,");
    ASSERT_NE(Open(), nullptr);
    host.setup.Journal().Clear();
    ASSERT_TRUE(page->Commit());

    for (const wchar_t* name : {L"WXJIC1", L"WXJICDEMO", L"WXIEC2", L"WXIEC4", L"WXIEC6", L"WXIECDEMO", L"WXIEC6DEMO"})
        EXPECT_EQ(MainProperty(name), L"1") << testsupport::Narrow(name);
    for (const wchar_t* name : {L"WXIEEE", L"WXIEEEDEMO", L"WXGB2", L"WXGBDEMO", L"WXJIS2", L"WXJISDEMO", L"WXNFPA"})
        EXPECT_EQ(MainProperty(name), L"0") << testsupport::Narrow(name);
    EXPECT_EQ(MainProperty(L"SYMBOLLIBRARY"), L"JIC,IEC6,");
    EXPECT_EQ(MainProperty(L"DRAWINGSTANDARD"), L"IEC");
    EXPECT_EQ(MainProperty(L"NETPERSONALWXDATAPATH"), L"0");

    // The reset comes first, with the JIC demo library kept; the list's libraries after the
    // standard; the folder last.
    const auto names = WrittenNames();
    ASSERT_GE(names.size(), 15u);
    EXPECT_EQ(names[0], L"WXJIC1");
    EXPECT_EQ(Writes(L"WXJIC1"), (std::vector<std::wstring>{L"0", L"1"}));
    EXPECT_EQ(Writes(L"WXJICDEMO"), (std::vector<std::wstring>{L"1", L"1"}));
    EXPECT_EQ(names[14], L"WXNFPADEMO");
    EXPECT_EQ(names[19], L"DRAWINGSTANDARD");
    EXPECT_EQ(names[names.size() - 2], L"ROAMINGUSERMYDOCSWIRAXFOLDER");
    EXPECT_EQ(names.back(), L"NETPERSONALWXDATAPATH");
}

TEST_F(StandardSelectionPageTest, CommittingNfpaWhileOnlyJicIsListedReplacesTheList)
{
    SetMain(L"DRAWINGSTANDARD", L"JIC");
    SetMain(L"SYMBOLLIBRARY", L"JIC,");
    ASSERT_NE(Open(), nullptr);
    Press(IDC_STANDARD_NFPA);
    ASSERT_TRUE(page->Commit());
    EXPECT_EQ(MainProperty(L"SYMBOLLIBRARY"), L"NFPA");
    EXPECT_EQ(MainProperty(L"WXNFPA"), L"1");
    EXPECT_EQ(MainProperty(L"WXNFPADEMO"), L"1");
    EXPECT_EQ(MainProperty(L"WXJIC1"), L"0");
    EXPECT_EQ(MainProperty(L"WXJICDEMO"), L"1");
}

TEST_F(StandardSelectionPageTest, WithoutAStandardTheListKeepsItsLibraries)
{
    SetMain(L"DRAWINGSTANDARD", L"");
    SetMain(L"SYMBOLLIBRARY", L"GB,JIS,");
    ASSERT_NE(Open(), nullptr);
    ASSERT_TRUE(page->Commit());
    EXPECT_EQ(MainProperty(L"DRAWINGSTANDARD"), L"");
    EXPECT_EQ(MainProperty(L"SYMBOLLIBRARY"), L"GB,JIS,");
    EXPECT_EQ(MainProperty(L"WXGB2"), L"1");
    EXPECT_EQ(MainProperty(L"WXJISDEMO"), L"1");
    EXPECT_EQ(MainProperty(L"WXIEC2"), L"0");
}

TEST_F(StandardSelectionPageTest, AQuotedFolderIsStoredWithoutQuotesAndWithATrailingBackslash)
{
    ASSERT_NE(Open(), nullptr);
    Type(IDC_DATA_FOLDER_EDIT, L"\"" + (scratch / L"Quoted Data") + L"\"");
    ASSERT_TRUE(page->Commit());
    EXPECT_EQ(MainProperty(L"ROAMINGUSERMYDOCSWIRAXFOLDER"), scratch / L"Quoted Data\\");
    EXPECT_FALSE(Exists(scratch / L"Quoted Data")) << "the check leaves no folder behind";
}

TEST_F(StandardSelectionPageTest, AForwardSlashIsRefusedEvenForAFolderThatExists)
{
    scratch.Put(L"Existing\\settings.xml", "<settings/>");
    ASSERT_NE(Open(), nullptr);
    std::wstring slashed = scratch / L"Existing";
    slashed.replace(slashed.find_last_of(L'\\'), 1, L"/");
    Type(IDC_DATA_FOLDER_EDIT, slashed);
    host.setup.Journal().Clear();
    std::vector<hostkit::SeenDialog> seen;
    EXPECT_FALSE(CommitAnswering(IDOK, &seen));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].text.find(L"cannot be used"), std::wstring::npos) << testsupport::Narrow(seen[0].text);
    EXPECT_EQ(GetFocus(), Control(IDC_DATA_FOLDER_EDIT));
    EXPECT_TRUE(WrittenNames().empty());
}

TEST_F(StandardSelectionPageTest, AFolderThatHoldsSomethingIsAcceptedWithTheCaretAtItsEnd)
{
    scratch.Put(L"Existing\\settings.xml", "<settings/>");
    ASSERT_NE(Open(), nullptr);
    Type(IDC_DATA_FOLDER_EDIT, scratch / L"Existing");
    SetFocus(Control(IDC_STANDARD_JIC));
    std::vector<hostkit::SeenDialog> seen;
    ASSERT_TRUE(CommitAnswering(IDOK, &seen));
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(GetFocus(), Control(IDC_DATA_FOLDER_EDIT));
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(Control(IDC_DATA_FOLDER_EDIT), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, end);
    EXPECT_EQ(end, static_cast<DWORD>(Text(IDC_DATA_FOLDER_EDIT).size()));
    EXPECT_EQ(MainProperty(L"ROAMINGUSERMYDOCSWIRAXFOLDER"), scratch / L"Existing\\");
}

TEST_F(StandardSelectionPageTest, ARelativeFolderIsRefusedWithTheFocusOnTheEdit)
{
    ASSERT_NE(Open(), nullptr);
    Type(IDC_DATA_FOLDER_EDIT, L"Data\\Sub");
    SetFocus(Control(IDC_STANDARD_JIC));
    EXPECT_FALSE(CommitAnswering(IDOK));
    EXPECT_EQ(GetFocus(), Control(IDC_DATA_FOLDER_EDIT));
    EXPECT_FALSE(main->HasProperty(L"WXJIC1"));
}

TEST_F(StandardSelectionPageTest, AStandaloneLanguagePackLocksEveryControlButCommitStillWrites)
{
    SetMain(L"STANDALONE_LP", L"1");
    SetMain(L"DRAWINGSTANDARD", L"GB");
    ASSERT_NE(Open(), nullptr);
    for (int radio : kRadios)
        EXPECT_FALSE(Enabled(radio)) << radio;
    EXPECT_FALSE(Enabled(IDC_DATA_FOLDER_EDIT));
    EXPECT_FALSE(Enabled(IDC_PERSONAL_FOLDER_BROWSE));
    ASSERT_TRUE(page->Commit());
    EXPECT_EQ(MainProperty(L"DRAWINGSTANDARD"), L"GB");
    EXPECT_EQ(MainProperty(L"WXGB2"), L"1");
    EXPECT_EQ(MainProperty(L"SYMBOLLIBRARY"), L"GB");
}

TEST_F(StandardSelectionPageTest, SharedSupportHidesTheFolderAndThePageGetsShorter)
{
    ASSERT_NE(Open(), nullptr);
    const int fullHeight = page->GetHeight();
    SetMain(L"SHAREDSUPPORT", L"1");
    page->OnPropertyChanged(L"SHAREDSUPPORT");
    EXPECT_FALSE(Visible(IDC_DATA_FOLDER_EDIT));
    EXPECT_FALSE(Visible(IDC_PERSONAL_FOLDER_BROWSE));
    EXPECT_FALSE(Visible(IDC_PERSONAL_FOLDER_LABEL));
    EXPECT_LT(page->GetHeight(), fullHeight);
    RECT client;
    GetClientRect(Window(), &client);
    EXPECT_EQ(page->GetHeight(), client.bottom);
    EXPECT_EQ(panel.notifyCodes, std::vector<int>{-610});

    SetMain(L"SHAREDSUPPORT", L"0");
    page->OnPropertyChanged(L"SHAREDSUPPORT");
    EXPECT_TRUE(Visible(IDC_DATA_FOLDER_EDIT));
    EXPECT_GT(page->GetHeight(), fullHeight - 10);
    EXPECT_EQ(panel.notifyCodes.size(), 2u);

    page->OnPropertyChanged(L"DRAWINGSTANDARD");
    EXPECT_EQ(panel.notifyCodes.size(), 2u) << "only the shared support changes the page";
}

TEST_F(StandardSelectionPageTest, APageThatOpensWithSharedSupportEndsAtItsNote)
{
    SetMain(L"SHAREDSUPPORT", L"1");
    ASSERT_NE(Open(), nullptr);
    EXPECT_FALSE(Visible(IDC_DATA_FOLDER_EDIT));
    RECT note;
    GetWindowRect(GetDlgItem(Window(), -1), &note);
    MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&note), 2);
    EXPECT_EQ(page->GetHeight(), note.bottom);
    EXPECT_TRUE(panel.notifyCodes.empty()) << "the host asks for the height of a new page itself";
}

TEST_F(StandardSelectionPageTest, TheNetworkPersonalFolderFlagFollowsTheSetupMode)
{
    host.setup.m_setupMode = ::Setup::SETUPMODE_DEPLOY_UPDATE;
    SetMain(L"SHAREDSUPPORT", L"0");
    SetMain(L"ROAMINGUSERMYDOCSWIRAXFOLDER", L"");
    ASSERT_NE(Open(), nullptr);
    ASSERT_TRUE(page->Commit());
    EXPECT_EQ(MainProperty(L"NETPERSONALWXDATAPATH"), L"1") << "the default folder lies in the documents";

    Type(IDC_DATA_FOLDER_EDIT, scratch / L"Elsewhere");
    ASSERT_TRUE(page->Commit());
    EXPECT_EQ(MainProperty(L"NETPERSONALWXDATAPATH"), L"0");

    SetMain(L"SHAREDSUPPORT", L"1");
    host.setup.Journal().Clear();
    ASSERT_TRUE(page->Commit());
    EXPECT_TRUE(Writes(L"NETPERSONALWXDATAPATH").empty());
}

TEST_F(StandardSelectionPageTest, BrowseOpensAtAMissingDefaultFolderMadeForItAndRemovesItAgain)
{
    SetMain(L"ROAMINGUSERMYDOCSWIRAXFOLDER", L"");
    SetMain(L"WIRAXDEFAULTFOLDER", L"Wirax Browse Test");
    ASSERT_NE(Open(), nullptr);
    const std::wstring folder = DocumentsFolder() + L"\\Wirax Browse Test";
    ASSERT_FALSE(Exists(folder));
    bool existedWhileOpen = false;
    {
        hostkit::DialogAnswerer answerer({L"Select Folder"}, IDCANCEL);
        std::thread look([&] {
            if (answerer.WaitFor(1, 10000))
                return;
        });
        // The folder dialog is modal: the click returns once the answerer has cancelled it.
        std::thread watch([&] {
            for (int i = 0; i < 200 && !existedWhileOpen; ++i) {
                existedWhileOpen = Exists(folder);
                Sleep(25);
            }
        });
        Press(IDC_PERSONAL_FOLDER_BROWSE);
        look.join();
        watch.join();
        ASSERT_EQ(answerer.Seen().size(), 1u);
    }
    EXPECT_TRUE(existedWhileOpen);
    EXPECT_FALSE(Exists(folder));
    EXPECT_EQ(Text(IDC_DATA_FOLDER_EDIT), folder + L"\\");
}

TEST_F(StandardSelectionPageTest, NothingOverlapsNoTextIsCutAndTabReachesEveryControl)
{
    SetMain(L"DRAWINGSTANDARD", L"JIS");
    ASSERT_NE(Open(), nullptr);
    EXPECT_TRUE(LayoutProblems(Window()).empty()) << JoinProblems(LayoutProblems(Window()));
    EXPECT_TRUE(TabOrderProblems(Window()).empty()) << JoinProblems(TabOrderProblems(Window()));
}

}  // namespace
}  // namespace pagetest
