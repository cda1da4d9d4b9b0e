#include "checks/ProductPresence.h"

#include "checks/CheckResults.h"
#include "exports/ExportGuard.h"
#include "host/Properties.h"
#include "host/ResourceLibrary.h"
#include "init/InitializeProduct.h"
#include "init/ManufacturerTable.h"
#include "init/ProcessState.h"

#include <SetupHost.h>
#include <WiraxUIRes.h>

namespace wiraxui {

namespace {

// A product that needs another one installed: refused with the message when it is not.
bool RequireInstalledProduct(int setupMode, CProduct* product, int* stateResult, int* actionResult,
                             const wchar_t* codeProperty, UINT messageId)
{
    if (Setup::IsDeploymentMode(setupMode))
        return true;
    if (IsInstallerProductInstalled(ReadProperty(product, codeProperty)))
        return true;

    CResourceLibraryLoader library;
    library.Load(ResolveResourceLibrary(L"WIRAXUIRES.DLL"));
    CResourceInstanceScope resources(library.Module());
    const std::wstring message = LoadResString(messageId);
    WriteResultWords(stateResult, actionResult, Setup::INSTALLSTATE_REFUSED, Setup::INSTALLACTION_LEAVE_OUT);
    if (product)
        product->SetMessage(Setup::MESSAGE_REFUSAL, message.c_str(), L"");
    return false;
}

bool AnyManufacturerSelected(const CProduct* main)
{
    bool selected = false;
    // Every row is read; a selected one found early does not end the loop.
    for (const Manufacturer& manufacturer : kManufacturers)
        selected = IsFlagSet(main, manufacturer.property) || selected;
    return selected;
}

int CheckSelectionBeforeInstall(HostRecord* record)
{
    CSetupManager* setup = SetupManagerOf(record);
    CProduct* main = setup ? setup->FindProduct(L"WIRAX_MAIN") : nullptr;
    if (!main)
        return kNoMainProduct;
    State().languageName = ReadProperty(main, L"LANG2LONG");
    if (main->m_actionWord != Setup::INSTALLACTION_INSTALL)
        return kNothingBlocks;
    if (AnyManufacturerSelected(main)) {
        InitializeProduct_WRX(record);
        return kNothingBlocks;
    }

    CResourceLibraryLoader library;
    library.Load(ResolveResourceLibrary(L"WiraxUIRes.dll"));
    CResourceInstanceScope resources(library.Module());
    const std::wstring text = LoadResString(IDS_MISSING_CONTENT_TEXT);
    const std::wstring caption = LoadResString(IDS_MISSING_CONTENT_TITLE);
    MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_ICONEXCLAMATION | MB_OK);
    return kNoContentWarned;
}

}  // namespace

}  // namespace wiraxui

bool CheckForGlobalProduct(int setupMode, CProduct* product, int* stateResult, int* actionResult)
{
    return wiraxui::GuardedExport(L"CheckForGlobalProduct", false, [&] {
        return wiraxui::RequireInstalledProduct(setupMode, product, stateResult, actionResult, L"GLOBPRODUCTCODE",
                                                IDS_BASE_PRODUCT_MISSING);
    });
}

bool CheckForFormwell(int setupMode, CProduct* product, int* stateResult, int* actionResult)
{
    return wiraxui::GuardedExport(L"CheckForFormwell", false, [&] {
        return wiraxui::RequireInstalledProduct(setupMode, product, stateResult, actionResult, L"FORMWELLPRODUCTCODE",
                                                IDS_FORMWELL_MISSING);
    });
}

int CheckBeforeInstall(wiraxui::HostRecord* record)
{
    return wiraxui::GuardedExport(L"CheckBeforeInstall", wiraxui::kNothingBlocks, [&] { return wiraxui::CheckSelectionBeforeInstall(record); });
}
