#include "actions/FailureText.h"
#include "actions/InstallSharedLibrary.h"
#include "exports/ExportGuard.h"
#include "host/HostRecord.h"

#include <SetupHost.h>

#include <exception>
#include <string>

namespace {

// A deployment stopped by a failure nobody foresaw ends like any other failed one: its last
// progress text says so, before the guard answers 1603.
int InstallTellingWhyItStopped(CSetupManager& setup)
{
    try {
        return wiraxui::actions::InstallSharedLibraries(setup);
    } catch (const std::exception& error) {
        const std::wstring what = plugins::TraceText(error.what());
        setup.ProgressUpdate(Setup::PROGRESS_TEXT, (L"the deployment stopped on an unexpected failure: " + wiraxui::actions::OneLine(what)).c_str(), nullptr);
        throw;
    }
}

}  // namespace

extern "C" int InstallSharedLibrary(wiraxui::HostRecord* record)
{
    return wiraxui::GuardedExport(L"InstallSharedLibrary", wiraxui::actions::kFailed, [&] {
        CSetupManager* setup = wiraxui::SetupManagerOf(record);
        if (!setup)
            return wiraxui::actions::kDone;
        return InstallTellingWhyItStopped(*setup);
    });
}
