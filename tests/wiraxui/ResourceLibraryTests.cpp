#include "DialogAnswerer.h"
#include "InitTestSupport.h"

#include <WiraxUIRes.h>

#include <thread>

using namespace testsupport;

namespace {

std::wstring TempFolder(const wchar_t* name)
{
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + name + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring BinFolder()
{
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

// Points the host's resource folder elsewhere for one test.
class ResourceFolderScope {
public:
    explicit ResourceFolderScope(const std::wstring& folder) : m_previous(CSetupContext::Instance()->ResourceFolder())
    {
        CSetupContext::Instance()->SetResourceFolder(folder);
    }
    ~ResourceFolderScope() { CSetupContext::Instance()->SetResourceFolder(m_previous); }

private:
    std::wstring m_previous;
};

}  // namespace

TEST_F(WiraxInitTest, ResourceLibraryThatAppearsLateStillLoads)
{
    const std::wstring folder = TempFolder(L"lateres");
    const std::wstring target = folder + L"\\WiraxUIRes.dll";
    DeleteFileW(target.c_str());
    ResourceFolderScope scope(folder);
    hostkit::DialogAnswerer errors({L"Error"}, IDOK);

    std::thread copier([&] {
        Sleep(3000);
        CopyFileW((BinFolder() + L"\\WiraxUIRes.dll").c_str(), target.c_str(), FALSE);
    });
    const ULONGLONG start = GetTickCount64();
    const int result = initialize(host.record.data());
    const ULONGLONG elapsed = GetTickCount64() - start;
    copier.join();

    EXPECT_EQ(result, 1);
    EXPECT_GE(elapsed, 3000u);
    EXPECT_TRUE(errors.Seen().empty());
    ASSERT_EQ(main->Messages().count(2), 1u);
    wchar_t expected[1024] = L"";
    HMODULE library = LoadLibraryExW(target.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    LoadStringW(library, IDS_MISSING_CONTENT_TEXT, expected, 1024);
    FreeLibrary(library);
    EXPECT_EQ(main->Messages().at(2).text, expected);
    DeleteFileW(target.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(WiraxInitTest, MissingResourceLibraryIsReportedAndInitialisationGoesOn)
{
    const std::wstring folder = TempFolder(L"nores");
    ResourceFolderScope scope(folder);
    hostkit::DialogAnswerer errors({L"Error"}, IDOK);

    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(initialize(host.record.data()), 1);
    // Six attempts one second apart: five waits.
    EXPECT_GE(GetTickCount64() - start, 5000u);

    ASSERT_EQ(errors.Seen().size(), 1u);
    EXPECT_EQ(errors.Seen()[0].text, L"Failed to load " + folder + L"\\WiraxUIRes.dll (126)!");
    // The warning still reaches the user, in the plug-in's own words.
    ASSERT_EQ(main->Messages().count(2), 1u);
    EXPECT_FALSE(main->Messages().at(2).text.empty());
    RemoveDirectoryW(folder.c_str());
}

// A host that answers a name without its folder: the library is not looked for along the search
// path (the program's folder holds one of that name, which would run its start-up code in the
// installer), and the load fails at once, with the loader's box.
TEST_F(WiraxInitTest, AResourceLibraryPathThatIsNotAbsoluteIsAFailedLoad)
{
    ASSERT_NE(GetFileAttributesW((BinFolder() + L"\\WiraxUIRes.dll").c_str()), INVALID_FILE_ATTRIBUTES);
    for (const std::wstring folder : {L"", L"\\", L"."}) {
        ResourceFolderScope scope(folder);
        hostkit::DialogAnswerer errors({L"Error"}, IDOK);
        const ULONGLONG start = GetTickCount64();
        EXPECT_EQ(initialize(host.record.data()), 1);
        EXPECT_LT(GetTickCount64() - start, 5000u);
        const std::wstring path = CSetupContext::Instance()->GetResDllPath(L"WiraxUIRes.dll");
        ASSERT_EQ(errors.Seen().size(), 1u) << Narrow(path);
        EXPECT_EQ(errors.Seen()[0].text, L"Failed to load " + path + L" (161)!");
        ASSERT_EQ(main->Messages().count(2), 1u);
    }
}

TEST_F(WiraxInitTest, InlineHostMembersAreExportedAndReadTheirMembers)
{
    using GetText = const wchar_t*(const CProduct*);
    using GetSize = long long(const CProduct*);
    using SetFlag = void(CSetupManager*, bool);
    using IsFlag = bool(const CSetupManager*);
    auto getAlertUrl = plugin.Export<GetText>("_ZNK8CProduct11GetAlertUrlEv");
    auto getUncompSize = plugin.Export<GetSize>("_ZNK8CProduct21GetDownloadUncompSizeEv");
    auto setDownloadError = plugin.Export<SetFlag>("_ZN13CSetupManager16SetDownloadErrorEb");
    auto isDirectUrl = plugin.Export<IsFlag>("_ZNK13CSetupManager20isDirectUrlAvailableEv");
    ASSERT_TRUE(getAlertUrl && getUncompSize && setDownloadError && isDirectUrl);

    main->m_alertUrl = L"https://example.invalid/help";
    main->m_downloadUncompSize = 5000000000LL;
    EXPECT_STREQ(getAlertUrl(main), L"https://example.invalid/help");
    EXPECT_EQ(getUncompSize(main), 5000000000LL);
    setDownloadError(&host.setup, true);
    EXPECT_TRUE(host.setup.m_downloadError);
    EXPECT_FALSE(isDirectUrl(&host.setup));
    host.setup.m_directUrl = L"https://example.invalid/";
    EXPECT_TRUE(isDirectUrl(&host.setup));
}
