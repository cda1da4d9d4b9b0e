// The usage reports a plug-in's pages send the host (UsageTrack: a wizard page's init and
// destroy, its buttons, its links), as the stand-in of the host's usage reporting journals them:
//
//   usage-reports yes|no      from here on (yes) or no longer (no), after each call the facts
//                             show the reports the call sent, in the order sent:
//
//   usage REPORT              wpPageInit PAGE, wpPageDestroy PAGE, wpButtonClicked BUTTON TYPE
//                             FLAG, wpDocumentationLinkClicked, wpSupportLinkClicked,
//                             wpRequirementLinkClicked, Initialize FLAG WHITELIST, Destroy
#include "engine/WiraxPlayer.h"

#include <UsageTrack.h>

#include <algorithm>
#include <memory>

namespace runner {

namespace {

using hostkit::ExpectWords;
using hostkit::ScenarioLine;

struct UsageWatch {
    bool on = false;
    size_t seen = 0;  // the journal's reports before this one are told or were not asked for
};

void ReportUsage(UsageWatch& watch, Report& report)
{
    const std::vector<std::wstring> reports = UsageTrack::Reports();
    for (size_t at = std::min(watch.seen, reports.size()); watch.on && at < reports.size(); ++at) {
        report.Line(L"usage report: " + reports[at]);
        report.Fact(L"usage " + reports[at]);
    }
    watch.seen = reports.size();
}

void UsageReports(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    ExpectWords(line, 1, 1, L"usage-reports yes|no");
    static std::weak_ptr<UsageWatch> current;
    std::shared_ptr<UsageWatch> watch = current.lock();
    if (!watch) {
        watch = std::make_shared<UsageWatch>();
        current = watch;
        session.arranged.push_back(watch);
        session.afterEachCall.push_back([watch](Report& after) { ReportUsage(*watch, after); });
    }
    watch->on = hostkit::ParseYesNo(line, line.words[1]);
    watch->seen = UsageTrack::Reports().size();
    report.Line(watch->on ? L"the facts show the usage reports the pages send" : L"the facts no longer show usage reports");
}

const bool kRegistered = [] {
    WiraxDirectives()[L"usage-reports"] = UsageReports;
    return true;
}();

}  // namespace

}  // namespace runner
