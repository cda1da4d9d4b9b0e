// FormwellPlayer.dll: plays a scenario against FormwellChecks.dll as the newer setup host would.
// It arranges the installation (products, requisites, properties), the machine (Windows Installer
// packages, Windows version) and calls the exports in order, telling what the plug-in did.
#include "LoadedLibrary.h"
#include "FormwellPlayer.h"

#include "HostCallReport.h"
#include "MsiProducts.h"
#include "PackageDirectives.h"
#include "PlatformCheckRun.h"

#include "FormwellChecks.h"
#include "UnsetProperties.h"

#include <cstdio>
#include <functional>
#include <map>
#include <memory>

namespace formwellrun {

using hostkit::ExpectWords;
using hostkit::ScenarioError;
using hostkit::ScenarioLine;

namespace {

struct Session {
    CSetupManager setup;
    HMODULE plugin = nullptr;
    std::wstring windowsVersion;  // Wine's name; empty keeps the prefix's own
    std::wstring resourceFolder;
    // Removed again when the session ends, so that a scenario leaves the machine as it found it.
    std::vector<std::unique_ptr<testsupport::InstalledMsiProduct>> installed;
    std::vector<std::unique_ptr<testsupport::AdvertisedMsiProduct>> advertised;
};

QString Q(const std::wstring& text) { return QString::fromStdWString(text); }

// Scenario lookups go around FindProduct so that the journal keeps only the plug-in's calls.
CProduct* Lookup(const Session& session, const std::wstring& key)
{
    for (const auto* list : {&session.setup.Products(), &session.setup.Requisites()}) {
        for (const auto& product : *list) {
            if (product->Key().compare(Q(key), Qt::CaseInsensitive) == 0)
                return product.get();
        }
    }
    return nullptr;
}

CProduct* RequireProduct(const Session& session, const ScenarioLine& line, const std::wstring& key)
{
    return hostkit::RequireDeclared(line, key, Lookup(session, key));
}

void DeclareProduct(Session& session, const ScenarioLine& line, IPlayerReport& report)
{
    const bool requisite = line.words[0] == L"requisite";
    ExpectWords(line, 1, 3, requisite ? L"requisite KEY [state=N] [action=N]" : L"product KEY [state=N] [action=N]");
    CProduct* product = requisite ? session.setup.AddRequisite(Q(line.words[1])) : session.setup.AddProduct(Q(line.words[1]));
    const hostkit::ProductStates states = hostkit::ParseProductStates(line, 2);
    product->m_installState = states.state.value_or(product->m_installState);
    product->m_installAction = states.action.value_or(product->m_installAction);
    report.Line(line.words[0] + L" " + line.words[1] + L" (install state " + StateText(product->m_installState) +
                L", install action " + StateText(product->m_installAction) + L")");
}

void ArrangePackage(Session& session, const ScenarioLine& line, IPlayerReport& report)
{
    const bool advertised = line.words[0] == L"advertised-package";
    if (advertised)
        session.advertised.push_back(testsupport::ArrangeAdvertisedPackage(line));
    else
        session.installed.push_back(testsupport::ArrangeInstalledPackage(line));
    report.Line(testsupport::DescribeArrangedPackage(
        advertised ? session.advertised.back()->Product() : session.installed.back()->Product(), advertised));
}

std::wstring YesNo(bool value) { return value ? L"true" : L"false"; }

template <typename Function>
Function* RequireExport(const Session& session, const ScenarioLine& line, const char* name)
{
    auto* function = reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(session.plugin, name)));
    if (!function)
        throw ScenarioError(line.number, L"FormwellChecks.dll does not export " + hostkit::FromUtf8(name));
    return function;
}

CProduct* OptionalProduct(const Session& session, const ScenarioLine& line)
{
    return line.words.size() > 2 ? RequireProduct(session, line, line.words[2]) : nullptr;
}

std::wstring CallPlatformCheck(Session& session, const ScenarioLine&, IPlayerReport& report)
{
    report.Line(L"called in a host process of its own, Windows version " +
                (session.windowsVersion.empty() ? std::wstring(L"as the prefix has it") : session.windowsVersion));
    const PlatformCheckOutcome outcome = RunPlatformCheck(session.windowsVersion, session.resourceFolder);
    if (outcome.exitCode != 0)
        return L"(not called: fwplatform.exe ended with " + std::to_wstring(outcome.exitCode) + L")";
    if (outcome.Untouched()) {
        report.Line(L"notice record left untouched");
        report.Fact(L"notice none");
    } else {
        const formwell::PlatformNotice& notice = outcome.notice;
        report.Line(L"notice kind " + std::to_wstring(notice.kind) + L": " + Quoted(NoticeText(notice.heading)));
        report.Line(L"  " + Quoted(NoticeText(notice.message)));
        report.Line(L"  link " + Quoted(NoticeText(notice.linkTitle)) + L" -> " + Quoted(NoticeText(notice.link)));
        report.Fact(L"notice " + std::to_wstring(notice.kind) + L" " + NoticeText(notice.heading) + L" | " +
                    NoticeText(notice.link));
    }
    return YesNo(outcome.result);
}

using Caller = std::function<std::wstring(Session&, const ScenarioLine&, IPlayerReport&)>;

const std::map<std::wstring, Caller>& Callers()
{
    static const std::map<std::wstring, Caller> callers = {
        {L"LpEval",
         [](Session& s, const ScenarioLine& line, IPlayerReport&) {
             ExpectWords(line, 2, 2, L"call LpEval PRODUCT");
             return YesNo(RequireExport<formwell::LpEvalFunction>(s, line, "LpEval")(&s.setup, OptionalProduct(s, line)));
         }},
        {L"FwcPreCheck",
         [](Session& s, const ScenarioLine& line, IPlayerReport&) {
             ExpectWords(line, 2, 2, L"call FwcPreCheck PRODUCT");
             return YesNo(
                 RequireExport<formwell::FwcPreCheckFunction>(s, line, "FwcPreCheck")(&s.setup, OptionalProduct(s, line)));
         }},
        {L"AppCheck",
         [](Session& s, const ScenarioLine& line, IPlayerReport&) {
             ExpectWords(line, 1, 2, L"call AppCheck [PRODUCT]");
             return YesNo(RequireExport<formwell::AppCheckFunction>(s, line, "AppCheck")(&s.setup, OptionalProduct(s, line)));
         }},
        {L"PreCheck",
         [](Session& s, const ScenarioLine& line, IPlayerReport&) {
             ExpectWords(line, 1, 2, L"call PreCheck [PRODUCT]");
             return YesNo(RequireExport<formwell::PreCheckFunction>(s, line, "PreCheck")(&s.setup, OptionalProduct(s, line)));
         }},
        {L"PostCheck",
         [](Session& s, const ScenarioLine& line, IPlayerReport& report) {
             ExpectWords(line, 1, 1, L"call PostCheck");
             int state = 0;
             int action = 0;
             const bool result = RequireExport<formwell::PostCheckFunction>(s, line, "PostCheck")(&s.setup, nullptr, &state, &action);
             report.Line(L"state result " + StateText(state) + L", action result " + StateText(action));
             report.Fact(L"results PostCheck " + std::to_wstring(state) + L" " + std::to_wstring(action));
             return YesNo(result);
         }},
        {L"CheckForSSE2Support",
         [](Session& s, const ScenarioLine& line, IPlayerReport&) {
             ExpectWords(line, 1, 2, L"call CheckForSSE2Support [PRODUCT]");
             return YesNo(RequireExport<formwell::CheckForSSE2SupportFunction>(s, line, "CheckForSSE2Support")(
                 &s.setup, OptionalProduct(s, line)));
         }},
        {L"CustomPlatformCheck",
         [](Session& s, const ScenarioLine& line, IPlayerReport& report) {
             ExpectWords(line, 1, 1, L"call CustomPlatformCheck");
             return CallPlatformCheck(s, line, report);
         }},
    };
    return callers;
}

void CallExport(Session& session, const ScenarioLine& line, IPlayerReport& report)
{
    ExpectWords(line, 1, 2, L"call EXPORT [PRODUCT]");
    const std::wstring& name = line.words[1];
    const auto caller = Callers().find(name);
    if (caller == Callers().end())
        throw ScenarioError(line.number, L"unknown export '" + name + L"'");
    report.Heading(L"[line " + std::to_wstring(line.number) + L"] " + name +
                   (line.words.size() > 2 ? L" " + line.words[2] : std::wstring()));
    CHostJournal& journal = CSetupContext::Instance()->Journal();
    const size_t from = journal.Calls().size();
    const std::wstring result = caller->second(session, line, report);
    report.Line(L"returned " + result);
    report.Fact(L"return " + name + L" " + result);
    ReportHostCalls(journal.Calls(), from, report);
}

int Play(const std::vector<ScenarioLine>& lines, IPlayerReport& report)
{
    Session session;
    hostkit::LoadedLibrary plugin(L"FormwellChecks.dll");
    session.plugin = plugin.Module();
    if (!session.plugin) {
        fprintf(stderr, "hostrun: cannot load FormwellChecks.dll (error %lu)\n", GetLastError());
        return 3;
    }
    CSetupContext* context = CSetupContext::Instance();
    context->Journal().Clear();
    report.Heading(L"Installation");
    for (const ScenarioLine& line : lines) {
        const std::wstring& directive = line.words[0];
        if (directive == L"plugin") {
            continue;
        } else if (directive == L"windows") {
            ExpectWords(line, 1, 1, L"windows win7|win8|win81|win10");
            session.windowsVersion = line.words[1];
            report.Line(L"Windows version for the host program: " + session.windowsVersion);
        } else if (directive == L"resource-folder") {
            ExpectWords(line, 1, 1, L"resource-folder PATH");
            session.resourceFolder = line.words[1];
            context->SetResourcePath(Q(line.words[1]));
            report.Line(L"resource libraries from " + Quoted(line.words[1]));
        } else if (directive == L"sse2") {
            ExpectWords(line, 1, 1, L"sse2 yes|no");
            context->SetSSE2Answer(hostkit::ParseYesNo(line, line.words[1]));
            report.Line(L"the host's SSE2 check answers " + line.words[1]);
        } else if (directive == L"product" || directive == L"requisite") {
            DeclareProduct(session, line, report);
        } else if (directive == L"property") {
            ExpectWords(line, 3, 3, L"property PRODUCT NAME VALUE");
            RequireProduct(session, line, line.words[1])->SetMsiProperty(Q(line.words[2]), Q(line.words[3]));
        } else if (directive == L"every-property") {
            ExpectWords(line, 1, 1, L"every-property empty|long|marked");
            const std::optional<std::wstring> value = hostkit::EveryPropertyValue(line.words[1]);
            if (!value)
                throw ScenarioError(line.number, L"expected empty, long or marked, found '" + line.words[1] + L"'");
            SetUnsetPropertyValue(Q(*value));
            report.Line(L"every property not set reads as the " + line.words[1] + L" value");
        } else if (directive == L"installed-package" || directive == L"advertised-package") {
            ArrangePackage(session, line, report);
        } else if (directive == L"call") {
            CallExport(session, line, report);
        } else {
            throw ScenarioError(line.number, L"unknown directive '" + directive + L"'");
        }
    }
    ReportFinalState(session.setup, report);
    if (!session.installed.empty() || !session.advertised.empty())
        report.Line(L"(the packages arranged for the scenario are removed again)");
    return 0;
}

}  // namespace
}  // namespace formwellrun

extern "C" __declspec(dllexport) int PlayFormwellScenario(const std::vector<hostkit::ScenarioLine>& lines,
                                                          formwellrun::IPlayerReport& report,
                                                          formwellrun::PlayerError& error)
{
    try {
        return formwellrun::Play(lines, report);
    } catch (const hostkit::ScenarioError& scenarioError) {
        error = {scenarioError.Line(), scenarioError.Message()};
    } catch (const std::exception& failure) {
        error = {0, hostkit::FromUtf8(failure.what())};
    }
    return 2;
}
