#include "engine/WiraxPlayer.h"

#include "DialogAnswerer.h"
#include "RegistryArranger.h"

#include <UnsetProperties.h>

#include <shlwapi.h>

#include <algorithm>

namespace runner {

using hostkit::ExpectWords;
using hostkit::ParseNumber;
using hostkit::ParseYesNo;
using hostkit::ScenarioError;
using hostkit::ScenarioLine;

namespace {

std::wstring CallRecordExport(WiraxSession& session, FARPROC function, const ScenarioLine&)
{
    auto call = reinterpret_cast<int (*)(uintptr_t*)>(reinterpret_cast<void*>(function));
    return std::to_wstring(call(session.record.data()));
}

CProduct* RequireProduct(WiraxSession& session, const ScenarioLine& line, const std::wstring& key)
{
    return hostkit::RequireDeclared(line, key, session.setup.FindProduct(key.c_str()));
}

void DeclareProduct(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    ExpectWords(line, 1, 3, L"product KEY [state=N] [action=N]");
    CProduct* product = session.setup.AddProduct(line.words[1]);
    const hostkit::ProductStates states = hostkit::ParseProductStates(line, 2);
    product->m_installState = states.state.value_or(product->m_installState);
    product->m_actionWord = states.action.value_or(product->m_actionWord);
    report.Line(L"product " + product->Key() + L" (install state " + std::to_wstring(product->m_installState)
                + L", action " + std::to_wstring(product->m_actionWord) + L")");
}

// The scenario's registry values are put back with the rest of what it arranged, in reverse order.
hostkit::RegistryArranger& ScenarioRegistry(WiraxSession& session)
{
    if (!session.registry) {
        auto registry = std::make_shared<hostkit::RegistryArranger>();
        session.registry = registry.get();
        session.arranged.push_back(registry);
    }
    return *session.registry;
}

void ArrangeRegistry(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    ExpectWords(line, 5, 5, L"registry HKLM|HKCU KEY NAME dword|string DATA");
    hostkit::RegistryArranger& registry = ScenarioRegistry(session);
    const HKEY root = hostkit::RootFromName(line.words[1]);
    if (!root)
        throw ScenarioError(line.number, L"unknown registry root '" + line.words[1] + L"' (HKLM or HKCU)");
    const std::wstring& type = line.words[4];
    bool written = false;
    if (type == L"dword")
        written = registry.SetDword(root, line.words[2], line.words[3], static_cast<DWORD>(ParseNumber(line, line.words[5])));
    else if (type == L"string")
        written = registry.SetString(root, line.words[2], line.words[3], line.words[5]);
    else
        throw ScenarioError(line.number, L"unknown value type '" + type + L"' (dword or string)");
    if (!written)
        throw ScenarioError(line.number, L"could not write the registry value (error " + std::to_wstring(registry.LastError()) + L")");
    report.Line(L"registry " + line.words[1] + L"\\" + line.words[2] + L" " + line.words[3] + L" = " + Quoted(line.words[5]));
}

bool IsPageStep(const ScenarioLine& line)
{
    return line.words[0] == L"user" || line.words[0] == L"host";
}

void CallExport(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    ExpectWords(line, 1, 8, L"call EXPORT [ARGUMENTS]");
    const std::wstring& name = line.words[1];
    const auto known = WiraxExports().find(name);
    if (known == WiraxExports().end())
        throw ScenarioError(line.number, L"unknown export '" + name + L"'");
    const FARPROC function = GetProcAddress(session.plugin, hostkit::Utf8(name).c_str());
    if (!function)
        throw ScenarioError(line.number, L"WiraxUI.dll does not export '" + name + L"'");

    report.Heading(L"[line " + std::to_wstring(line.number) + L"] " + name);
    hostkit::DialogAnswerer errors({L"Error"}, IDOK);
    const size_t from = session.setup.Journal().Events().size();
    session.callReports.clear();
    session.pageCreationMs.reset();
    const ULONGLONG started = GetTickCount64();
    const std::wstring result = known->second(session, function, line);
    const ULONGLONG took = GetTickCount64() - started;
    std::wstring timing;
    if (session.options.timings) {
        timing = L" (in " + std::to_wstring(took) + L" ms";
        // A page's creation apart from the steps played on it.
        if (const auto creation = session.pageCreationMs)
            timing += L": page created in " + std::to_wstring(*creation) + L" ms, steps " + std::to_wstring(took - std::min(took, *creation))
                      + L" ms";
        timing += L")";
    }
    report.Line(L"returned " + result + timing);
    report.Fact(L"return " + name + L" " + result);
    report.HostEvents(session.setup.Journal().Events(), from);
    for (const auto& afterCall : session.afterEachCall)
        afterCall(report);
    for (const auto& callReport : session.callReports)
        callReport(report);
    session.callReports.clear();
    for (const hostkit::SeenDialog& dialog : errors.Seen()) {
        report.Line(L"the plug-in showed " + Quoted(dialog.caption) + L": " + Quoted(dialog.text) + L" (answered OK)");
        report.Fact(L"dialog " + dialog.caption + L" | " + dialog.text);
    }
    if (session.trace) {
        for (const std::wstring& traced : session.trace->Take()) {
            report.Line(L"trace: " + traced);
            report.Fact(L"trace " + traced);
        }
    }
}

// The installation's own fields, its products and properties, and the registry.
const bool kRegistered = [] {
    WiraxDirectives()[L"setup-mode"] = [](WiraxSession& session, const ScenarioLine& line, Report& report) {
        ExpectWords(line, 1, 1, L"setup-mode N");
        session.setup.m_setupMode = static_cast<int>(ParseNumber(line, line.words[1]));
        report.Line(L"setup mode " + line.words[1]);
    };
    WiraxDirectives()[L"network-paths"] = [](WiraxSession& session, const ScenarioLine& line, Report&) {
        ExpectWords(line, 1, 1, L"network-paths 0|1");
        session.setup.m_networkPaths = ParseYesNo(line, line.words[1]);
    };
    WiraxDirectives()[L"install-path"] = [](WiraxSession& session, const ScenarioLine& line, Report& report) {
        ExpectWords(line, 1, 1, L"install-path PATH");
        session.setup.m_installPath = line.words[1];
        report.Line(L"install path " + Quoted(line.words[1]));
    };
    WiraxDirectives()[L"resource-folder"] = [](WiraxSession&, const ScenarioLine& line, Report& report) {
        ExpectWords(line, 1, 1, L"resource-folder PATH");
        // A host answers the full path of its copy of a library, and the plug-in loads no
        // other: a folder named relative to the working folder is handed over made full.
        wchar_t full[MAX_PATH] = L"";
        const DWORD length = GetFullPathNameW(line.words[1].c_str(), MAX_PATH, full, nullptr);
        CSetupContext::Instance()->SetResourceFolder(length > 0 && length < MAX_PATH ? std::wstring(full) : line.words[1]);
        report.Line(L"resource libraries from " + Quoted(line.words[1]));
    };
    WiraxDirectives()[L"product"] = DeclareProduct;
    WiraxDirectives()[L"property"] = [](WiraxSession& session, const ScenarioLine& line, Report&) {
        ExpectWords(line, 3, 3, L"property PRODUCT NAME VALUE");
        RequireProduct(session, line, line.words[1])->SeedProperty(line.words[2], line.words[3]);
    };
    WiraxDirectives()[L"every-property"] = [](WiraxSession&, const ScenarioLine& line, Report& report) {
        ExpectWords(line, 1, 1, L"every-property empty|long|marked");
        const std::optional<std::wstring> value = hostkit::EveryPropertyValue(line.words[1]);
        if (!value)
            throw ScenarioError(line.number, L"expected empty, long or marked, found '" + line.words[1] + L"'");
        SetUnsetPropertyValue(value);
        report.Line(L"every property not set reads as the " + line.words[1] + L" value");
    };
    WiraxDirectives()[L"registry"] = ArrangeRegistry;
    return true;
}();

}  // namespace

std::map<std::wstring, ExportCaller>& WiraxExports()
{
    static std::map<std::wstring, ExportCaller> exports = {
        {L"InitializeProduct_WRX", CallRecordExport},
        {L"InitializeProductLP", CallRecordExport},
        {L"validateWiraxLPInstall", CallRecordExport},
    };
    return exports;
}

std::map<std::wstring, DirectivePlayer>& WiraxDirectives()
{
    static std::map<std::wstring, DirectivePlayer> directives;
    return directives;
}

std::vector<std::wstring> PlayedWiraxDirectives()
{
    std::vector<std::wstring> names = {L"plugin", L"call"};
    for (const auto& [name, player] : WiraxDirectives())
        names.push_back(name);
    return names;
}

int PlayWirax(const std::vector<ScenarioLine>& lines, const RunOptions& options, Report& report)
{
    WiraxSession session;
    session.options = options;
    session.report = &report;
    session.record[PageRecord::kSetupManager] = reinterpret_cast<uintptr_t>(&session.setup);

    if (options.trace)
        TraceCapture::SwitchOn();
    session.plugin = LoadLibraryW(L"WiraxUI.dll");
    if (!session.plugin) {
        fprintf(stderr, "hostrun: cannot load WiraxUI.dll (error %lu)\n", GetLastError());
        return 3;
    }
    report.Heading(L"Installation");
    if (options.trace) {
        session.trace = std::make_unique<TraceCapture>(session.plugin);
        if (!session.trace->Watching())
            report.Line(L"no trace: WiraxUI.dll does not import OutputDebugStringW");
    }
    bool afterCall = false;
    for (size_t index = 0; index < lines.size(); ++index) {
        const ScenarioLine& line = lines[index];
        const std::wstring& directive = line.words[0];
        // What the directives between two calls change is the installation's, not an outcome
        // of the call before them.
        if (afterCall && directive != L"call") {
            report.PendingHeading(L"[line " + std::to_wstring(line.number) + L"] the installation changes");
            afterCall = false;
        }
        if (directive == L"plugin") {
            continue;
        } else if (directive == L"call") {
            session.pageSteps.clear();
            while (index + 1 < lines.size() && IsPageStep(lines[index + 1]))
                session.pageSteps.push_back(lines[++index]);
            CallExport(session, line, report);
            afterCall = true;
            if (!session.pageSteps.empty())
                throw ScenarioError(session.pageSteps.front().number, L"this export shows no page to act on");
        } else if (IsPageStep(line)) {
            throw ScenarioError(line.number, L"'" + directive + L"' steps belong right after the call that opens a page");
        } else if (const auto played = WiraxDirectives().find(directive); played != WiraxDirectives().end()) {
            played->second(session, line, report);
        } else {
            throw ScenarioError(line.number, L"unknown directive '" + directive + L"'");
        }
    }
    report.Summary(session.setup);
    for (const auto& closing : session.closingReports)
        closing(report);
    while (!session.arranged.empty())
        session.arranged.pop_back();
    return 0;
}

}  // namespace runner
