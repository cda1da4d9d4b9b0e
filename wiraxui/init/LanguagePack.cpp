#include "init/LanguagePack.h"

#include "exports/ExportGuard.h"
#include "host/Properties.h"
#include "init/ManufacturerTable.h"
#include "init/PlatformKeys.h"
#include "init/ProcessState.h"
#include "util/Registry.h"

#include <SetupHost.h>

namespace wiraxui {

namespace {

void FillManufacturersFromRegistry(CSetupManager& setup)
{
    CProduct* main = setup.FindProduct(L"WIRAX_MAIN");
    if (!main)
        return;
    ProcessState& state = State();
    state.platformKey = PlatformKey(ReadProperty(main, L"PLNDVERSION"), ReadProperty(main, L"PLNDPRODUCTID"));
    // The installed main product writes all 47 values; one that is missing (or a key that cannot
    // be opened) reads as 0, not chosen, so that every property is still written.
    RegistryKey key(HKEY_LOCAL_MACHINE, ManufacturerKey(state.platformKey));
    state.manufacturerCount = kManufacturerCount;
    for (const Manufacturer& manufacturer : kManufacturers) {
        const DWORD value = key.ReadDword(manufacturer.property).value_or(0);
        WriteProperty(main, manufacturer.property, std::to_wstring(static_cast<int>(value)));
    }
    key.Close();
    main->AddExternalCost(CostDrive(setup).c_str(), kFullManufacturerContentBytes);
}

}  // namespace

bool IsStandaloneLanguagePack(const CSetupManager& setup)
{
    const CProduct* product = setup.FindProduct(L"WIRAX");
    const CProduct* languagePack = setup.FindProduct(L"WIRAX_LP");
    return product && languagePack && Setup::IsInstalledState(product->m_installState)
        && !Setup::IsInstalledState(languagePack->m_installState);
}

void MarkStandaloneLanguagePack(CSetupManager& setup)
{
    for (const wchar_t* key : {L"WIRAX_MAIN", L"PLND_LP", L"WIRAX_LP", L"WIRAXCONTENT_LP"})
        WriteProperty(setup.FindProduct(key), L"STANDALONE_LP", L"1");
}

}  // namespace wiraxui

using namespace wiraxui;

extern "C" int validateWiraxLPInstall(HostRecord* record)
{
    return GuardedExport(L"validateWiraxLPInstall", 1, [&] {
        CSetupManager* setup = SetupManagerOf(record);
        if (setup && IsStandaloneLanguagePack(*setup)) {
            MarkStandaloneLanguagePack(*setup);
            InitializeProductLP(record);
        }
        return 1;
    });
}

extern "C" int InitializeProductLP(HostRecord* record)
{
    return GuardedExport(L"InitializeProductLP", 0, [&] {
        if (CSetupManager* setup = SetupManagerOf(record))
            FillManufacturersFromRegistry(*setup);
        return 0;
    });
}
