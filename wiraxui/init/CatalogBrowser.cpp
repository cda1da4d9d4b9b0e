#include "init/CatalogBrowser.h"

#include "exports/ExportGuard.h"
#include "host/Properties.h"
#include "init/CatalogLocation.h"
#include "init/InstalledProducts.h"
#include "init/PlatformKeys.h"
#include "init/ProcessState.h"
#include "util/Registry.h"

#include <SetupHost.h>
#include <shlobj.h>

namespace wiraxui {

namespace {

const wchar_t kAddInKey[] = L"WRXFWLADDIN";

std::wstring SpecialFolder(int csidl)
{
    wchar_t path[MAX_PATH + 1] = L"";
    if (!SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE))
        return std::wstring();
    return WithBackslash(path);
}

MainProductRole RoleOf(const CProduct* main)
{
    if (!main)
        return MainProductRole::Absent;
    return main->m_actionWord == Setup::INSTALLACTION_INSTALL ? MainProductRole::BeingInstalled : MainProductRole::Other;
}

void WriteInstallFromAddIn(const CSetupManager& setup, CProduct* addIn, const FinalisationChoice& choice,
                           const std::wstring& libraryLocation, const CatalogSources& sources)
{
    WriteProperty(addIn, L"CONTENTMDBDIR", WithBackslash(libraryLocation) + L"CatalogDatabase\\");
    WriteProperty(addIn, L"INSTALLCONTENTMDB", L"YES");
    WriteProperty(addIn, L"CDBSOURCEDIR", sources.cdbSource);
    WriteProperty(addIn, L"CDBLPSOURCEDIR", sources.cdbLanguageSource);
    WriteProperty(addIn, L"MDBSOURCEDIR", sources.mdbSource);
    if (Setup::IsDeploymentMode(setup.m_setupMode)) {
        WriteProperty(addIn, L"ADMINIMAGEPATH", WithBackslash(setup.m_adminImagePath));
        WriteProperty(addIn, L"DEPLOYMENTMODE", L"YES");
    }
    addIn->AddExternalCost(CostDrive(choice.location).c_str(), kCatalogDatabaseBytes);
}

void FinalizeCatalogDatabase(const CSetupManager& setup, CProduct* addIn)
{
    const std::wstring libraryLocation = ReadProperty(addIn, L"WRXLIBLOCATION");
    const std::wstring currentLocation = ReadProperty(addIn, L"WRXCONTENTLOCATION");
    if (KeepsCustomLocation(ReadProperty(addIn, L"CUSTOMMDBPATH"), currentLocation)) {
        WriteProperty(addIn, L"WRXCONTENTLOCATION", currentLocation);
        return;
    }

    const std::wstring language = ReadProperty(addIn, L"LANG2LONG");
    State().languageName = language;
    const CatalogSources sources = CatalogSourceFolders(setup.m_sourceRoot, setup.m_targetPlatform, language);

    FinalisationFacts facts;
    facts.currentLocation = currentLocation;
    facts.language = language;
    facts.libraryLocation = libraryLocation;
    facts.documentsFolder = SpecialFolder(CSIDL_PERSONAL);
    FinalisationChoice choice;
    {
        CInstallerUiSilenced silenced;
        facts.installed = ReadInstalledCatalogFacts(ReadProperty(addIn, L"ELECTRICALPRODUCTCODE"),
                                                    ReadProperty(addIn, L"ELECTRICALPSPRODUCTCODE"),
                                                    RecordedUserDataFolder);
        const CProduct* main = setup.FindProduct(L"WIRAX_MAIN");
        facts.main = RoleOf(main);
        facts.mainUserDataFolder = ReadProperty(main, L"ROAMINGUSERMYDOCSWIRAXFOLDER");
        choice = ChooseFinalCatalogDatabase(facts, FileExistsOnDisk);
        if (choice.installWithAddIn)
            WriteInstallFromAddIn(setup, addIn, choice, libraryLocation, sources);
    }
    WriteProperty(addIn, L"WRXCONTENTLOCATION", choice.location);
}

void InitializeAddIn(const CSetupManager& setup, CProduct* addIn)
{
    const std::wstring publicDocuments = SpecialFolder(CSIDL_COMMON_DOCUMENTS);
    const std::wstring folderName = ReadProperty(addIn, L"WRXLIBFOLDERNAME");
    const std::wstring manufacturer = ReadProperty(addIn, L"Manufacturer");
    if (ReadProperty(addIn, L"WRXLIBLOCATION").empty()) {
        const std::wstring defaultLocation = publicDocuments + manufacturer + L"\\" + folderName + L"\\";
        WriteProperty(addIn, L"WRXLIBLOCATION", defaultLocation);
        addIn->AddExternalCost(CostDrive(defaultLocation).c_str(), kAddInLibraryBytes);
    }

    FinalizeCatalogDatabase(setup, addIn);

    const std::wstring registryKey = ReadProperty(addIn, L"WRX_FORMWELL_REGISTRYKEY");
    const std::wstring installPath = ReadProperty(addIn, L"TRVN_INSTALL_PATH");
    const std::wstring year = ReadProperty(addIn, L"FORMWELL_YEAR");
    WriteProperty(addIn, L"WRXFWLPRJFolder", publicDocuments + manufacturer + L"\\Formwell " + year + L"\\");
    WriteProperty(addIn, L"WRXFWLPRJShortcutFolder", SpecialFolder(CSIDL_PERSONAL) + L"Formwell\\");

    std::wstring installDir;
    RegistryKey product(HKEY_LOCAL_MACHINE, registryKey);
    if (product.IsOpen())
        installDir = WithBackslash(product.ReadString(L"InstallLocation").value_or(std::wstring()));
    if (installDir.empty())
        installDir = WithBackslash(SpecialFolder(CSIDL_PROGRAM_FILES) + installPath);
    WriteProperty(addIn, L"INSTALLDIR", installDir);
    WriteProperty(addIn, L"FWLADDINSFOLDER", WithBackslash(SpecialFolder(CSIDL_COMMON_APPDATA) + installPath));
}

CProduct* FindAddIn(HostRecord* record)
{
    CSetupManager* setup = SetupManagerOf(record);
    return Guarded<CProduct*>(nullptr, [&] { return setup ? setup->FindProduct(kAddInKey) : nullptr; });
}

}  // namespace
}  // namespace wiraxui

using namespace wiraxui;

extern "C" int InitElectCatBrowser(HostRecord* record)
{
    return GuardedExport(L"InitElectCatBrowser", 1, [&] {
        CProduct* addIn = FindAddIn(record);
        if (!addIn)
            return 0;
        InitializeAddIn(*SetupManagerOf(record), addIn);
        return 1;
    });
}

extern "C" int FinalizeElectCatBrowser(HostRecord* record)
{
    return GuardedExport(L"FinalizeElectCatBrowser", 0, [&] {
        CProduct* addIn = FindAddIn(record);
        if (!addIn)
            return 0;
        FinalizeCatalogDatabase(*SetupManagerOf(record), addIn);
        return 0;
    });
}
