// hostrun: a small setup host. It loads a plug-in, plays an installation scenario against it and
// reports what the plug-in did. Usage:
//   hostrun [SCENARIO-FILE] [--facts FILE|-] [--expect FILE] [--show] [--pictures FOLDER] [--timings] [--trace]
//   hostrun --help   the options and the scenario language (engine/ScenarioLanguage.cpp)
#include "engine/DefaultScenario.h"
#include "FormwellRun.h"
#include "engine/GoldenFacts.h"
#include "engine/Report.h"
#include "engine/ScenarioLanguage.h"
#include "Scenario.h"
#include "engine/WiraxPlayer.h"

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr char kUsage[] =
    "usage: hostrun [SCENARIO-FILE] [--facts FILE|-] [--expect FILE] [--show] [--pictures FOLDER] [--timings] [--trace]\n"
    "       hostrun --help\n"
    "  Without a scenario file the built-in typical installation is played.\n"
    "  --facts FILE       also writes the outcome one fact per line (- for the console)\n"
    "  --expect FILE      compares the facts with FILE and tells the lines that differ (exit 1)\n"
    "  --show             plays each page's steps slowly on the display, then waits for the user:\n"
    "                     a configuration page until Next > (the host commits it) or Cancel\n"
    "                     (left uncommitted) in the host panel, a wizard page until one of its\n"
    "                     own buttons ends it. The scenario's last step that leaves the page\n"
    "                     (a final commit or wizard button, with the answers just before it) is\n"
    "                     the user's; pressing what it says plays the scenario exactly.\n"
    "  --pictures FOLDER  saves FOLDER\\01-PAGE.png, 02-... : each page as the user sees it\n"
    "                     when the host waits, and each dialog a step answers (PAGE-dialog)\n"
    "  --timings          shows how long each call took\n"
    "  --trace            switches the plug-in's trace on (WIRAXUI_TRACE=1) and shows its lines\n"
    "                     after each call (facts: trace LINE)\n";

int Usage()
{
    fputs(kUsage, stderr);
    return 2;
}

// The options and the whole scenario language. A directive the player handles without a line in
// the language, or the other way round, is the runner's own fault: told, and exit 1.
int Help()
{
    fputs(kUsage, stdout);
    runner::PrintLanguage(stdout);
    const std::vector<std::wstring> disagreements = runner::LanguageDisagreements(runner::PlayedWiraxDirectives());
    for (const std::wstring& disagreement : disagreements)
        fprintf(stderr, "hostrun: %s\n", hostkit::Utf8(disagreement).c_str());
    return disagreements.empty() ? 0 : 1;
}

void Fail(const std::wstring& source, const hostkit::ScenarioError& error)
{
    std::wstring where = source;
    if (error.Line() > 0)
        where += L":" + std::to_wstring(error.Line());
    fprintf(stderr, "hostrun: %s: %s\n", hostkit::Utf8(where).c_str(), hostkit::Utf8(error.Message()).c_str());
}

// The folder and the folders above it that are missing.
bool MakeFolder(const std::wstring& folder)
{
    if (CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
        return true;
    const size_t parent = folder.find_last_of(L"\\/");
    if (GetLastError() != ERROR_PATH_NOT_FOUND || parent == std::wstring::npos || parent == 0)
        return false;
    return MakeFolder(folder.substr(0, parent)) && CreateDirectoryW(folder.c_str(), nullptr);
}

// Differences are told the way a reviewer reads them: what was committed, what this run gave.
int CompareWithExpected(const runner::Report& report, const std::wstring& expectedPath)
{
    std::vector<std::wstring> expected;
    if (!runner::ReadFactsFile(expectedPath, expected)) {
        fprintf(stderr, "hostrun: cannot read the expected facts %s\n", hostkit::Utf8(expectedPath).c_str());
        return 2;
    }
    const std::vector<runner::FactDifference> differences = runner::CompareFacts(expected, report.KeptFacts());
    if (differences.empty()) {
        fprintf(stderr, "hostrun: the facts agree with %s (%zu lines)\n", hostkit::Utf8(expectedPath).c_str(), expected.size());
        return 0;
    }
    fprintf(stderr, "hostrun: the facts differ from %s in %zu lines:\n", hostkit::Utf8(expectedPath).c_str(), differences.size());
    constexpr size_t kShown = 60;
    for (size_t i = 0; i < differences.size() && i < kShown; ++i) {
        const runner::FactDifference& d = differences[i];
        const bool missing = d.kind == runner::FactDifference::Kind::Missing;
        fprintf(stderr, "  %s %s line %zu: %s\n", missing ? "-" : "+", missing ? "expected" : "this run", d.line,
                hostkit::Utf8(d.text).c_str());
    }
    if (differences.size() > kShown)
        fprintf(stderr, "  ... and %zu more\n", differences.size() - kShown);
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    std::wstring scenarioPath;
    std::wstring factsPath;
    std::wstring expectedPath;
    runner::RunOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::wstring argument = argv[i];
        if (argument == L"--facts" && i + 1 < argc)
            factsPath = argv[++i];
        else if (argument == L"--expect" && i + 1 < argc)
            expectedPath = argv[++i];
        else if (argument == L"--show")
            options.show = true;
        else if (argument == L"--pictures" && i + 1 < argc)
            options.pictures = argv[++i];
        else if (argument == L"--timings")
            options.timings = true;
        else if (argument == L"--trace")
            options.trace = true;
        else if (argument == L"--help" || argument == L"-h")
            return Help();
        else if (!argument.empty() && argument[0] == L'-')
            return Usage();
        else if (scenarioPath.empty())
            scenarioPath = argument;
        else
            return Usage();
    }

    const std::wstring source = scenarioPath.empty() ? L"the built-in typical installation" : scenarioPath;
    runner::Report report;
    if (!factsPath.empty() && !report.OpenFacts(factsPath)) {
        fprintf(stderr, "hostrun: cannot write %s\n", hostkit::Utf8(factsPath).c_str());
        return 2;
    }
    if (!options.pictures.empty() && !MakeFolder(options.pictures)) {
        fprintf(stderr, "hostrun: cannot make the folder %s\n", hostkit::Utf8(options.pictures).c_str());
        return 2;
    }
    if (!expectedPath.empty())
        report.KeepFacts();
    try {
        const std::wstring text = scenarioPath.empty() ? runner::kDefaultScenario : hostkit::ReadScenarioFile(scenarioPath);
        const std::vector<hostkit::ScenarioLine> lines = hostkit::ParseScenario(text);
        std::wstring plugin = L"WiraxUI";
        for (const hostkit::ScenarioLine& line : lines) {
            if (line.words[0] == L"plugin") {
                hostkit::ExpectWords(line, 1, 1, L"plugin WiraxUI");
                plugin = line.words[1];
            }
        }
        report.Heading(L"Scenario: " + source + L" (plug-in " + plugin + L")");
        int played;
        if (plugin == L"WiraxUI")
            played = runner::PlayWirax(lines, options, report);
        else if (plugin == L"FormwellChecks")
            played = runner::PlayFormwell(lines, report);
        else
            throw hostkit::ScenarioError(0, L"unknown plug-in '" + plugin + L"'");
        if (played != 0 || expectedPath.empty())
            return played;
        return CompareWithExpected(report, expectedPath);
    } catch (const hostkit::ScenarioError& error) {
        Fail(source, error);
        return 2;
    } catch (const std::exception& error) {
        fprintf(stderr, "hostrun: %s: %s\n", hostkit::Utf8(source).c_str(), error.what());
        return 2;
    }
}
