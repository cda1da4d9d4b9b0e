// Where the catalog browser finds its catalog database "default_cat.mdb", decided from facts
// gathered beforehand (installed products, folders, properties). Nothing here asks Windows
// Installer or the registry; only the existence of a candidate file is asked, through the caller.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace wiraxui {

using FileExists = std::function<bool(const std::wstring& path)>;

// The folder with a trailing backslash; an empty folder stays empty.
std::wstring WithBackslash(std::wstring folder);

// "default_cat.mdb" of a language under a data folder: "<folder>WxData\<language>\Catalogs\default_cat.mdb".
std::wstring CatalogDatabaseUnder(const std::wstring& folder, const std::wstring& language);

// A page's choice of the database stands only when it names a file.
bool KeepsCustomLocation(const std::wstring& customFlag, const std::wstring& location);

// What the installed electrical products tell: the shared support location of the product of the
// first code (only when it is installed and shared), and the language and personal data folder of
// the product of the second code (only when it is installed).
struct InstalledCatalogFacts {
    std::optional<std::wstring> sharedSupportPath;
    bool languageProductInstalled = false;
    std::wstring installedLanguage;
    std::optional<std::wstring> userDataFolder;
};

// The candidate after the installed products had their say: a candidate file that exists stays;
// otherwise a shared installation points at its shared folder, and a missing file there at the
// installed product's personal data folder.
std::wstring CandidateFromInstalledProducts(std::wstring candidate, const InstalledCatalogFacts& installed,
                                            const FileExists& exists);

// What the installation says about the main electrical product.
enum class MainProductRole {
    Absent,          // not part of this installation
    BeingInstalled,  // its action word is 8
    Other,           // part of it with any other action
};

struct FinalisationFacts {
    std::wstring currentLocation;       // "WRXCONTENTLOCATION"
    InstalledCatalogFacts installed;
    MainProductRole main = MainProductRole::Absent;
    std::wstring mainUserDataFolder;    // "ROAMINGUSERMYDOCSWIRAXFOLDER" of "WIRAX_MAIN"
    std::wstring documentsFolder;       // the user's documents folder
    std::wstring language;              // "LANG2LONG" of the add-in
    std::wstring libraryLocation;       // "WRXLIBLOCATION"
};

struct FinalisationChoice {
    std::wstring location;
    // The database comes with the add-in into its library location, from the installation source.
    bool installWithAddIn = false;
};

FinalisationChoice ChooseFinalCatalogDatabase(const FinalisationFacts& facts, const FileExists& exists);

// The catalog database page's search at its start.
struct PageSearchFacts {
    std::wstring currentLocation;  // "WRXCONTENTLOCATION"
    InstalledCatalogFacts installed;
    std::wstring documentsFolder;  // the user's documents folder
    std::wstring dataFolderName;   // "WIRAXDEFAULTFOLDER"
    std::wstring language;         // "LANG2LONG" of the page's product
};

std::wstring ChoosePageCatalogDatabase(const PageSearchFacts& facts, const FileExists& exists);

// Folders of the installation source that the add-in installs its database from.
struct CatalogSources {
    std::wstring platform;              // "x86" or "x64"
    std::wstring languageSourceFolder;  // "<root><platform>\<language>\Wirax\"
    std::wstring cdbSource;             // "CDBSOURCEDIR"
    std::wstring cdbLanguageSource;     // "CDBLPSOURCEDIR"
    std::wstring mdbSource;             // "MDBSOURCEDIR"
};

CatalogSources CatalogSourceFolders(const std::wstring& sourceRoot, int targetPlatform, const std::wstring& language);

}  // namespace wiraxui
