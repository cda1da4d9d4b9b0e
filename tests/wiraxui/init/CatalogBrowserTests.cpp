// InitElectCatBrowser and FinalizeElectCatBrowser against the stand-in host, real Windows
// Installer products, the registry and files in the prefix.
#include "ElectricalProducts.h"
#include "HostFixture.h"
#include "LoadedLibrary.h"
#include "RegistryArranger.h"
#include "../util/UtilTestSupport.h"

#include <gtest/gtest.h>
#include <msi.h>
#include <shlobj.h>

namespace {

using testsupport::Narrow;
using RecordExport = int(uintptr_t*);

constexpr long long kLibraryBytes = 15261696;
constexpr long long kDatabaseBytes = 524365824;

std::wstring Folder(int csidl)
{
    wchar_t path[MAX_PATH] = L"";
    SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE);
    return std::wstring(path) + L"\\";
}

// Writes an empty file, with the folders above it.
bool PutFile(const std::wstring& path)
{
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    return utiltest::WriteFileText(path, "");
}

class CatalogBrowserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(plugin.Loaded()) << "WiraxUI.dll did not load: " << GetLastError();
        init = plugin.Export<RecordExport>("InitElectCatBrowser");
        finalize = plugin.Export<RecordExport>("FinalizeElectCatBrowser");
        ASSERT_NE(init, nullptr);
        ASSERT_NE(finalize, nullptr);
        addIn = host.Add(L"WRXFWLADDIN");
        Seed(L"Manufacturer", L"Tarvena");
        Seed(L"WRXLIBFOLDERNAME", L"Catalog Browser");
        Seed(L"LANG2LONG", L"English");
        Seed(L"TRVN_INSTALL_PATH", L"Tarvena\\Formwell 2027");
        Seed(L"FORMWELL_YEAR", L"2027");
        host.setup.m_sourceRoot = L"D:\\Media";
        host.setup.m_adminImagePath = L"\\\\srv\\image";
        host.setup.m_targetPlatform = 2;
    }

    void Seed(const wchar_t* name, const std::wstring& value, CProduct* product = nullptr)
    {
        (product ? product : addIn)->SeedProperty(name, value);
    }
    std::wstring Get(const wchar_t* name) const { return addIn->Property(name); }
    long long Cost(const std::wstring& drive) const
    {
        const auto found = addIn->Costs().find(drive);
        return found == addIn->Costs().end() ? 0 : found->second;
    }
    // Whether the plug-in wrote the property during this test.
    bool Written(const wchar_t* name) const
    {
        for (const HostEvent& event : host.setup.Journal().Events())
            if (event.kind == HostEvent::Kind::PropertySet && event.name == name)
                return true;
        return false;
    }
    std::wstring DocumentsDatabase(const std::wstring& language = L"English") const
    {
        return Folder(CSIDL_PERSONAL) + L"WxData\\" + language + L"\\Catalogs\\default_cat.mdb";
    }

    hostkit::LoadedLibrary plugin{L"WiraxUI.dll"};
    RecordExport* init = nullptr;
    RecordExport* finalize = nullptr;
    testsupport::HostInstallation host;
    CProduct* addIn = nullptr;
    hostkit::RegistryArranger registry;
};

TEST(CatalogBrowserWithoutAddIn, BothExportsAnswerZeroAndWriteNothing)
{
    hostkit::LoadedLibrary plugin{L"WiraxUI.dll"};
    ASSERT_TRUE(plugin.Loaded());
    testsupport::HostInstallation host;
    CProduct* main = host.Add(L"WIRAX_MAIN");
    EXPECT_EQ(plugin.Export<RecordExport>("InitElectCatBrowser")(host.record.data()), 0);
    EXPECT_EQ(plugin.Export<RecordExport>("FinalizeElectCatBrowser")(host.record.data()), 0);
    EXPECT_TRUE(host.setup.Journal().Events().empty());
    EXPECT_TRUE(main->Properties().empty());
    // A record without an installation is survived the same way.
    std::array<uintptr_t, 32> empty{};
    EXPECT_EQ(plugin.Export<RecordExport>("InitElectCatBrowser")(empty.data()), 0);
    EXPECT_EQ(plugin.Export<RecordExport>("FinalizeElectCatBrowser")(nullptr), 0);
}

TEST_F(CatalogBrowserTest, InitialisationFillsTheAddInFoldersFromTheProgramFilesFolder)
{
    Seed(L"WRX_FORMWELL_REGISTRYKEY", L"SOFTWARE\\Tarvena\\NoSuchFormwell" + std::to_wstring(GetCurrentProcessId()));
    EXPECT_EQ(init(host.record.data()), 1);

    const std::wstring publicDocuments = Folder(CSIDL_COMMON_DOCUMENTS);
    EXPECT_EQ(Get(L"WRXLIBLOCATION"), publicDocuments + L"Tarvena\\Catalog Browser\\");
    EXPECT_EQ(Get(L"WRXFWLPRJFolder"), publicDocuments + L"Tarvena\\Formwell 2027\\");
    EXPECT_EQ(Get(L"WRXFWLPRJShortcutFolder"), Folder(CSIDL_PERSONAL) + L"Formwell\\");
    EXPECT_EQ(Get(L"INSTALLDIR"), Folder(CSIDL_PROGRAM_FILES) + L"Tarvena\\Formwell 2027\\");
    EXPECT_EQ(Get(L"FWLADDINSFOLDER"), Folder(CSIDL_COMMON_APPDATA) + L"Tarvena\\Formwell 2027\\");
    // The finalisation ran as part of it: no main product, nothing installed.
    EXPECT_EQ(Get(L"WRXCONTENTLOCATION"), DocumentsDatabase());
    EXPECT_EQ(Cost(L"C:"), kLibraryBytes);
}

TEST_F(CatalogBrowserTest, InstallFolderComesFromTheMechanicalProductsKeyWithABackslash)
{
    const std::wstring key = L"SOFTWARE\\Tarvena\\FormwellTest" + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(registry.SetString(HKEY_LOCAL_MACHINE, key, L"InstallLocation", L"E:\\Apps\\Formwell"));
    Seed(L"WRX_FORMWELL_REGISTRYKEY", key);
    EXPECT_EQ(init(host.record.data()), 1);
    EXPECT_EQ(Get(L"INSTALLDIR"), L"E:\\Apps\\Formwell\\");

    // A key without a location falls back to the program files folder.
    ASSERT_TRUE(registry.SetString(HKEY_LOCAL_MACHINE, key, L"InstallLocation", L""));
    EXPECT_EQ(init(host.record.data()), 1);
    EXPECT_EQ(Get(L"INSTALLDIR"), Folder(CSIDL_PROGRAM_FILES) + L"Tarvena\\Formwell 2027\\");
}

TEST_F(CatalogBrowserTest, DefaultedLibraryLocationAddsItsCostOncePerCall)
{
    Seed(L"WRXLIBLOCATION", L"");
    EXPECT_EQ(init(host.record.data()), 1);
    EXPECT_EQ(Cost(L"C:"), kLibraryBytes);
    // Already set: nothing more.
    EXPECT_EQ(init(host.record.data()), 1);
    EXPECT_EQ(Cost(L"C:"), kLibraryBytes);
    // Emptied again: defaulted again, and costed again.
    Seed(L"WRXLIBLOCATION", L"");
    EXPECT_EQ(init(host.record.data()), 1);
    EXPECT_EQ(Cost(L"C:"), 2 * kLibraryBytes);

    size_t costEvents = 0;
    for (const HostEvent& event : host.setup.Journal().Events())
        costEvents += event.kind == HostEvent::Kind::CostAdded;
    EXPECT_EQ(costEvents, 2u);
}

TEST_F(CatalogBrowserTest, LibraryLocationAlreadySetIsKeptAndCostsNothing)
{
    Seed(L"WRXLIBLOCATION", L"E:\\Lib\\");
    EXPECT_EQ(init(host.record.data()), 1);
    EXPECT_FALSE(Written(L"WRXLIBLOCATION"));
    EXPECT_TRUE(addIn->Costs().empty());
}

TEST_F(CatalogBrowserTest, CustomChoiceWithALocationIsWrittenBackUnchanged)
{
    Seed(L"CUSTOMMDBPATH", L"1");
    Seed(L"WRXCONTENTLOCATION", L"Q:\\Nowhere\\mine.mdb");
    host.Add(L"WIRAX_MAIN", 0, 3);
    EXPECT_EQ(finalize(host.record.data()), 0);
    EXPECT_EQ(Get(L"WRXCONTENTLOCATION"), L"Q:\\Nowhere\\mine.mdb");
    EXPECT_TRUE(Written(L"WRXCONTENTLOCATION"));
    EXPECT_FALSE(Written(L"INSTALLCONTENTMDB"));
    EXPECT_TRUE(addIn->Costs().empty());
}

TEST_F(CatalogBrowserTest, CustomChoiceWithoutALocationRunsTheSearch)
{
    Seed(L"CUSTOMMDBPATH", L"1");
    Seed(L"WRXCONTENTLOCATION", L"");
    EXPECT_EQ(finalize(host.record.data()), 0);
    EXPECT_EQ(Get(L"WRXCONTENTLOCATION"), DocumentsDatabase());
}

TEST_F(CatalogBrowserTest, NothingInstalledAndNoMainProductGivesTheDocumentsFolderAndNoDatabaseProperties)
{
    Seed(L"WRXCONTENTLOCATION", L"Q:\\Nowhere\\default_cat.mdb");
    Seed(L"LANG2LONG", L"Deutsch");
    EXPECT_EQ(finalize(host.record.data()), 0);
    EXPECT_EQ(Get(L"WRXCONTENTLOCATION"), DocumentsDatabase(L"Deutsch"));
    for (const wchar_t* name : {L"CONTENTMDBDIR", L"INSTALLCONTENTMDB", L"CDBSOURCEDIR", L"CDBLPSOURCEDIR",
                                L"MDBSOURCEDIR", L"ADMINIMAGEPATH", L"DEPLOYMENTMODE"})
        EXPECT_FALSE(Written(name)) << Narrow(name);
    EXPECT_TRUE(addIn->Costs().empty());
}

TEST_F(CatalogBrowserTest, MainProductBeingInstalledGivesItsUserDataFolder)
{
    CProduct* main = host.Add(L"WIRAX_MAIN", ::Setup::INSTALLSTATE_NONE, ::Setup::INSTALLACTION_INSTALL);
    Seed(L"ROAMINGUSERMYDOCSWIRAXFOLDER", L"C:\\users\\me\\Wirax 2027\\", main);
    EXPECT_EQ(finalize(host.record.data()), 0);
    EXPECT_EQ(Get(L"WRXCONTENTLOCATION"), L"C:\\users\\me\\Wirax 2027\\WxData\\English\\Catalogs\\default_cat.mdb");
    EXPECT_FALSE(Written(L"INSTALLCONTENTMDB"));
}

TEST_F(CatalogBrowserTest, MainProductOtherwiseInstallsTheDatabaseWithTheAddInAndInDeploymentsSaysSo)
{
    host.Add(L"WIRAX_MAIN", 0, 3);
    host.setup.m_setupMode = ::Setup::SETUPMODE_DEPLOY_UPDATE;
    Seed(L"WRXLIBLOCATION", L"E:\\Lib\\");
    EXPECT_EQ(finalize(host.record.data()), 0);
    EXPECT_EQ(Get(L"WRXCONTENTLOCATION"), L"E:\\Lib\\CatalogDatabase\\default_cat.mdb");
    EXPECT_EQ(Get(L"CONTENTMDBDIR"), L"E:\\Lib\\CatalogDatabase\\");
    EXPECT_EQ(Get(L"INSTALLCONTENTMDB"), L"YES");
    EXPECT_EQ(Get(L"CDBSOURCEDIR"), L"D:\\Media\\x86\\Wirax\\PF\\Root\\Wirax\\x86\\");
    EXPECT_EQ(Get(L"CDBLPSOURCEDIR"), L"D:\\Media\\x86\\English\\Wirax\\WiraxLP\\PF\\Root\\Wirax\\x86\\English\\");
    EXPECT_EQ(Get(L"MDBSOURCEDIR"), L"D:\\Media\\x86\\English\\Wirax\\WiraxContentLP\\PF\\Root\\Wirax\\MDBs\\");
    EXPECT_EQ(Get(L"ADMINIMAGEPATH"), L"\\\\srv\\image\\");
    EXPECT_EQ(Get(L"DEPLOYMENTMODE"), L"YES");
    EXPECT_EQ(Cost(L"E:"), kDatabaseBytes);
    EXPECT_EQ(Cost(L"C:"), 0);
}

TEST_F(CatalogBrowserTest, OutsideDeploymentsAndOnOtherPlatformsTheDeploymentPropertiesStayAway)
{
    host.Add(L"WIRAX_MAIN", 0, 0);
    host.setup.m_setupMode = ::Setup::SETUPMODE_INSTALL;
    host.setup.m_targetPlatform = 9;
    Seed(L"WRXLIBLOCATION", L"E:\\Lib\\");
    EXPECT_EQ(finalize(host.record.data()), 0);
    EXPECT_EQ(Get(L"INSTALLCONTENTMDB"), L"YES");
    EXPECT_EQ(Get(L"CDBSOURCEDIR"), L"D:\\Media\\x64\\Wirax\\PF\\Root\\Wirax\\x86\\");
    EXPECT_EQ(Get(L"MDBSOURCEDIR"), L"D:\\Media\\x64\\English\\Wirax\\WiraxContentLP\\PF\\Root\\Wirax\\MDBs\\");
    EXPECT_FALSE(Written(L"ADMINIMAGEPATH"));
    EXPECT_FALSE(Written(L"DEPLOYMENTMODE"));
}

// What the installer's user interface level is now, leaving it as it is.
INSTALLUILEVEL CurrentUiLevel()
{
    const INSTALLUILEVEL level = MsiSetInternalUI(INSTALLUILEVEL_NOCHANGE, nullptr);
    return level;
}

TEST_F(CatalogBrowserTest, InstallerUserInterfaceLevelComesBackOnEveryPath)
{
    const INSTALLUILEVEL before = MsiSetInternalUI(INSTALLUILEVEL_BASIC, nullptr);
    host.Add(L"WIRAX_MAIN", 0, 3);
    Seed(L"ELECTRICALPRODUCTCODE", testsupport::NewGuid());
    Seed(L"ELECTRICALPSPRODUCTCODE", testsupport::NewGuid());
    EXPECT_EQ(finalize(host.record.data()), 0);
    EXPECT_EQ(CurrentUiLevel(), INSTALLUILEVEL_BASIC);
    Seed(L"CUSTOMMDBPATH", L"1");
    EXPECT_EQ(finalize(host.record.data()), 0);
    EXPECT_EQ(CurrentUiLevel(), INSTALLUILEVEL_BASIC);
    MsiSetInternalUI(before, nullptr);
}

// With real installed products. These change what Windows Installer knows machine-wide.
class InstalledCatalogTest : public CatalogBrowserTest {
protected:
    void Arrange(const testsupport::ElectricalProductsSpec& spec)
    {
        products = std::make_unique<testsupport::InstalledElectricalProducts>(spec);
        ASSERT_TRUE(products->Installed()) << Narrow(products->Failure());
        Seed(L"ELECTRICALPRODUCTCODE", products->productCode);
        Seed(L"ELECTRICALPSPRODUCTCODE", products->suiteCode);
        Seed(L"ELECTRICALLPPRODUCTCODE", products->languagePackCode);
    }
    std::wstring Finalized()
    {
        Seed(L"WRXCONTENTLOCATION", L"");
        EXPECT_EQ(finalize(host.record.data()), 0);
        return Get(L"WRXCONTENTLOCATION");
    }

    hostkit::ScratchFolder scratch{L"catalogs"};
    std::unique_ptr<testsupport::InstalledElectricalProducts> products;
};

TEST_F(InstalledCatalogTest, SharedProductLeadsToTheSharedFolderThenToTheRecordedUserFolder)
{
    testsupport::ElectricalProductsSpec spec;
    spec.language = L"Francais";
    spec.sharedSupportPath = scratch / L"shared\\";
    // The language pack names another folder: the finalisation must ask the suite's user key.
    spec.userDataFolder = scratch / L"lp-folder\\";
    spec.platformVersion = L"T" + std::to_wstring(GetCurrentProcessId());
    Arrange(spec);
    ASSERT_TRUE(registry.SetString(HKEY_CURRENT_USER, products->platformUserKey, L"RoamingUserMyDocsWiraxFolder",
                                   scratch / L"roaming\\"));
    host.Add(L"WIRAX_MAIN", 0, 3);
    Seed(L"WRXLIBLOCATION", L"E:\\Lib\\");

    const std::wstring shared = scratch / L"shared\\WxData\\Francais\\Catalogs\\default_cat.mdb";
    const std::wstring roaming = scratch / L"roaming\\WxData\\Francais\\Catalogs\\default_cat.mdb";
    ASSERT_TRUE(PutFile(shared));
    ASSERT_TRUE(PutFile(roaming));
    ASSERT_TRUE(PutFile(scratch / L"lp-folder\\WxData\\Francais\\Catalogs\\default_cat.mdb"));
    EXPECT_EQ(Finalized(), shared);

    DeleteFileW(shared.c_str());
    EXPECT_EQ(Finalized(), roaming);
    EXPECT_FALSE(Written(L"INSTALLCONTENTMDB"));

    // Neither: the main product, part of this installation, brings the database with the add-in.
    DeleteFileW(roaming.c_str());
    EXPECT_EQ(Finalized(), L"E:\\Lib\\CatalogDatabase\\default_cat.mdb");
    EXPECT_EQ(Get(L"INSTALLCONTENTMDB"), L"YES");

    // A file that is there stays, whatever the installed products say.
    ASSERT_TRUE(PutFile(shared));
    const std::wstring mine = scratch / L"mine\\default_cat.mdb";
    ASSERT_TRUE(PutFile(mine));
    Seed(L"WRXCONTENTLOCATION", mine);
    EXPECT_EQ(finalize(host.record.data()), 0);
    EXPECT_EQ(Get(L"WRXCONTENTLOCATION"), mine);
}

TEST_F(InstalledCatalogTest, UnsharedProductLeavesTheSharedFolderAlone)
{
    testsupport::ElectricalProductsSpec spec;
    spec.platformVersion = L"T" + std::to_wstring(GetCurrentProcessId());
    Arrange(spec);
    ASSERT_TRUE(registry.SetString(HKEY_CURRENT_USER, products->platformUserKey, L"RoamingUserMyDocsWiraxFolder",
                                   scratch / L"roaming\\"));
    const std::wstring roaming = scratch / L"roaming\\WxData\\English\\Catalogs\\default_cat.mdb";
    ASSERT_TRUE(PutFile(roaming));
    EXPECT_EQ(Finalized(), roaming);

    // Without the suite installed, its user key is never asked.
    products.reset();
    EXPECT_EQ(Finalized(), DocumentsDatabase());
}

}  // namespace
