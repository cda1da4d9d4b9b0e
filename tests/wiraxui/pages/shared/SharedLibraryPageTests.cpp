// The shared library page of a deployment: its two choices, the folders' refusals and what an
// apply writes, worked through the page's controls.
#include "ConfigPageTest.h"

#include <WiraxUIRes.h>

namespace pagetest {
namespace {

class SharedLibraryPageTest : public ConfigPageTest {
protected:
    SharedLibraryPageTest() : ConfigPageTest("SharedLibraryPage") {}

    void SetUp() override
    {
        ConfigPageTest::SetUp();
        host.setup.m_setupMode = ::Setup::SETUPMODE_DEPLOY_UPDATE;
        host.setup.m_deploymentFolder = L"\\\\depot\\deployments\\Wirax\\";
        data = main->m_featureManager.AddFeature(L"WXDATA");
        symbols = main->m_featureManager.AddFeature(L"WXSYMBOLS");
    }

    int ActionWrites(const wchar_t* feature) const
    {
        int count = 0;
        for (const HostEvent& event : host.setup.Journal().Events())
            count += event.kind == HostEvent::Kind::FeatureActionSet && event.name == feature && event.number == 3;
        return count;
    }

    // Commits with shared support chosen for folder, and answers the refusal if one comes.
    std::vector<hostkit::SeenDialog> RefusalsOf(const std::wstring& folder)
    {
        Type(IDC_SHARED_SUPPORT_EDIT, folder);
        std::vector<hostkit::SeenDialog> seen;
        EXPECT_FALSE(CommitAnswering(IDOK, &seen)) << testsupport::Narrow(folder);
        EXPECT_EQ(GetFocus(), Control(IDC_SHARED_SUPPORT_EDIT)) << testsupport::Narrow(folder);
        return seen;
    }

    CFeature* data = nullptr;
    CFeature* symbols = nullptr;
    ScratchFolder scratch{L"WiraxSharedPage"};
};

TEST_F(SharedLibraryPageTest, NeitherOptionWritesZerosAndOsAndInstallsBothFeaturesLocally)
{
    SetMain(L"SHAREDSUPPORT", L"0");
    SetMain(L"SHAREDSYMBOL", L"0");
    ASSERT_NE(Open(), nullptr);
    EXPECT_FALSE(Checked(IDC_SHARED_SUPPORT_CHECK));
    EXPECT_FALSE(Enabled(IDC_SHARED_SUPPORT_EDIT));
    EXPECT_FALSE(Enabled(IDC_SHARED_SYMBOL_BROWSE));
    EXPECT_EQ(GetFocus(), Control(IDC_SHARED_SYMBOL_CHECK));
    host.setup.Journal().Clear();
    ASSERT_TRUE(page->Commit());
    EXPECT_EQ(WrittenNames(), (std::vector<std::wstring>{L"SHAREDSUPPORT", L"NETSHAREDSUPPORTPATH", L"SHAREDSYMBOL",
                                                         L"NETSHAREDSYMLIBPATH", L"NETSHAREDPATH"}));
    EXPECT_EQ(MainProperty(L"SHAREDSUPPORT"), L"0");
    EXPECT_EQ(MainProperty(L"SHAREDSYMBOL"), L"0");
    EXPECT_EQ(MainProperty(L"NETSHAREDSUPPORTPATH"), L"o");
    EXPECT_EQ(MainProperty(L"NETSHAREDSYMLIBPATH"), L"o");
    EXPECT_EQ(MainProperty(L"NETSHAREDPATH"), L"o");
    EXPECT_EQ(data->Action(), 3);
    EXPECT_EQ(symbols->Action(), 3);
    EXPECT_EQ(ActionWrites(L"WXDATA"), 1);
    EXPECT_EQ(ActionWrites(L"WXSYMBOLS"), 1);
}

TEST_F(SharedLibraryPageTest, AnOStartsAtTheDeploymentFolderAndAClickWritesAndTellsAtOnce)
{
    SetMain(L"NETSHAREDSUPPORTPATH", L"o");
    SetMain(L"NETSHAREDSYMLIBPATH", L"\\\\depot\\symbols\\");
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(Text(IDC_SHARED_SUPPORT_EDIT), L"\\\\depot\\deployments\\Wirax\\");
    EXPECT_EQ(Text(IDC_SHARED_SYMBOL_EDIT), L"\\\\depot\\symbols\\");

    Press(IDC_SHARED_SUPPORT_CHECK);
    EXPECT_TRUE(Enabled(IDC_SHARED_SUPPORT_EDIT));
    EXPECT_TRUE(Enabled(IDC_SHARED_SUPPORT_BROWSE));
    EXPECT_EQ(MainProperty(L"SHAREDSUPPORT"), L"1");
    Press(IDC_SHARED_SYMBOL_CHECK);
    Press(IDC_SHARED_SYMBOL_CHECK);
    EXPECT_EQ(Writes(L"SHAREDSYMBOL"), (std::vector<std::wstring>{L"1", L"0"}));
    EXPECT_FALSE(Enabled(IDC_SHARED_SYMBOL_EDIT));
    EXPECT_EQ(panel.copiedNames, (std::vector<std::wstring>{L"SHAREDSUPPORT", L"SHAREDSYMBOL", L"SHAREDSYMBOL"}));
}

TEST_F(SharedLibraryPageTest, BothFoldersAreStoredUnquotedWithABackslashAndJoined)
{
    SetMain(L"SHAREDSUPPORT", L"1");
    SetMain(L"SHAREDSYMBOL", L"1");
    ASSERT_NE(Open(), nullptr);
    Type(IDC_SHARED_SUPPORT_EDIT, L"\"" + (scratch / L"Support") + L"\"");
    Type(IDC_SHARED_SYMBOL_EDIT, L"  " + (scratch / L"Deep\\Symbols") + L" ");
    ASSERT_TRUE(page->Commit());
    const std::wstring support = scratch / L"Support\\";
    const std::wstring symbolFolder = scratch / L"Deep\\Symbols\\";
    EXPECT_EQ(MainProperty(L"NETSHAREDSUPPORTPATH"), support);
    EXPECT_EQ(MainProperty(L"NETSHAREDSYMLIBPATH"), symbolFolder);
    EXPECT_EQ(MainProperty(L"NETSHAREDPATH"), support + L";" + symbolFolder);
    EXPECT_EQ(MainProperty(L"SHAREDSUPPORT"), L"1");
    EXPECT_EQ(data->Action(), 0);
    // The write test leaves nothing behind: neither its file nor the folders made for it.
    EXPECT_FALSE(Exists(scratch / L"Support"));
    EXPECT_FALSE(Exists(scratch / L"Deep"));
}

TEST_F(SharedLibraryPageTest, MalformedFoldersAreRefusedAsInvalidPaths)
{
    SetMain(L"SHAREDSUPPORT", L"1");
    ASSERT_NE(Open(), nullptr);
    for (const std::wstring& folder :
         {std::wstring(L"C:\\Data:Stream\\"), std::wstring(L"\\\\"), scratch / L" \\Data", scratch / L"a|b",
          std::wstring(L"Data\\Sub"), std::wstring(L"\\Data"), std::wstring(L"C:\\Data\\\\Sub")}) {
        host.setup.Journal().Clear();
        const auto seen = RefusalsOf(folder);
        ASSERT_EQ(seen.size(), 1u) << testsupport::Narrow(folder);
        EXPECT_NE(seen[0].text.find(L"The path is not valid"), std::wstring::npos) << testsupport::Narrow(folder);
        EXPECT_TRUE(WrittenNames().empty()) << testsupport::Narrow(folder);
    }
}

TEST_F(SharedLibraryPageTest, AFolderThatCannotBeWrittenIsNamedAndOneThatCannotBeMadeIsSaidSo)
{
    SetMain(L"SHAREDSUPPORT", L"1");
    ASSERT_NE(Open(), nullptr);
    auto seen = RefusalsOf(L"Z:\\sys\\kernel");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].text.find(L"The folder Z:\\sys\\kernel\\ cannot be written"), std::wstring::npos)
        << testsupport::Narrow(seen[0].text);
    seen = RefusalsOf(L"Z:\\sys\\WiraxShared\\Deep");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].text.find(L"cannot be created"), std::wstring::npos) << testsupport::Narrow(seen[0].text);
    // Blanks alone are refused without a word.
    seen = RefusalsOf(L"   ");
    EXPECT_TRUE(seen.empty());
}

TEST_F(SharedLibraryPageTest, ARefusedSymbolFolderLeavesTheSupportPropertiesWritten)
{
    SetMain(L"SHAREDSUPPORT", L"1");
    SetMain(L"SHAREDSYMBOL", L"1");
    ASSERT_NE(Open(), nullptr);
    Type(IDC_SHARED_SUPPORT_EDIT, scratch.Path());
    Type(IDC_SHARED_SYMBOL_EDIT, L"Symbols");
    std::vector<hostkit::SeenDialog> seen;
    EXPECT_FALSE(CommitAnswering(IDOK, &seen));
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(GetFocus(), Control(IDC_SHARED_SYMBOL_EDIT));
    EXPECT_EQ(MainProperty(L"NETSHAREDSUPPORTPATH"), scratch.Path() + L"\\");
    EXPECT_FALSE(main->HasProperty(L"NETSHAREDSYMLIBPATH"));
    EXPECT_FALSE(main->HasProperty(L"NETSHAREDPATH"));
}

TEST_F(SharedLibraryPageTest, ACancelledBrowserLeavesTheFolderAsItWas)
{
    SetMain(L"SHAREDSUPPORT", L"1");
    SetMain(L"NETSHAREDSUPPORTPATH", L"\\\\fileserver\\wirax\\support\\");
    ASSERT_NE(Open(), nullptr);
    {
        hostkit::DialogAnswerer answerer({}, IDCANCEL);
        Press(IDC_SHARED_SUPPORT_BROWSE);
        EXPECT_EQ(answerer.Seen().size(), 1u);
    }
    EXPECT_EQ(Text(IDC_SHARED_SUPPORT_EDIT), L"\\\\fileserver\\wirax\\support\\");
    SetMain(L"SHAREDSYMBOL", L"0");
    Type(IDC_SHARED_SUPPORT_EDIT, scratch.Path());
    ASSERT_TRUE(page->Commit());
    EXPECT_EQ(MainProperty(L"NETSHAREDSUPPORTPATH"), scratch.Path() + L"\\");
}

TEST_F(SharedLibraryPageTest, NothingOverlapsNoTextIsCutAndTabReachesEveryControl)
{
    SetMain(L"SHAREDSUPPORT", L"1");
    ASSERT_NE(Open(), nullptr);
    EXPECT_TRUE(LayoutProblems(Window()).empty()) << JoinProblems(LayoutProblems(Window()));
    EXPECT_TRUE(TabOrderProblems(Window()).empty()) << JoinProblems(TabOrderProblems(Window()));
}

}  // namespace
}  // namespace pagetest
