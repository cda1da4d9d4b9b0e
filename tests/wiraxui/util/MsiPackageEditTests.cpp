// Properties, code pages and directory paths of real packages, through the unit and through its
// command-line front end.
#include "MsiDatabaseTestSupport.h"

#include "KernelHandle.h"

#include "util/msidb/DirectoryData.h"
#include "util/msidb/MsiDatabase.h"
#include "util/msidb/PropertyData.h"

#include <iterator>

namespace msidbtest {
namespace {

using namespace wiraxui::msidb;

class MsiPackageEditTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(database.Open(package.Path(), true)); }

    MSIHANDLE Db() const { return database.Handle(); }

    // The package as a fresh reader sees it on disk.
    std::vector<Row> Committed(const std::wstring& query) const
    {
        RawHandle reader;
        EXPECT_EQ(MsiOpenDatabaseW(package.Path().c_str(), MSIDBOPEN_READONLY, reader.Receive()), 0u);
        return Rows(reader.Get(), query);
    }

    void AddDirectory(const wchar_t* key, const wchar_t* parent, const wchar_t* defaultDir)
    {
        DirectoryData row;
        row.directory = key;
        row.parent = parent;
        row.defaultDir = defaultDir;
        ASSERT_TRUE(row.Insert(Db())) << Narrow(row.Insert(Db()).message);
    }

    ScratchPackage package;
    CMsiDatabase database;
};

TEST_F(MsiPackageEditTest, PropertyValuesWithQuotesBackslashesAndNonAsciiRoundTrip)
{
    // Strings live in the database's code page: Western European here.
    ASSERT_TRUE(ForceCodepage(Db(), 1252));
    const std::wstring value = L"C:\\Users\\Zoë\\'Wirax' \"2027\"\\ Ä € \\'";
    PropertyData property(L"WXSYMLIBFOLDER", value);
    ASSERT_TRUE(property.Write(Db())) << Narrow(property.Write(Db()).message);
    ASSERT_TRUE(database.Commit());
    database.Close();

    EXPECT_EQ(Committed(L"SELECT `Value` FROM `Property` WHERE `Property`='WXSYMLIBFOLDER'"), (std::vector<Row>{{value}}));
    ASSERT_TRUE(database.Open(package.Path(), false));
    PropertyData read;
    ASSERT_TRUE(read.Read(Db(), L"WXSYMLIBFOLDER"));
    EXPECT_EQ(read.value, value);
}

TEST_F(MsiPackageEditTest, AValueTheCodePageCannotHoldIsRefusedAndTheOldOneKept)
{
    ASSERT_TRUE(ForceCodepage(Db(), 1252));
    ASSERT_TRUE(PropertyData(L"ProductName", L"Wirax").Write(Db()));
    const MsiResult result = PropertyData(L"ProductName", L"電気 Ω").Write(Db());
    EXPECT_EQ(result.code, static_cast<UINT>(ERROR_NO_UNICODE_TRANSLATION)) << Narrow(result.message);
    EXPECT_EQ(Rows(Db(), L"SELECT `Property`, `Value` FROM `Property`"), (std::vector<Row>{{L"ProductName", L"Wirax"}}));

    // The same characters fit a Japanese database.
    ASSERT_TRUE(ForceCodepage(Db(), 932));
    const std::wstring japanese = L"電気設計 ＡＢＣ";
    ASSERT_TRUE(PropertyData(L"ProductName", japanese).Write(Db()));
    PropertyData read;
    ASSERT_TRUE(read.Read(Db(), L"ProductName"));
    EXPECT_EQ(read.value, japanese);
}

TEST_F(MsiPackageEditTest, WritingAPropertyReplacesItsRowAndAnEmptyValueRemovesIt)
{
    ASSERT_TRUE(PropertyData(L"DRAWINGSTANDARD", L"IEC").Write(Db()));
    ASSERT_TRUE(PropertyData(L"DRAWINGSTANDARD", L"JIC").Write(Db()));
    ASSERT_TRUE(PropertyData(L"SHAREDSYMBOL", L"1").Write(Db()));
    EXPECT_EQ(Rows(Db(), L"SELECT `Property`, `Value` FROM `Property` ORDER BY `Property`"),
              (std::vector<Row>{{L"DRAWINGSTANDARD", L"JIC"}, {L"SHAREDSYMBOL", L"1"}}));

    ASSERT_TRUE(PropertyData(L"SHAREDSYMBOL", L"").Write(Db()));
    PropertyData gone;
    EXPECT_EQ(gone.Read(Db(), L"SHAREDSYMBOL").code, static_cast<UINT>(ERROR_NOT_FOUND));
    EXPECT_EQ(Rows(Db(), L"SELECT `Property` FROM `Property`"), (std::vector<Row>{{L"DRAWINGSTANDARD"}}));
}

TEST_F(MsiPackageEditTest, AQuotedPropertyNameIsRefusedWithNothingWritten)
{
    ASSERT_TRUE(PropertyData(L"ProductName", L"Wirax").Write(Db()));
    ASSERT_TRUE(PropertyData(L"ALLUSERS", L"1").Write(Db()));
    const auto before = Rows(Db(), L"SELECT `Property`, `Value` FROM `Property` ORDER BY `Property`");

    for (const wchar_t* name : {L"ProductName' OR `Property`<>'", L"x'", L"'"}) {
        PropertyData hostile(name, L"changed");
        const MsiResult result = hostile.Write(Db());
        EXPECT_EQ(result.code, static_cast<UINT>(ERROR_INVALID_DATA)) << Narrow(name);
        EXPECT_NE(result.message.find(L"would end its quotes"), std::wstring::npos);
        EXPECT_FALSE(hostile.Read(Db(), name));
    }
    EXPECT_EQ(Rows(Db(), L"SELECT `Property`, `Value` FROM `Property` ORDER BY `Property`"), before);
}

TEST_F(MsiPackageEditTest, PropertiesOfAnotherTableAreReadByName)
{
    ASSERT_TRUE(RunStatement(Db(), L"INSERT INTO `MsiPatchMetadata` (`Company`, `Property`, `Value`) VALUES ('', 'DisplayName', 'Wirax 2027 Update 1')"));
    PropertyData name;
    name.table = L"MsiPatchMetadata";
    ASSERT_TRUE(name.Read(Db(), L"DisplayName"));
    EXPECT_EQ(name.value, L"Wirax 2027 Update 1");
    EXPECT_EQ(name.Read(Db(), L"TargetProductName").code, static_cast<UINT>(ERROR_NOT_FOUND));
    name.table = L"MsiPatchMetadata` WHERE 1=1 OR `Property";
    EXPECT_EQ(name.Read(Db(), L"DisplayName").code, static_cast<UINT>(ERROR_INVALID_DATA));
}

TEST_F(MsiPackageEditTest, ForcingACodePageChangesWhatTheInstallerReports)
{
    EXPECT_EQ(ForceCodepageFileText(1252), std::string("\n\n1252\t_ForceCodepage\n"));
    int codepage = -1;
    ASSERT_TRUE(ReadCodepage(Db(), codepage));
    EXPECT_EQ(codepage, 0) << "a new database is neutral";

    const MsiResult forced = ForceCodepage(Db(), 1252);
    ASSERT_TRUE(forced) << Narrow(forced.message);
    ASSERT_TRUE(ReadCodepage(Db(), codepage));
    EXPECT_EQ(codepage, 1252);
    ASSERT_TRUE(ForceCodepage(Db(), 932));
    ASSERT_TRUE(database.Commit());
    database.Close();

    ASSERT_TRUE(database.Open(package.Path(), false));
    ASSERT_TRUE(ReadCodepage(Db(), codepage));
    EXPECT_EQ(codepage, 932);
}

TEST_F(MsiPackageEditTest, ADirectoryResolvesThroughItsParentsToTargetDir)
{
    AddDirectory(L"TARGETDIR", L"", L"SourceDir");
    AddDirectory(L"TRVNDIR", L"TARGETDIR", L"TARVENA|Tarvena");
    AddDirectory(L"WIRAXDIR", L"TRVNDIR", L"WIRAX~1|Wirax 2027:Source");
    AddDirectory(L"SAMEDIR", L"WIRAXDIR", L".");
    AddDirectory(L"LIBSDIR", L"SAMEDIR", L"Libs");

    std::wstring path;
    ASSERT_TRUE(DirectoryData::ResolvePath(Db(), L"LIBSDIR", L"D:\\Apps", path));
    EXPECT_EQ(path, L"D:\\Apps\\Tarvena\\Wirax 2027\\Libs\\");
    ASSERT_TRUE(DirectoryData::ResolvePath(Db(), L"TARGETDIR", L"D:\\Apps\\", path));
    EXPECT_EQ(path, L"D:\\Apps\\");
}

TEST_F(MsiPackageEditTest, ACycleAMissingParentOrAStrayRootEndsWithAnError)
{
    AddDirectory(L"TARGETDIR", L"", L"SourceDir");
    AddDirectory(L"LOOPA", L"LOOPB", L"A");
    AddDirectory(L"LOOPB", L"LOOPC", L"B");
    AddDirectory(L"LOOPC", L"LOOPA", L"C");
    AddDirectory(L"BELOWLOOP", L"LOOPA", L"Below");
    AddDirectory(L"ORPHAN", L"NOSUCHDIR", L"Orphan");
    AddDirectory(L"STRAY", L"", L"Stray");
    AddDirectory(L"UNDERSTRAY", L"STRAY", L"Under");

    std::wstring path = L"unchanged";
    MsiResult result = DirectoryData::ResolvePath(Db(), L"BELOWLOOP", L"C:\\", path);
    EXPECT_EQ(result.code, static_cast<UINT>(ERROR_INVALID_DATA));
    EXPECT_NE(result.message.find(L"circle"), std::wstring::npos) << Narrow(result.message);
    EXPECT_TRUE(path.empty());

    result = DirectoryData::ResolvePath(Db(), L"ORPHAN", L"C:\\", path);
    EXPECT_EQ(result.code, static_cast<UINT>(ERROR_NOT_FOUND));
    EXPECT_NE(result.message.find(L"NOSUCHDIR"), std::wstring::npos) << Narrow(result.message);

    result = DirectoryData::ResolvePath(Db(), L"UNDERSTRAY", L"C:\\", path);
    EXPECT_EQ(result.code, static_cast<UINT>(ERROR_INVALID_DATA));
    EXPECT_NE(result.message.find(L"STRAY"), std::wstring::npos) << Narrow(result.message);

    EXPECT_EQ(DirectoryData::ResolvePath(Db(), L"NO'DIR", L"C:\\", path).code, static_cast<UINT>(ERROR_INVALID_DATA));
}

// msidb-edit.exe beside the test program, its output captured in a file.
struct ToolRun {
    DWORD exitCode = 0;
    std::string out;
};

ToolRun RunTool(const std::wstring& arguments, const hostkit::ScratchFolder& folder)
{
    ToolRun run;
    // A file of its own for each run: Wine may still hold the child's copy of the handle for a
    // moment after the child ended.
    static int runs = 0;
    const std::wstring outPath = folder / (L"tool-out-" + std::to_wstring(++runs) + L".txt");
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "no output file";
        return run;
    }
    {
        hostkit::KernelHandle outHandle(out);
        std::wstring command = L"\"" + utiltest::BinFolder() + L"\\msidb-edit.exe\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out;
        startup.hStdError = out;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process)) {
            ADD_FAILURE() << "msidb-edit.exe did not start: " << GetLastError();
            return run;
        }
        hostkit::KernelHandle thread(process.hThread);
        hostkit::KernelHandle child(process.hProcess);
        EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
        GetExitCodeProcess(process.hProcess, &run.exitCode);
    }
    HANDLE in = CreateFileW(outPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    hostkit::KernelHandle inHandle(in);
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(in, buffer, sizeof buffer, &read, nullptr) && read)
        run.out.append(buffer, read);
    return run;
}

TEST_F(MsiPackageEditTest, TheToolWritesAndReadsPropertiesResolvesDirectoriesAndForcesCodePages)
{
    AddDirectory(L"TARGETDIR", L"", L"SourceDir");
    AddDirectory(L"TRVNDIR", L"TARGETDIR", L"Tarvena");
    AddDirectory(L"LIBSDIR", L"TRVNDIR", L"Libs");
    ASSERT_TRUE(database.Commit());
    database.Close();
    const std::wstring msi = L"\"" + package.Path() + L"\"";

    ToolRun run = RunTool(msi + L" property WXLIBSFOLDER \"C:\\Libs\\Zoë's\"", package.Folder());
    EXPECT_EQ(run.exitCode, 0u) << run.out;
    run = RunTool(msi + L" property WXLIBSFOLDER", package.Folder());
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.out, "C:\\Libs\\Zo\xC3\xAB's\n");
    EXPECT_EQ(Committed(L"SELECT `Value` FROM `Property` WHERE `Property`='WXLIBSFOLDER'"),
              (std::vector<Row>{{L"C:\\Libs\\Zoë's"}}));

    run = RunTool(msi + L" directory LIBSDIR", package.Folder());
    EXPECT_EQ(run.out, "[TARGETDIR]Tarvena\\Libs\\\n");
    run = RunTool(msi + L" directory LIBSDIR E:\\", package.Folder());
    EXPECT_EQ(run.out, "E:\\Tarvena\\Libs\\\n");

    run = RunTool(msi + L" codepage 1252", package.Folder());
    EXPECT_EQ(run.exitCode, 0u) << run.out;
    EXPECT_EQ(run.out, "1252\n");
    run = RunTool(msi + L" codepage", package.Folder());
    EXPECT_EQ(run.out, "1252\n");
}

TEST_F(MsiPackageEditTest, TheToolRefusesAQuotedNameAndLeavesThePackageAsItWas)
{
    ASSERT_TRUE(PropertyData(L"ProductName", L"Wirax").Write(Db()));
    ASSERT_TRUE(database.Commit());
    database.Close();
    const std::wstring msi = L"\"" + package.Path() + L"\"";

    ToolRun run = RunTool(msi + L" property \"ProductName' OR 'a'='a\" Hacked", package.Folder());
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_NE(run.out.find("would end its quotes"), std::string::npos) << run.out;
    EXPECT_EQ(Committed(L"SELECT `Property`, `Value` FROM `Property`"), (std::vector<Row>{{L"ProductName", L"Wirax"}}));

    EXPECT_EQ(RunTool(msi + L" directory NOSUCHDIR", package.Folder()).exitCode, 1u);
    EXPECT_EQ(RunTool(msi + L" codepage many", package.Folder()).exitCode, 2u);
    EXPECT_EQ(RunTool(msi + L" rename", package.Folder()).exitCode, 2u);
}

// A patch (".msp") is a database of its own storage class. Windows Installer's open modes take
// the patch-file flag as 32 bytes added to the mode pointer.
LPCWSTR PatchMode(LPCWSTR mode) { return reinterpret_cast<LPCWSTR>(reinterpret_cast<uintptr_t>(mode) + 32); }

class MsiPatchEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RawHandle database;
        ASSERT_EQ(MsiOpenDatabaseW(path.c_str(), PatchMode(MSIDBOPEN_CREATE), database.Receive()), 0u);
        ASSERT_TRUE(RunStatement(database.Get(), kSchema[0]));  // Property
        ASSERT_TRUE(RunStatement(database.Get(), kSchema[std::size(kSchema) - 1]));  // MsiPatchMetadata
        ASSERT_TRUE(RunStatement(database.Get(), L"INSERT INTO `Property` (`Property`, `Value`) VALUES ('ProductName', 'Wirax')"));
        ASSERT_TRUE(RunStatement(database.Get(), L"INSERT INTO `MsiPatchMetadata` (`Company`, `Property`, `Value`) VALUES ('', 'DisplayName', 'Wirax 2027 Update 1')"));
        ASSERT_EQ(MsiDatabaseCommit(database.Get()), 0u);
    }

    // The patch as a fresh reader sees it on disk.
    std::vector<Row> Committed(const std::wstring& query) const
    {
        RawHandle reader;
        EXPECT_EQ(MsiOpenDatabaseW(path.c_str(), PatchMode(MSIDBOPEN_READONLY), reader.Receive()), 0u);
        return Rows(reader.Get(), query);
    }

    int CommittedCodepage() const
    {
        CMsiDatabase reader;
        int codepage = -1;
        EXPECT_TRUE(reader.Open(path, false));
        EXPECT_TRUE(ReadCodepage(reader.Handle(), codepage));
        return codepage;
    }

    std::string Bytes() const
    {
        std::string bytes;
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        hostkit::KernelHandle handle(file);
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read)
            bytes.append(buffer, read);
        return bytes;
    }

    hostkit::ScratchFolder folder{L"msidb-patch"};
    std::wstring path = folder / L"Wirax 2027 Update 1.msp";
};

// A change to a patch is saved, or it is no success: the installer answers a commit on a
// read-only database with success and writes nothing.
TEST_F(MsiPatchEditTest, ThePropertyAndTheCodePageWrittenToAPatchAreThereForAFreshReader)
{
    const std::wstring msp = L"\"" + path + L"\"";
    const std::string before = Bytes();
    ToolRun run = RunTool(msp + L" property WXLIBSFOLDER \"C:\\Libs\\Shared\"", folder);
    EXPECT_EQ(run.exitCode, 0u) << run.out;
    EXPECT_EQ(run.out, "WXLIBSFOLDER=C:\\Libs\\Shared\n");
    EXPECT_EQ(Committed(L"SELECT `Value` FROM `Property` WHERE `Property`='WXLIBSFOLDER'"), (std::vector<Row>{{L"C:\\Libs\\Shared"}}));
    EXPECT_TRUE(Bytes() != before) << "the patch file is byte-identical";

    run = RunTool(msp + L" codepage 1252", folder);
    EXPECT_EQ(run.exitCode, 0u) << run.out;
    EXPECT_EQ(run.out, "1252\n");
    EXPECT_EQ(CommittedCodepage(), 1252);

    // The patch is read as a patch still, with what it held before.
    run = RunTool(msp + L" property DisplayName --table MsiPatchMetadata", folder);
    EXPECT_EQ(run.out, "Wirax 2027 Update 1\n");
    EXPECT_EQ(Committed(L"SELECT `Value` FROM `Property` WHERE `Property`='ProductName'"), (std::vector<Row>{{L"Wirax"}}));
}

TEST_F(MsiPatchEditTest, AFailedChangeToAPatchExitsWithOneAndLeavesItAsItWas)
{
    const std::wstring msp = L"\"" + path + L"\"";
    const std::string before = Bytes();
    ToolRun run = RunTool(msp + L" property \"ProductName' OR 'a'='a\" Hacked", folder);
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_NE(run.out.find("would end its quotes"), std::string::npos) << run.out;
    EXPECT_TRUE(Bytes() == before) << "the patch file changed";
}

TEST(MsiDatabaseCommit, ADatabaseOpenedForReadingIsNotSaved)
{
    ScratchPackage package;
    CMsiDatabase database;
    ASSERT_TRUE(database.Open(package.Path(), false));
    const MsiResult result = database.Commit();
    EXPECT_FALSE(result);
    EXPECT_NE(result.message.find(L"not open for changes"), std::wstring::npos) << Narrow(result.message);
}

}  // namespace
}  // namespace msidbtest
