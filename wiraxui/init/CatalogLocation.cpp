#include "init/CatalogLocation.h"

#include <windows.h>

namespace wiraxui {

namespace {

bool Exists(const FileExists& exists, const std::wstring& path) { return !path.empty() && exists && exists(path); }

}  // namespace

std::wstring WithBackslash(std::wstring folder)
{
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
    return folder;
}

std::wstring CatalogDatabaseUnder(const std::wstring& folder, const std::wstring& language)
{
    return WithBackslash(folder) + L"WxData\\" + language + L"\\Catalogs\\default_cat.mdb";
}

bool KeepsCustomLocation(const std::wstring& customFlag, const std::wstring& location)
{
    return customFlag == L"1" && !location.empty();
}

std::wstring CandidateFromInstalledProducts(std::wstring candidate, const InstalledCatalogFacts& installed,
                                            const FileExists& exists)
{
    // A database that is there already stays: the installed products only help to find one.
    if (!installed.languageProductInstalled || Exists(exists, candidate))
        return candidate;
    if (installed.sharedSupportPath)
        candidate = CatalogDatabaseUnder(*installed.sharedSupportPath, installed.installedLanguage);
    if (!Exists(exists, candidate) && installed.userDataFolder)
        candidate = CatalogDatabaseUnder(*installed.userDataFolder, installed.installedLanguage);
    return candidate;
}

FinalisationChoice ChooseFinalCatalogDatabase(const FinalisationFacts& facts, const FileExists& exists)
{
    FinalisationChoice choice;
    choice.location = CandidateFromInstalledProducts(facts.currentLocation, facts.installed, exists);
    if (Exists(exists, choice.location))
        return choice;
    switch (facts.main) {
    case MainProductRole::Absent:
        choice.location = CatalogDatabaseUnder(facts.documentsFolder, facts.language);
        break;
    case MainProductRole::BeingInstalled:
        choice.location = CatalogDatabaseUnder(facts.mainUserDataFolder, facts.language);
        break;
    case MainProductRole::Other:
        choice.location = WithBackslash(facts.libraryLocation) + L"CatalogDatabase\\default_cat.mdb";
        choice.installWithAddIn = true;
        break;
    }
    return choice;
}

std::wstring ChoosePageCatalogDatabase(const PageSearchFacts& facts, const FileExists& exists)
{
    const std::wstring candidate = CandidateFromInstalledProducts(facts.currentLocation, facts.installed, exists);
    if (Exists(exists, candidate))
        return candidate;
    return WithBackslash(facts.documentsFolder) + facts.dataFolderName + L"\\WxData\\" + facts.language +
           L"\\Catalogs\\default_cat.mdb";
}

CatalogSources CatalogSourceFolders(const std::wstring& sourceRoot, int targetPlatform, const std::wstring& language)
{
    CatalogSources sources;
    const std::wstring root = WithBackslash(sourceRoot);
    sources.platform = targetPlatform == 2 ? L"x86" : L"x64";
    sources.languageSourceFolder = root + sources.platform + L"\\" + language + L"\\Wirax\\";
    // The database packages keep their x86 folder names whatever platform is installed.
    sources.cdbSource = root + sources.platform + L"\\Wirax\\PF\\Root\\Wirax\\x86\\";
    sources.cdbLanguageSource = sources.languageSourceFolder + L"WiraxLP\\PF\\Root\\Wirax\\x86\\" + language + L"\\";
    sources.mdbSource = sources.languageSourceFolder + L"WiraxContentLP\\PF\\Root\\Wirax\\MDBs\\";
    return sources;
}

}  // namespace wiraxui
