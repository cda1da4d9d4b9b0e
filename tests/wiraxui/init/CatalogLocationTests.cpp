// The catalog database decisions, with the machine's answers given by the test.
#include "init/CatalogLocation.h"

#include <gtest/gtest.h>

#include <set>

namespace wiraxui {
namespace {

// Files that exist for one test.
struct Disk {
    std::set<std::wstring> files;
    FileExists Exists() const
    {
        return [this](const std::wstring& path) { return files.count(path) > 0; };
    }
};

InstalledCatalogFacts SharedInstallation()
{
    InstalledCatalogFacts installed;
    installed.sharedSupportPath = L"\\\\srv\\support\\";
    installed.languageProductInstalled = true;
    installed.installedLanguage = L"Deutsch";
    installed.userDataFolder = L"C:\\Users\\me\\Wirax\\";
    return installed;
}

FinalisationFacts NothingInstalled()
{
    FinalisationFacts facts;
    facts.documentsFolder = L"C:\\Users\\me\\Documents\\";
    facts.language = L"English";
    facts.libraryLocation = L"D:\\Lib\\";
    facts.mainUserDataFolder = L"C:\\Users\\me\\Wirax 2027\\";
    return facts;
}

TEST(CatalogLocation, CustomChoiceStandsOnlyWithALocation)
{
    EXPECT_TRUE(KeepsCustomLocation(L"1", L"D:\\my.mdb"));
    EXPECT_FALSE(KeepsCustomLocation(L"1", L""));
    EXPECT_FALSE(KeepsCustomLocation(L"", L"D:\\my.mdb"));
    EXPECT_FALSE(KeepsCustomLocation(L"0", L"D:\\my.mdb"));
}

TEST(CatalogLocation, DatabaseFileUnderADataFolderWithOrWithoutItsBackslash)
{
    EXPECT_EQ(CatalogDatabaseUnder(L"C:\\Data\\", L"English"), L"C:\\Data\\WxData\\English\\Catalogs\\default_cat.mdb");
    EXPECT_EQ(CatalogDatabaseUnder(L"\\\\srv\\share", L"Deutsch"),
              L"\\\\srv\\share\\WxData\\Deutsch\\Catalogs\\default_cat.mdb");
}

TEST(CatalogLocation, NothingInstalledAndNoMainProductLeadsToTheUsersDocuments)
{
    Disk disk;
    FinalisationFacts facts = NothingInstalled();
    facts.currentLocation = L"E:\\gone\\default_cat.mdb";  // a file that does not exist
    const FinalisationChoice choice = ChooseFinalCatalogDatabase(facts, disk.Exists());
    EXPECT_EQ(choice.location, L"C:\\Users\\me\\Documents\\WxData\\English\\Catalogs\\default_cat.mdb");
    EXPECT_FALSE(choice.installWithAddIn);
}

TEST(CatalogLocation, MainProductDecidesWhenNoFileWasFound)
{
    Disk disk;
    FinalisationFacts facts = NothingInstalled();
    facts.main = MainProductRole::BeingInstalled;
    FinalisationChoice choice = ChooseFinalCatalogDatabase(facts, disk.Exists());
    EXPECT_EQ(choice.location, L"C:\\Users\\me\\Wirax 2027\\WxData\\English\\Catalogs\\default_cat.mdb");
    EXPECT_FALSE(choice.installWithAddIn);

    facts.main = MainProductRole::Other;
    choice = ChooseFinalCatalogDatabase(facts, disk.Exists());
    EXPECT_EQ(choice.location, L"D:\\Lib\\CatalogDatabase\\default_cat.mdb");
    EXPECT_TRUE(choice.installWithAddIn);
}

TEST(CatalogLocation, AnExistingLocationStaysWhateverIsInstalled)
{
    Disk disk;
    FinalisationFacts facts = NothingInstalled();
    facts.currentLocation = L"E:\\Mine\\default_cat.mdb";
    disk.files = {facts.currentLocation, CatalogDatabaseUnder(L"C:\\Users\\me\\Wirax\\", L"Deutsch")};
    facts.main = MainProductRole::Other;
    facts.installed = SharedInstallation();
    facts.installed.sharedSupportPath.reset();  // not shared: the installed data folder is asked
    const FinalisationChoice choice = ChooseFinalCatalogDatabase(facts, disk.Exists());
    EXPECT_EQ(choice.location, facts.currentLocation);
    EXPECT_FALSE(choice.installWithAddIn);
}

TEST(CatalogLocation, SharedInstallationPointsAtItsSharedFolderThenAtTheUsersDataFolder)
{
    Disk disk;
    FinalisationFacts facts = NothingInstalled();
    facts.installed = SharedInstallation();
    const std::wstring shared = L"\\\\srv\\support\\WxData\\Deutsch\\Catalogs\\default_cat.mdb";
    const std::wstring personal = L"C:\\Users\\me\\Wirax\\WxData\\Deutsch\\Catalogs\\default_cat.mdb";

    facts.currentLocation = L"E:\\Gone\\default_cat.mdb";
    disk.files = {shared, personal};
    EXPECT_EQ(ChooseFinalCatalogDatabase(facts, disk.Exists()).location, shared);
    // An existing location is kept even by a shared installation.
    disk.files.insert(facts.currentLocation);
    EXPECT_EQ(ChooseFinalCatalogDatabase(facts, disk.Exists()).location, facts.currentLocation);
    disk.files.erase(facts.currentLocation);

    disk.files = {personal};
    EXPECT_EQ(ChooseFinalCatalogDatabase(facts, disk.Exists()).location, personal);

    // Neither file: the main product's rule, here its absence.
    disk.files.clear();
    EXPECT_EQ(ChooseFinalCatalogDatabase(facts, disk.Exists()).location,
              L"C:\\Users\\me\\Documents\\WxData\\English\\Catalogs\\default_cat.mdb");
}

TEST(CatalogLocation, WithoutTheLanguageProductTheSharedLocationIsNotUsed)
{
    Disk disk;
    FinalisationFacts facts = NothingInstalled();
    facts.installed = SharedInstallation();
    facts.installed.languageProductInstalled = false;
    disk.files = {L"\\\\srv\\support\\WxData\\Deutsch\\Catalogs\\default_cat.mdb"};
    EXPECT_EQ(ChooseFinalCatalogDatabase(facts, disk.Exists()).location,
              L"C:\\Users\\me\\Documents\\WxData\\English\\Catalogs\\default_cat.mdb");
}

TEST(CatalogLocation, MissingUserDataFolderLeavesTheCandidate)
{
    Disk disk;
    InstalledCatalogFacts installed = SharedInstallation();
    installed.userDataFolder.reset();
    EXPECT_EQ(CandidateFromInstalledProducts(L"X:\\a.mdb", installed, disk.Exists()),
              L"\\\\srv\\support\\WxData\\Deutsch\\Catalogs\\default_cat.mdb");
    installed.sharedSupportPath.reset();
    EXPECT_EQ(CandidateFromInstalledProducts(L"X:\\a.mdb", installed, disk.Exists()), L"X:\\a.mdb");
}

TEST(CatalogLocation, PageSearchEndsInTheProductsDataFolderUnderTheDocuments)
{
    Disk disk;
    PageSearchFacts facts;
    facts.documentsFolder = L"C:\\Users\\me\\Documents";
    facts.dataFolderName = L"Wirax 2027";
    facts.language = L"English";
    EXPECT_EQ(ChoosePageCatalogDatabase(facts, disk.Exists()),
              L"C:\\Users\\me\\Documents\\Wirax 2027\\WxData\\English\\Catalogs\\default_cat.mdb");

    facts.currentLocation = L"E:\\Mine\\default_cat.mdb";
    disk.files = {facts.currentLocation};
    EXPECT_EQ(ChoosePageCatalogDatabase(facts, disk.Exists()), facts.currentLocation);

    // Installed products change nothing while the file is there; once it is gone, the shared
    // folder is missing its file too, and the language pack's folder has one.
    facts.installed = SharedInstallation();
    disk.files.insert(L"C:\\Users\\me\\Wirax\\WxData\\Deutsch\\Catalogs\\default_cat.mdb");
    EXPECT_EQ(ChoosePageCatalogDatabase(facts, disk.Exists()), facts.currentLocation);
    disk.files.erase(facts.currentLocation);
    EXPECT_EQ(ChoosePageCatalogDatabase(facts, disk.Exists()),
              L"C:\\Users\\me\\Wirax\\WxData\\Deutsch\\Catalogs\\default_cat.mdb");
}

TEST(CatalogLocation, SourceFoldersFollowThePlatformWordButKeepTheirX86Segment)
{
    CatalogSources x86 = CatalogSourceFolders(L"D:\\Source", 2, L"English");
    EXPECT_EQ(x86.platform, L"x86");
    EXPECT_EQ(x86.languageSourceFolder, L"D:\\Source\\x86\\English\\Wirax\\");
    EXPECT_EQ(x86.cdbSource, L"D:\\Source\\x86\\Wirax\\PF\\Root\\Wirax\\x86\\");
    EXPECT_EQ(x86.cdbLanguageSource, L"D:\\Source\\x86\\English\\Wirax\\WiraxLP\\PF\\Root\\Wirax\\x86\\English\\");
    EXPECT_EQ(x86.mdbSource, L"D:\\Source\\x86\\English\\Wirax\\WiraxContentLP\\PF\\Root\\Wirax\\MDBs\\");

    for (int word : {0, 1, 3, 9}) {
        CatalogSources other = CatalogSourceFolders(L"D:\\Source\\", word, L"English");
        EXPECT_EQ(other.platform, L"x64") << word;
        EXPECT_EQ(other.cdbSource, L"D:\\Source\\x64\\Wirax\\PF\\Root\\Wirax\\x86\\") << word;
        EXPECT_EQ(other.cdbLanguageSource, L"D:\\Source\\x64\\English\\Wirax\\WiraxLP\\PF\\Root\\Wirax\\x86\\English\\")
            << word;
    }
}

}  // namespace
}  // namespace wiraxui
