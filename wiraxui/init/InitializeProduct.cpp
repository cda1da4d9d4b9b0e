#include "init/InitializeProduct.h"

#include "exports/ExportGuard.h"
#include "host/Properties.h"
#include "host/ResourceLibrary.h"
#include "init/LanguagePack.h"
#include "init/ManufacturerTable.h"
#include "init/PlatformKeys.h"
#include "init/ProcessState.h"
#include "init/SymbolLibraries.h"
#include "util/Registry.h"

#include <SetupHost.h>
#include <WiraxUIRes.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace wiraxui {

namespace {

std::wstring SpecialFolderWithBackslash(int csidl)
{
    wchar_t path[MAX_PATH + 1] = L"";
    if (!SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE))
        return std::wstring();
    PathAddBackslashW(path);
    return path;
}

void BuildKeys(CProduct* main)
{
    ProcessState& state = State();
    state.globalContentUninstallKey = UninstallKey(ReadProperty(main, L"GLOBCONTENTPRODUCTCODE"));
    state.localContentUninstallKey = UninstallKey(ReadProperty(main, L"LOCCONTENTPRODUCTCODE"));
    state.platformKey = PlatformKey(ReadProperty(main, L"PLNDVERSION"), ReadProperty(main, L"PLNDPRODUCTID"));
    state.platformUserKey = PlatformUserKey(state.platformKey, ReadProperty(main, L"PLNDLOCALEID"));
}

void SelectSymbolLibraries(CSetupManager& setup, CProduct* main)
{
    const std::wstring standard = ReadProperty(main, L"DRAWINGSTANDARD");
    const std::wstring current = ReadProperty(main, L"SYMBOLLIBRARY");
    const std::wstring symbolLibrary = ReconcileSymbolLibrary(current, standard);
    if (symbolLibrary != current)
        WriteProperty(main, L"SYMBOLLIBRARY", symbolLibrary);

    const SymbolLibraryChoice choice = ChooseSymbolLibraries(symbolLibrary);
    for (const auto& [property, value] : choice.properties)
        WriteProperty(main, property.c_str(), value);
    main->AddExternalCost(CostDrive(setup).c_str(), choice.bytes);
}

void RememberDeploymentChoices(CProduct* main)
{
    ProcessState& state = State();
    for (size_t row = 0; row < kManufacturerCount; ++row)
        state.manufacturerPreselected[row] = IsFlagSet(main, kManufacturers[row].property);
    state.sharedSupportPath = ReadProperty(main, L"NETSHAREDSUPPORTPATH");
    state.sharedSymbolLibraryPath = ReadProperty(main, L"NETSHAREDSYMLIBPATH");
}

void ReadInstalledManufacturers(CProduct* main)
{
    RegistryKey key(HKEY_LOCAL_MACHINE, ManufacturerKey(State().platformKey));
    for (const Manufacturer& manufacturer : kManufacturers) {
        // The installed product records every manufacturer; a missing value means not chosen.
        const DWORD value = key.ReadDword(manufacturer.property).value_or(0);
        WriteProperty(main, manufacturer.property, std::to_wstring(static_cast<int>(value)));
    }
}

void FirstCall(CSetupManager& setup, CProduct* main)
{
    SelectSymbolLibraries(setup, main);
    if (Setup::IsDeploymentMode(setup.m_setupMode))
        RememberDeploymentChoices(main);
    if (Setup::IsChangingMode(setup.m_setupMode))
        ReadInstalledManufacturers(main);
}

void ApplyNetworkDataPaths(const CSetupManager& setup, CProduct* main)
{
    ProcessState& state = State();
    if (Setup::IsDeploymentMode(setup.m_setupMode) || setup.m_networkPaths) {
        if (ReadProperty(main, L"NETPERSONALWXDATAPATH") == L"0")
            state.forcePersonalFolder = false;
        if (ReadProperty(main, L"NETDEFAULTSYMLIBPATH") == L"0")
            state.forceSymbolFolder = false;
    } else {
        WriteProperty(main, L"NETPERSONALWXDATAPATH", L"0");
        WriteProperty(main, L"NETDEFAULTSYMLIBPATH", L"0");
    }
}

void DefaultDataFolders(CProduct* main)
{
    ProcessState& state = State();
    const std::wstring dataFolder = ReadProperty(main, L"WIRAXDEFAULTFOLDER");

    if (state.forcePersonalFolder || ReadProperty(main, L"ROAMINGUSERMYDOCSWIRAXFOLDER").empty()) {
        const std::wstring documents = SpecialFolderWithBackslash(CSIDL_PERSONAL);
        WriteProperty(main, L"ROAMINGUSERMYDOCSWIRAXFOLDER", documents + dataFolder + L"\\");
        state.forcePersonalFolder = false;
    }
    if (state.forceSymbolFolder || ReadProperty(main, L"WXSYMLIBFOLDER").empty()) {
        const std::wstring publicDocuments = SpecialFolderWithBackslash(CSIDL_COMMON_DOCUMENTS);
        const std::wstring symbolFolder =
            publicDocuments + ReadProperty(main, L"Manufacturer") + L"\\" + dataFolder + L"\\";
        WriteProperty(main, L"WXSYMLIBFOLDER", symbolFolder);
        WriteProperty(main, L"WXLIBSFOLDER", symbolFolder + L"Libs\\");
        state.forceSymbolFolder = false;
    }
}

// Adds the selected content's size and returns whether any manufacturer is selected.
bool CostManufacturerContent(CSetupManager& setup, CProduct* main)
{
    int total = 0;
    bool anySelected = false;
    for (const Manufacturer& manufacturer : kManufacturers) {
        if (IsFlagSet(main, manufacturer.property)) {
            total += static_cast<int>(manufacturer.size);
            anySelected = true;
        }
    }
    main->AddExternalCost(CostDrive(setup).c_str(), total);
    return anySelected;
}

void WarnMissingContent(const CSetupManager& setup, CProduct* main)
{
    auto texts = LoadLibraryTexts(L"WiraxUIRes.dll", {IDS_MISSING_CONTENT_TEXT, IDS_MISSING_CONTENT_TITLE});
    if (!texts)
        texts = {{L"No manufacturer content is selected.", L"Manufacturer content"}};
    if (setup.m_setupMode != Setup::SETUPMODE_REMOVAL)
        main->SetMessage(kMissingContentMessageKind, (*texts)[0].c_str(), (*texts)[1].c_str());
}

void CopyRegistryString(HKEY root, const std::wstring& path, const wchar_t* value, CProduct* product,
                        const wchar_t* property)
{
    // An installation that recorded no value keeps the property it has.
    if (auto text = RegistryKey(root, path).ReadString(value))
        WriteProperty(product, property, *text);
}

void ReadBackInstalledFolders(CProduct* main)
{
    const ProcessState& state = State();
    CopyRegistryString(HKEY_LOCAL_MACHINE, state.platformKey, L"PublicWxLibsFolder", main, L"WXLIBSFOLDER");
    CopyRegistryString(HKEY_LOCAL_MACHINE, state.platformKey, L"PublicWxFolder", main, L"WXSYMLIBFOLDER");
    CopyRegistryString(HKEY_CURRENT_USER, state.platformUserKey, L"RoamingUserMyDocsWiraxFolder", main,
                       L"ROAMINGUSERMYDOCSWIRAXFOLDER");
    CopyRegistryString(HKEY_LOCAL_MACHINE, state.globalContentUninstallKey, L"InstallSource", main,
                       L"GLOBCONTENTSRCPATH");
    CopyRegistryString(HKEY_LOCAL_MACHINE, state.localContentUninstallKey, L"InstallSource", main, L"MDBSRCPATH");
}

void InitializeMainProduct(CSetupManager& setup, CProduct* main, HostRecord* record)
{
    ProcessState& state = State();
    state.manufacturerCount = kManufacturerCount;
    BuildKeys(main);
    if (state.firstCall)
        FirstCall(setup, main);
    state.firstCall = false;

    ApplyNetworkDataPaths(setup, main);
    DefaultDataFolders(main);
    if (!CostManufacturerContent(setup, main))
        WarnMissingContent(setup, main);

    if (Setup::IsChangingMode(setup.m_setupMode)) {
        ReadBackInstalledFolders(main);
    } else if (IsStandaloneLanguagePack(setup)) {
        MarkStandaloneLanguagePack(setup);
        InitializeProductLP(record);
    }
}

}  // namespace
}  // namespace wiraxui

using namespace wiraxui;

extern "C" int InitializeProduct_WRX(HostRecord* record)
{
    return GuardedExport(L"InitializeProduct_WRX", 1, [&] {
        CSetupManager* setup = SetupManagerOf(record);
        // Without its product the host asked in vain: nothing to compute, and no failure.
        CProduct* main = Guarded<CProduct*>(nullptr, [&] { return setup ? setup->FindProduct(L"WIRAX_MAIN") : nullptr; });
        if (!main)
            return 0;
        InitializeMainProduct(*setup, main, record);
        return 1;
    });
}
