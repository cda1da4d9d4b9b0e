// The SQL Server configuration page, created through its export and worked through its controls.
#include "PageHost.h"
#include "PageLayoutChecks.h"

#include "DialogAnswerer.h"
#include "pages/sqlserver/SqlNames.h"

#include <WiraxUIRes.h>

namespace pagetest {
namespace {

using testsupport::Narrow;

class SQLServerPageTest : public PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        // The host opens the page for another product; the page works on "WIRAX_MAIN" all the same.
        CProduct* other = host.Add(L"WIRAX_LP");
        host.record[PageRecord::kProduct] = reinterpret_cast<uintptr_t>(other);
        host.record[PageRecord::kParentWindow] = reinterpret_cast<uintptr_t>(panel.Handle());
    }
    void TearDown() override
    {
        if (page)
            page->Destroy();
        page = nullptr;
        PageTest::TearDown();
    }

    IConfigPage* Open()
    {
        auto* create = plugin.Export<ConfigPageExport>("SQLServerConfigPage");
        page = create ? create(host.record.data()) : nullptr;
        return page;
    }
    HWND Window() const { return page->GetWindow(); }
    HWND Control(int id) const { return GetDlgItem(page->GetWindow(), id); }
    bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
    bool Checked(int id) const { return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Click(int id) const { SendMessageW(Control(id), BM_CLICK, 0, 0); }
    void Type(int id, const std::wstring& text) const { SetWindowTextW(Control(id), text.c_str()); }
    // A filled-in configuration with SQL Server on.
    void SeedConfiguration()
    {
        main->SeedProperty(L"WRXSQLCONFIG", L"1");
        main->SeedProperty(L"WRXSQLSERVERPATH", L"dbhost\\WIRAX");
        main->SeedProperty(L"WRXSQLAUTHMODE", L"1");
        main->SeedProperty(L"WRXSQLDBCATALOG", L"WiraxCatalog");
        main->SeedProperty(L"WRXSQLDBFOOTPRINT", L"WiraxFootprint");
    }
    size_t Events() const { return host.setup.Journal().Events().size(); }

    static constexpr int kDetails[] = {IDC_SQL_SERVER, IDC_SQL_WINDOWS_AUTH, IDC_SQL_SERVER_AUTH, IDC_SQL_CATALOG_DB,
                                       IDC_SQL_FOOTPRINT_DB};
    HostPanel panel;
    IConfigPage* page = nullptr;
};

TEST_F(SQLServerPageTest, StartShowsTheMainProductsSettings)
{
    SeedConfiguration();
    ASSERT_NE(Open(), nullptr);
    wchar_t text[256] = L"";
    GetWindowTextW(Control(IDC_SQL_SERVER), text, 256);
    EXPECT_STREQ(text, L"dbhost\\WIRAX");
    GetWindowTextW(Control(IDC_SQL_CATALOG_DB), text, 256);
    EXPECT_STREQ(text, L"WiraxCatalog");
    GetWindowTextW(Control(IDC_SQL_FOOTPRINT_DB), text, 256);
    EXPECT_STREQ(text, L"WiraxFootprint");
    EXPECT_TRUE(Checked(IDC_SQL_ENABLE));
    EXPECT_TRUE(Checked(IDC_SQL_SERVER_AUTH));
    EXPECT_FALSE(Checked(IDC_SQL_WINDOWS_AUTH));
    for (int id : kDetails)
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_EQ(GetFocus(), Control(IDC_SQL_ENABLE));
    // Showing the settings wrote nothing.
    EXPECT_EQ(Events(), 0u);
}

TEST_F(SQLServerPageTest, SqlOffDisablesTheDetailsAndApplyWritesNothing)
{
    main->SeedProperty(L"WRXSQLCONFIG", L"0");
    main->SeedProperty(L"WRXSQLAUTHMODE", L"7");
    ASSERT_NE(Open(), nullptr);
    EXPECT_FALSE(Checked(IDC_SQL_ENABLE));
    EXPECT_TRUE(Checked(IDC_SQL_WINDOWS_AUTH));
    for (int id : kDetails)
        EXPECT_FALSE(Enabled(id)) << id;
    Type(IDC_SQL_SERVER, L"C:\\");
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(Events(), 0u);
    EXPECT_EQ(MainProperty(L"WRXSQLCONFIG"), L"0");
}

TEST_F(SQLServerPageTest, WithoutTheMainProductTheFieldsStayEmptyAndApplyWritesNothing)
{
    host.setup.Journal().Clear();
    testsupport::HostInstallation bare;
    CProduct* other = bare.Add(L"WRXFWLADDIN");
    bare.record[PageRecord::kProduct] = reinterpret_cast<uintptr_t>(other);
    bare.record[PageRecord::kParentWindow] = reinterpret_cast<uintptr_t>(panel.Handle());
    auto* create = plugin.Export<ConfigPageExport>("SQLServerConfigPage");
    page = create(bare.record.data());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(GetWindowTextLengthW(Control(IDC_SQL_SERVER)), 0);
    Click(IDC_SQL_ENABLE);
    Type(IDC_SQL_SERVER, L"");
    EXPECT_TRUE(page->Commit());
    EXPECT_TRUE(bare.setup.Journal().Events().empty());
    EXPECT_TRUE(other->Properties().empty());
}

TEST_F(SQLServerPageTest, ClicksWriteTheirPropertyAndTellTheHostWhichTheControlsFollow)
{
    main->SeedProperty(L"WRXSQLCONFIG", L"0");
    ASSERT_NE(Open(), nullptr);
    Click(IDC_SQL_ENABLE);
    EXPECT_EQ(MainProperty(L"WRXSQLCONFIG"), L"1");
    ASSERT_EQ(panel.copiedNames, std::vector<std::wstring>{L"WRXSQLCONFIG"});
    // The details follow once the host passes the change on.
    EXPECT_FALSE(Enabled(IDC_SQL_SERVER));
    page->OnPropertyChanged(L"wrxsqlconfig");
    for (int id : kDetails)
        EXPECT_TRUE(Enabled(id)) << id;

    Click(IDC_SQL_SERVER_AUTH);
    EXPECT_EQ(MainProperty(L"WRXSQLAUTHMODE"), L"1");
    Click(IDC_SQL_WINDOWS_AUTH);
    EXPECT_EQ(MainProperty(L"WRXSQLAUTHMODE"), L"0");
    EXPECT_EQ(panel.copiedNames.size(), 3u);
    EXPECT_EQ(panel.copiedNames.back(), L"WRXSQLAUTHMODE");

    // The host changed the mode: the radio buttons follow.
    main->SeedProperty(L"WRXSQLAUTHMODE", L"1");
    page->OnPropertyChanged(L"WRXSQLAUTHMODE");
    EXPECT_TRUE(Checked(IDC_SQL_SERVER_AUTH));
    EXPECT_FALSE(Checked(IDC_SQL_WINDOWS_AUTH));

    Click(IDC_SQL_ENABLE);
    EXPECT_EQ(MainProperty(L"WRXSQLCONFIG"), L"0");
    page->OnPropertyChanged(L"WRXSQLCONFIG");
    EXPECT_FALSE(Enabled(IDC_SQL_CATALOG_DB));
}

TEST_F(SQLServerPageTest, ValidSettingsAreWrittenWithTheServerUnquoted)
{
    SeedConfiguration();
    ASSERT_NE(Open(), nullptr);
    Type(IDC_SQL_SERVER, L"\"db host\\SQLEXPRESS\"");
    Type(IDC_SQL_CATALOG_DB, L"Catalog 2027");
    Type(IDC_SQL_FOOTPRINT_DB, L"Footprints");
    SendMessageW(Control(IDC_SQL_WINDOWS_AUTH), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(Control(IDC_SQL_SERVER_AUTH), BM_SETCHECK, BST_UNCHECKED, 0);
    ASSERT_TRUE(page->Commit());
    EXPECT_EQ(MainProperty(L"WRXSQLSERVERPATH"), L"db host\\SQLEXPRESS");
    EXPECT_EQ(MainProperty(L"WRXSQLAUTHMODE"), L"0");
    EXPECT_EQ(MainProperty(L"WRXSQLDBCATALOG"), L"Catalog 2027");
    EXPECT_EQ(MainProperty(L"WRXSQLDBFOOTPRINT"), L"Footprints");
    EXPECT_EQ(MainProperty(L"WRXSQLCONFIG"), L"1");
}

TEST_F(SQLServerPageTest, AnEmptyServerAnsweredYesSwitchesSqlOffAndApplies)
{
    SeedConfiguration();
    ASSERT_NE(Open(), nullptr);
    Type(IDC_SQL_SERVER, L"");
    hostkit::DialogAnswerer answerer({L"Wirax Setup"}, IDYES);
    EXPECT_TRUE(page->Commit());
    ASSERT_TRUE(answerer.WaitFor(1, 5000));
    const std::wstring text = answerer.Seen()[0].text;
    EXPECT_NE(text.find(L"The SQL Server name is not valid."), std::wstring::npos) << Narrow(text);
    EXPECT_NE(text.find(L"Do you want to go on without the SQL Server configuration?"), std::wstring::npos);
    EXPECT_EQ(MainProperty(L"WRXSQLCONFIG"), L"0");
    EXPECT_EQ(MainProperty(L"WRXSQLSERVERPATH"), L"dbhost\\WIRAX");
    // Nothing else was written, and the page shows SQL Server off.
    size_t writes = 0;
    for (const HostEvent& event : host.setup.Journal().Events())
        writes += event.kind == HostEvent::Kind::PropertySet;
    EXPECT_EQ(writes, 1u);
    EXPECT_FALSE(Checked(IDC_SQL_ENABLE));
    EXPECT_FALSE(Enabled(IDC_SQL_SERVER));
    // A second apply has nothing left to ask.
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(answerer.Seen().size(), 1u);
}

TEST_F(SQLServerPageTest, AnsweredNoTheApplyFailsWithTheFieldFocused)
{
    SeedConfiguration();
    ASSERT_NE(Open(), nullptr);
    Type(IDC_SQL_SERVER, L"a:b\\c");
    hostkit::DialogAnswerer answerer({L"Wirax Setup"}, IDNO);
    EXPECT_FALSE(page->Commit());
    ASSERT_TRUE(answerer.WaitFor(1, 5000));
    EXPECT_EQ(GetFocus(), Control(IDC_SQL_SERVER));
    EXPECT_EQ(MainProperty(L"WRXSQLCONFIG"), L"1");
    EXPECT_EQ(MainProperty(L"WRXSQLSERVERPATH"), L"dbhost\\WIRAX");
}

TEST_F(SQLServerPageTest, ADatabaseNameWithAColonOrBackslashAsksAboutThatField)
{
    SeedConfiguration();
    ASSERT_NE(Open(), nullptr);
    Type(IDC_SQL_SERVER, L"newhost\\");
    Type(IDC_SQL_CATALOG_DB, L"C:Catalog");
    hostkit::DialogAnswerer answerer({L"Wirax Setup"}, IDNO);
    EXPECT_FALSE(page->Commit());
    ASSERT_TRUE(answerer.WaitFor(1, 5000));
    EXPECT_NE(answerer.Seen()[0].text.find(L"The catalog database name is not valid."), std::wstring::npos)
        << Narrow(answerer.Seen()[0].text);
    EXPECT_EQ(GetFocus(), Control(IDC_SQL_CATALOG_DB));
    // The server came before the refused field and is written already.
    EXPECT_EQ(MainProperty(L"WRXSQLSERVERPATH"), L"newhost\\");
    EXPECT_EQ(MainProperty(L"WRXSQLDBCATALOG"), L"WiraxCatalog");

    Type(IDC_SQL_CATALOG_DB, L"Catalog");
    Type(IDC_SQL_FOOTPRINT_DB, L"Foot\\prints");
    EXPECT_FALSE(page->Commit());
    ASSERT_TRUE(answerer.WaitFor(2, 5000));
    EXPECT_NE(answerer.Seen()[1].text.find(L"The footprint database name is not valid."), std::wstring::npos);
    EXPECT_EQ(MainProperty(L"WRXSQLDBCATALOG"), L"Catalog");
    EXPECT_EQ(MainProperty(L"WRXSQLDBFOOTPRINT"), L"WiraxFootprint");
}

TEST(SqlNames, ServerNames)
{
    for (const wchar_t* good : {L"host", L"host\\instance", L"host\\", L"10.0.0.5\\SQLEXPRESS", L"a\\b\\c"})
        EXPECT_TRUE(wiraxui::IsValidSqlServerName(good)) << Narrow(good);
    for (const wchar_t* bad : {L"", L"C:\\", L"a:b\\c", L"host\\in:stance", L"host:1433", L"\\", L"\\\\"})
        EXPECT_FALSE(wiraxui::IsValidSqlServerName(bad)) << Narrow(bad);
}

TEST(SqlNames, DatabaseNames)
{
    EXPECT_TRUE(wiraxui::IsValidSqlDatabaseName(L"Wirax Catalog"));
    for (const wchar_t* bad : {L"", L"a:b", L"a\\b"})
        EXPECT_FALSE(wiraxui::IsValidSqlDatabaseName(bad)) << Narrow(bad);
}

TEST_F(SQLServerPageTest, NothingOverlapsNoTextIsCutAndTabReachesEveryControl)
{
    SeedConfiguration();
    ASSERT_NE(Open(), nullptr);
    // The checks look at what the user sees: the host shows its panel with the page.
    ShowWindow(panel.Handle(), SW_SHOW);
    ShowWindow(Window(), SW_SHOW);
    EXPECT_TRUE(LayoutProblems(Window()).empty()) << JoinProblems(LayoutProblems(Window()));
    EXPECT_TRUE(TabOrderProblems(Window()).empty()) << JoinProblems(TabOrderProblems(Window()));
}

}  // namespace
}  // namespace pagetest
