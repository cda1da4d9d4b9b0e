// The database unit's statements on real packages: each table's rows written by the unit are
// read back with the installer's own queries.
#include "MsiDatabaseTestSupport.h"

#include "util/msidb/DirectoryData.h"
#include "util/msidb/MsiDatabase.h"
#include "util/msidb/PropertyData.h"
#include "util/msidb/TableRows.h"

#include <algorithm>

namespace msidbtest {
namespace {

using namespace wiraxui::msidb;

class MsiTableTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(database.Open(package.Path(), true)) << "open"; }

    MSIHANDLE Db() const { return database.Handle(); }
    std::vector<Row> Select(const std::wstring& query) const { return Rows(Db(), query); }

    ScratchPackage package;
    CMsiDatabase database;
};

std::string Say(const MsiResult& result) { return Narrow(result.message); }

TEST(MsiStatementTest, QuotedPlacesRefuseQuotesAndOtherPlacesTakeOnlyWhatFitsThem)
{
    std::wstring statement = L"unchanged";
    EXPECT_TRUE(FormatStatement(L"A '%s' %d `%s` (%s)", {L"x y\\z", 7, L"Tab_1.b", StatementArg::Markers(3)}, statement));
    EXPECT_EQ(statement, L"A 'x y\\z' 7 `Tab_1.b` (?, ?, ?)");

    const MsiResult quote = FormatStatement(L"WHERE `P`='%s'", {L"a' OR '1'='1"}, statement);
    EXPECT_EQ(quote.code, static_cast<UINT>(ERROR_INVALID_DATA));
    EXPECT_NE(quote.message.find(L"would end its quotes"), std::wstring::npos);
    EXPECT_TRUE(statement.empty());

    EXPECT_FALSE(FormatStatement(L"'%s'", {std::wstring(L"a\0b", 3)}, statement));
    EXPECT_FALSE(FormatStatement(L"FROM `%s`", {L"Property` WHERE 1"}, statement));
    EXPECT_FALSE(FormatStatement(L"FROM `%s`", {L""}, statement));
    EXPECT_FALSE(FormatStatement(L"VALUES( %s )", {L"'a','b'"}, statement)) << "raw text in an unquoted place";
    EXPECT_FALSE(FormatStatement(L"'%d'", {L"7"}, statement));
    EXPECT_FALSE(FormatStatement(L"'%s','%s'", {L"one"}, statement));
    EXPECT_FALSE(FormatStatement(L"'%s'", {L"one", L"two"}, statement));
}

TEST_F(MsiTableTest, ComponentInsertUpdateDeleteAndWholeRows)
{
    ComponentData component;
    component.component = L"Libs";
    component.componentId = L"{11111111-2222-3333-4444-555555555555}";
    component.directory = L"LIBSDIR";
    component.attributes = 4;
    component.condition = L"VersionNT64 > 600";
    component.keyPath = L"SymLib.ini";
    ASSERT_TRUE(component.Insert(Db())) << Say(component.Insert(Db()));
    const wchar_t* query = L"SELECT * FROM `Component` WHERE `Component`='Libs'";
    EXPECT_EQ(Select(query), (std::vector<Row>{{L"Libs", component.componentId, L"LIBSDIR", L"4", L"VersionNT64 > 600", L"SymLib.ini"}}));

    component.directory = L"OTHERDIR";
    component.attributes = 0;
    component.condition = L"";
    ASSERT_TRUE(component.Update(Db()));
    EXPECT_EQ(Select(query), (std::vector<Row>{{L"Libs", component.componentId, L"OTHERDIR", L"0", L"", L"SymLib.ini"}}));

    ASSERT_TRUE(component.Delete(Db()));
    EXPECT_TRUE(Select(query).empty());

    ASSERT_TRUE(InsertValues(Db(), ValuesTable::Component,
                             {MsiValue::Text(L"It's"), MsiValue::Text(L"{A}"), MsiValue::Text(L"D"), MsiValue::Number(8),
                              MsiValue::Null(), MsiValue::Text(L"K")}));
    EXPECT_EQ(Select(L"SELECT * FROM `Component`"), (std::vector<Row>{{L"It's", L"{A}", L"D", L"8", L"", L"K"}}));
    EXPECT_FALSE(InsertValues(Db(), ValuesTable::Component, {MsiValue::Text(L"short")}));
}

TEST_F(MsiTableTest, CreateFolderAndFeatureComponentsPairs)
{
    CreateFolderData folder;
    folder.directory = L"LIBSDIR";
    folder.component = L"Libs";
    ASSERT_TRUE(folder.Insert(Db()));
    EXPECT_EQ(Select(L"SELECT * FROM `CreateFolder`"), (std::vector<Row>{{L"LIBSDIR", L"Libs"}}));
    ASSERT_TRUE(folder.Delete(Db()));
    EXPECT_TRUE(Select(L"SELECT * FROM `CreateFolder`").empty());
    EXPECT_EQ(folder.Update(Db()).code, static_cast<UINT>(ERROR_CALL_NOT_IMPLEMENTED));

    FeatureComponentsData link;
    link.feature = L"Complete";
    link.component = L"Libs";
    ASSERT_TRUE(link.Insert(Db()));
    ASSERT_TRUE(InsertValues(Db(), ValuesTable::FeatureComponents, {MsiValue::Text(L"Complete"), MsiValue::Text(L"Docs")}));
    auto pairs = Select(L"SELECT * FROM `FeatureComponents`");
    std::sort(pairs.begin(), pairs.end());
    EXPECT_EQ(pairs, (std::vector<Row>{{L"Complete", L"Docs"}, {L"Complete", L"Libs"}}));
    ASSERT_TRUE(link.Delete(Db()));
    EXPECT_EQ(Select(L"SELECT * FROM `FeatureComponents`"), (std::vector<Row>{{L"Complete", L"Docs"}}));
}

TEST_F(MsiTableTest, FeatureInsertUpdateAndWholeRow)
{
    FeatureData feature;
    feature.feature = L"Symbols";
    feature.parent = L"Complete";
    feature.title = L"Symbol libraries";
    feature.description = L"IEC and JIC symbols";
    feature.display = 3;
    feature.level = 1;
    feature.directory = L"LIBSDIR";
    feature.attributes = 16;
    ASSERT_TRUE(feature.Insert(Db())) << Say(feature.Insert(Db()));
    const wchar_t* query = L"SELECT * FROM `Feature` WHERE `Feature`='Symbols'";
    EXPECT_EQ(Select(query),
              (std::vector<Row>{{L"Symbols", L"Complete", L"Symbol libraries", L"IEC and JIC symbols", L"3", L"1", L"LIBSDIR", L"16"}}));

    feature.title = L"Symbole";
    feature.level = 200;
    feature.attributes = 0;
    ASSERT_TRUE(feature.Update(Db())) << Say(feature.Update(Db()));
    EXPECT_EQ(Select(query),
              (std::vector<Row>{{L"Symbols", L"Complete", L"Symbole", L"IEC and JIC symbols", L"3", L"200", L"LIBSDIR", L"0"}}));
    EXPECT_EQ(feature.Delete(Db()).code, static_cast<UINT>(ERROR_CALL_NOT_IMPLEMENTED));

    ASSERT_TRUE(InsertValues(Db(), ValuesTable::Feature,
                             {MsiValue::Text(L"Extra"), MsiValue::Null(), MsiValue::Text(L"O'Neil's \"extra\""),
                              MsiValue::Null(), MsiValue::Number(0), MsiValue::Number(4), MsiValue::Null(), MsiValue::Number(0)}));
    EXPECT_EQ(Select(L"SELECT `Title`, `Level` FROM `Feature` WHERE `Feature`='Extra'"),
              (std::vector<Row>{{L"O'Neil's \"extra\"", L"4"}}));
}

TEST_F(MsiTableTest, FileAndShortcutBindTheirNames)
{
    FileData file;
    file.file = L"symlib.ini";
    file.component = L"Libs";
    file.fileName = L"SYMLIB~1.INI|Sym'Lib.ini";
    file.fileSize = 512;
    file.version = L"";
    file.language = L"1033";
    file.attributes = 512;
    file.sequence = 3;
    ASSERT_TRUE(file.Insert(Db())) << Say(file.Insert(Db()));
    EXPECT_EQ(Select(L"SELECT * FROM `File`"),
              (std::vector<Row>{{L"symlib.ini", L"Libs", L"SYMLIB~1.INI|Sym'Lib.ini", L"512", L"", L"1033", L"512", L"3"}}));
    ASSERT_TRUE(file.Delete(Db()));
    EXPECT_TRUE(Select(L"SELECT * FROM `File`").empty());

    ShortcutData shortcut;
    shortcut.shortcut = L"WiraxStart";
    shortcut.directory = L"ProgramMenuFolder";
    shortcut.name = L"WIRAX|Wirax 'Electrical'";
    shortcut.component = L"Main";
    shortcut.target = L"[#wirax.exe]";
    shortcut.arguments = L"/nologo";
    shortcut.description = L"Starts Wirax";
    shortcut.icon = L"WiraxIcon";
    shortcut.workingDirectory = L"INSTALLDIR";
    ASSERT_TRUE(shortcut.Insert(Db())) << Say(shortcut.Insert(Db()));
    const wchar_t* query = L"SELECT * FROM `Shortcut`";
    EXPECT_EQ(Select(query), (std::vector<Row>{{L"WiraxStart", L"ProgramMenuFolder", L"WIRAX|Wirax 'Electrical'", L"Main",
                                                 L"[#wirax.exe]", L"/nologo", L"Starts Wirax", L"", L"WiraxIcon", L"", L"",
                                                 L"INSTALLDIR"}}));
    shortcut.name = L"Wirax";
    shortcut.arguments = L"/safe";
    ASSERT_TRUE(shortcut.Update(Db()));
    EXPECT_EQ(Select(L"SELECT `Name`, `Arguments`, `Description` FROM `Shortcut`"),
              (std::vector<Row>{{L"Wirax", L"/safe", L"Starts Wirax"}}));
    ASSERT_TRUE(shortcut.Delete(Db()));
    EXPECT_TRUE(Select(query).empty());
}

TEST_F(MsiTableTest, MediaRowsAreFoundByNumber)
{
    MediaData media;
    media.diskId = 2;
    media.lastSequence = 40;
    media.diskPrompt = L"Disk 2";
    media.volumeLabel = L"WIRAX2";
    media.source = L"";
    ASSERT_TRUE(media.Insert(Db())) << Say(media.Insert(Db()));
    EXPECT_EQ(Select(L"SELECT * FROM `Media`"), (std::vector<Row>{{L"2", L"40", L"Disk 2", L"", L"WIRAX2", L""}}));
    media.lastSequence = 90;
    media.volumeLabel = L"WIRAX2B";
    ASSERT_TRUE(media.Update(Db()));
    EXPECT_EQ(Select(L"SELECT * FROM `Media`"), (std::vector<Row>{{L"2", L"90", L"Disk 2", L"", L"WIRAX2B", L""}}));
    ASSERT_TRUE(media.Delete(Db()));
    EXPECT_TRUE(Select(L"SELECT * FROM `Media`").empty());
}

TEST_F(MsiTableTest, CustomFileCustomActionAndSequenceRows)
{
    CustomFileData custom;
    custom.sourceFileName = L"C:\\Build\\Libs\\Sym'Lib.ini";
    custom.component = L"Libs";
    custom.flags = 2;
    ASSERT_TRUE(custom.Insert(Db())) << Say(custom.Insert(Db()));
    custom.sourceFileName = L"C:\\Build\\Libs\\SymLib2.ini";
    custom.flags = 5;
    ASSERT_TRUE(custom.Update(Db())) << Say(custom.Update(Db()));
    EXPECT_EQ(Select(L"SELECT `SourceFileName`, `Component_`, `Flags` FROM `TrvnCustomFile`"),
              (std::vector<Row>{{L"C:\\Build\\Libs\\SymLib2.ini", L"Libs", L"5"}}));
    ASSERT_TRUE(custom.Delete(Db()));
    EXPECT_TRUE(Select(L"SELECT * FROM `TrvnCustomFile`").empty());

    CustomActionData action;
    action.action = L"SetLibs";
    action.type = 51;
    action.source = L"WXLIBSFOLDER";
    action.target = L"[WXSYMLIBFOLDER]Libs\\";
    ASSERT_TRUE(action.Insert(Db())) << Say(action.Insert(Db()));
    action.type = 35;
    action.target = L"[INSTALLDIR]";
    ASSERT_TRUE(action.Update(Db())) << Say(action.Update(Db()));
    EXPECT_EQ(Select(L"SELECT * FROM `CustomAction`"), (std::vector<Row>{{L"SetLibs", L"35", L"WXLIBSFOLDER", L"[INSTALLDIR]"}}));
    ASSERT_TRUE(action.Delete(Db()));
    EXPECT_TRUE(Select(L"SELECT * FROM `CustomAction`").empty());

    ExecuteSequenceData step;
    step.action = L"SetLibs";
    step.condition = L"NOT Installed";
    step.sequence = 1010;
    ASSERT_TRUE(step.Insert(Db())) << Say(step.Insert(Db()));
    step.condition = L"REMOVE <> \"ALL\"";
    step.sequence = 1020;
    ASSERT_TRUE(step.Update(Db())) << Say(step.Update(Db()));
    EXPECT_EQ(Select(L"SELECT * FROM `InstallExecuteSequence`"), (std::vector<Row>{{L"SetLibs", L"REMOVE <> \"ALL\"", L"1020"}}));
    ASSERT_TRUE(step.Delete(Db()));
    EXPECT_TRUE(Select(L"SELECT * FROM `InstallExecuteSequence`").empty());
}

TEST_F(MsiTableTest, RegistryRowsAndTheirUninstallStrings)
{
    RegistryData uninstall;
    uninstall.registry = L"Uninstall";
    uninstall.root = 2;
    uninstall.key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\[ProductCode]";
    uninstall.name = L"UninstallString";
    uninstall.value = L"msiexec /x [ProductCode] /qb \"'quoted'\"";
    uninstall.component = L"Main";
    ASSERT_TRUE(uninstall.Insert(Db())) << Say(uninstall.Insert(Db()));
    ASSERT_TRUE(InsertValues(Db(), ValuesTable::Registry,
                             {MsiValue::Text(L"Shared"), MsiValue::Number(2), MsiValue::Text(L"Software\\Tarvena"),
                              MsiValue::Text(L"SharedSymbol"), MsiValue::Text(L"#1"), MsiValue::Text(L"Libs")}));
    EXPECT_EQ(Select(L"SELECT `Value` FROM `Registry` WHERE `Registry`='Uninstall'"),
              (std::vector<Row>{{L"msiexec /x [ProductCode] /qb \"'quoted'\""}}));

    std::vector<std::pair<std::wstring, std::wstring>> rows;
    ASSERT_TRUE(RegistryData::UninstallStringKeys(Db(), rows));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].first, uninstall.key);
    EXPECT_EQ(rows[0].second, L"Main");
    EXPECT_EQ(uninstall.Delete(Db()).code, static_cast<UINT>(ERROR_CALL_NOT_IMPLEMENTED));
}

TEST_F(MsiTableTest, DirectoryRowsReadBackByKey)
{
    DirectoryData directory;
    directory.directory = L"LIBSDIR";
    directory.parent = L"WIRAXDIR";
    directory.defaultDir = L"LIBS~1|Symbol Libs";
    ASSERT_TRUE(directory.Insert(Db())) << Say(directory.Insert(Db()));

    DirectoryData read;
    ASSERT_TRUE(read.Read(Db(), L"LIBSDIR"));
    EXPECT_EQ(read.directory, L"LIBSDIR");
    EXPECT_EQ(read.parent, L"WIRAXDIR");
    EXPECT_EQ(read.defaultDir, L"LIBS~1|Symbol Libs");
    EXPECT_EQ(read.TargetName(), L"Symbol Libs");

    directory.parent = L"TARGETDIR";
    directory.defaultDir = L"Libs:Source";
    ASSERT_TRUE(directory.Update(Db()));
    ASSERT_TRUE(read.Read(Db(), L"LIBSDIR"));
    EXPECT_EQ(read.parent, L"TARGETDIR");
    EXPECT_EQ(read.TargetName(), L"Libs");

    ASSERT_TRUE(directory.Delete(Db()));
    EXPECT_EQ(read.Read(Db(), L"LIBSDIR").code, static_cast<UINT>(ERROR_NOT_FOUND));
}

TEST_F(MsiTableTest, AValueThatWouldEndItsQuotesIsRefusedAndNothingIsWritten)
{
    ComponentData component;
    component.component = L"Libs";
    component.directory = L"LIBSDIR";
    component.keyPath = L"SymLib.ini";
    ASSERT_TRUE(component.Insert(Db()));
    const auto before = Select(L"SELECT * FROM `Component`");

    // Written as replace: the refusal comes before the old row is deleted.
    component.condition = L"1' OR `Component`<>'";
    const MsiResult replaced = component.Write(Db());
    EXPECT_EQ(replaced.code, static_cast<UINT>(ERROR_INVALID_DATA));
    EXPECT_EQ(component.Update(Db()).code, static_cast<UINT>(ERROR_INVALID_DATA));
    EXPECT_EQ(Select(L"SELECT * FROM `Component`"), before);

    ComponentData other;
    other.component = L"Libs' OR '1'='1";
    EXPECT_FALSE(other.Delete(Db()));
    EXPECT_EQ(Select(L"SELECT * FROM `Component`"), before);
}

}  // namespace
}  // namespace msidbtest
