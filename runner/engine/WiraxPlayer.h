// Plays a scenario against WiraxUI.dll: arranges the installation, the registry and the
// resource folder, calls the exports in order and reports what the plug-in did.
#pragma once

#include "engine/Report.h"
#include "RegistryArranger.h"
#include "Scenario.h"
#include "watch/TraceCapture.h"

#include <SetupHost.h>

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace runner {

struct RunOptions {
    bool show = false;     // pages on the display, waiting for the user, instead of answered headless
    bool timings = false;  // each call's duration in the report for people
    bool trace = false;    // the plug-in's trace lines in the report (facts "trace LINE")
    // Where the walkthrough's pictures go: each page as the user sees it when the host waits for
    // them, numbered in the order shown. Empty: no pictures.
    std::wstring pictures;
};

// One installation as the host holds it while it calls a plug-in.
struct WiraxSession {
    CSetupManager setup;
    std::array<uintptr_t, 32> record{};
    HMODULE plugin = nullptr;
    RunOptions options;
    std::unique_ptr<TraceCapture> trace;  // with --trace
    Report* report = nullptr;  // the run's report, for callers that tell more than their result
    // Things a directive arranged for the length of the scenario (packages, files, registry
    // values): released in reverse order once the scenario has played.
    std::vector<std::shared_ptr<void>> arranged;
    // The scenario's registry values, among what it arranged once the first is written.
    hostkit::RegistryArranger* registry = nullptr;
    // What the report shows after the installation's summary (settings files, folder trees).
    std::vector<std::function<void(Report&)>> closingReports;
    // What the report shows right after the call that left them (result words, records the
    // export filled, files it wrote); emptied after each call.
    std::vector<std::function<void(Report&)>> callReports;
    // What the report shows after every call from the directive that registered it on (what
    // the links started, the host callbacks called), in the order registered.
    std::vector<std::function<void(Report&)>> afterEachCall;
    // The "user ..." and "host ..." lines that follow a call: what the user (or the host) does
    // on the page that call opens. Empty for exports that show no page.
    std::vector<hostkit::ScenarioLine> pageSteps;
    // Words 23-25 of a wizard page's record as the host hands them over ("page-word"); word 23
    // is 1 unless a scenario says otherwise: the host has a page before this one.
    std::array<uintptr_t, 3> wizardHostWords{1, 0, 0};
    // From the first "page-word" directive on, each wizard page's navigation buttons are told
    // as the page showed them (facts wizard-buttons ...).
    bool tellWizardButtons = false;
    // The walkthrough's pictures saved so far: the next one's number is one more.
    int pictures = 0;
    // How long the page export of the current call took to create its page (a wizard page:
    // until its window was shown); unset for exports that show no page. For --timings.
    std::optional<ULONGLONG> pageCreationMs;

    WiraxSession() = default;
    WiraxSession(const WiraxSession&) = delete;
    WiraxSession& operator=(const WiraxSession&) = delete;
    ~WiraxSession()
    {
        while (!arranged.empty())
            arranged.pop_back();
    }
};

// How the runner calls one export; returns what the report shows as the result.
using ExportCaller = std::function<std::wstring(WiraxSession& session, FARPROC function, const hostkit::ScenarioLine& line)>;

// The exports the runner knows, by name. Page exports register their callers here too.
std::map<std::wstring, ExportCaller>& WiraxExports();

// How the runner plays one directive of its own (beside the built-in ones).
using DirectivePlayer = std::function<void(WiraxSession& session, const hostkit::ScenarioLine& line, Report& report)>;

// Directives by name. A family of exports registers its directives here from its own file.
std::map<std::wstring, DirectivePlayer>& WiraxDirectives();

// Every directive the player handles: its own ("plugin", "call") and those registered.
std::vector<std::wstring> PlayedWiraxDirectives();

// Returns the process exit code: 0 played, 2 scenario error, 3 plug-in missing.
int PlayWirax(const std::vector<hostkit::ScenarioLine>& lines, const RunOptions& options, Report& report);

}  // namespace runner
