#include "actions/InstallSharedLibrary.h"
#include "exports/ExportGuard.h"
#include "host/HostRecord.h"

extern "C" int InstallSharedLibrary(wiraxui::HostRecord* record)
{
    CSetupManager* setup = wiraxui::SetupManagerOf(record);
    if (!setup)
        return wiraxui::actions::kDone;
    return wiraxui::Guarded(wiraxui::actions::kFailed, [&] { return wiraxui::actions::InstallSharedLibraries(*setup); });
}
