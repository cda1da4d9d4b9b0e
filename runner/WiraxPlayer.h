// Plays a scenario against WiraxUI.dll: arranges the installation, the registry and the
// resource folder, calls the exports in order and reports what the plug-in did.
#pragma once

#include "Report.h"
#include "Scenario.h"

#include <SetupHost.h>

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace runner {

struct RunOptions {
    bool show = false;  // pages on the display, waiting for the user, instead of answered headless
};

// One installation as the host holds it while it calls a plug-in.
struct WiraxSession {
    CSetupManager setup;
    std::array<uintptr_t, 32> record{};
    HMODULE plugin = nullptr;
    RunOptions options;
};

// How the runner calls one export; returns what the report shows as the result.
using ExportCaller = std::function<std::wstring(WiraxSession& session, FARPROC function, const hostkit::ScenarioLine& line)>;

// The exports the runner knows, by name. Page exports register their callers here too.
std::map<std::wstring, ExportCaller>& WiraxExports();

// Returns the process exit code: 0 played, 2 scenario error, 3 plug-in missing.
int PlayWirax(const std::vector<hostkit::ScenarioLine>& lines, const RunOptions& options, Report& report);

}  // namespace runner
