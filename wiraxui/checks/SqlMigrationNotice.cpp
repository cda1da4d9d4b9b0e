// The refusal while the previous version of the product, whose SQL data is migrated, is installed.
#include "checks/CheckResults.h"
#include "checks/NoticeExports.h"
#include "exports/ExportGuard.h"
#include "host/Properties.h"
#include "host/ResourceLibrary.h"

#include <HostRes.h>
#include <SetupHost.h>

namespace wiraxui {

namespace {

bool RefuseWhilePreviousInstalled(int setupMode, CProduct* product, int* stateResult, int* actionResult)
{
    if (Setup::IsDeploymentMode(setupMode))
        return true;
    if (!IsInstallerProductInstalled(ReadProperty(product, L"PREVPRODUCTCODE")))
        return true;

    CResourceLibraryLoader library;
    library.Load(ResolveResourceLibrary(L"HOSTRES.DLL"));
    CResourceInstanceScope resources(library.Module());
    const std::wstring message = LoadResString(IDS_PREVIOUS_VERSION_INSTALLED);
    WriteResultWords(stateResult, actionResult, Setup::INSTALLSTATE_REFUSED, Setup::INSTALLACTION_LEAVE_OUT);
    if (product)
        product->SetMessage(Setup::MESSAGE_REFUSAL, message.c_str(), L"");
    return false;
}

}  // namespace

}  // namespace wiraxui

bool VCSQLMigrationMessage(int setupMode, CProduct* product, int* stateResult, int* actionResult)
{
    return wiraxui::GuardedExport(L"VCSQLMigrationMessage", false, [&] {
        return wiraxui::RefuseWhilePreviousInstalled(setupMode, product, stateResult, actionResult);
    });
}
