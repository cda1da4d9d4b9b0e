#include "engine/InOrder.h"

#include "engine/WiraxPlayer.h"

#include <UsageTrack.h>

#include <memory>
#include <mutex>
#include <vector>

namespace runner {

namespace {

using hostkit::ExpectWords;
using hostkit::ScenarioLine;

// Something the journal does not hold, and how many journal events came before it.
struct Note {
    size_t journalAt = 0;
    std::wstring what;
};

struct OrderState {
    std::mutex mutex;
    WiraxSession* session = nullptr;
    bool on = false;
    size_t from = 0;  // the journal's events from here on are not reported yet
    std::vector<Note> notes;
};

OrderState& State()
{
    static OrderState state;
    return state;
}

void UsageHeard(const std::wstring& report) { NoteInOrder(L"usage " + report); }

void ReportOrder(Report& report)
{
    OrderState& state = State();
    std::vector<Note> notes;
    size_t from = 0;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        if (!state.session)
            return;
        const bool on = state.on;
        notes.swap(state.notes);
        from = state.from;
        state.from = state.session->setup.Journal().Events().size();
        if (!on)
            return;
    }
    const std::vector<HostEvent>& events = State().session->setup.Journal().Events();
    size_t next = 0;
    const auto tell = [&report](const std::wstring& what) {
        report.Line(L"in order: " + what);
        report.Fact(L"in-order " + what);
    };
    for (size_t at = from; at <= events.size(); ++at) {
        // Notes are kept in the order they came; those made before event `at` come first.
        for (; next < notes.size() && notes[next].journalAt <= at; ++next)
            tell(notes[next].what);
        if (at == events.size())
            break;
        if (const auto fact = HostEventFact(events[at]))
            tell(*fact);
    }
    for (; next < notes.size(); ++next)
        tell(notes[next].what);
}

void HostOrder(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    ExpectWords(line, 1, 1, L"host-order yes|no");
    const bool on = hostkit::ParseYesNo(line, line.words[1]);
    OrderState& state = State();
    bool first = false;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        first = state.session != &session;
        state.session = &session;
        state.on = on;
        state.notes.clear();
        state.from = session.setup.Journal().Events().size();
    }
    if (first) {
        UsageTrack::SetReportListener(UsageHeard);
        session.afterEachCall.push_back(ReportOrder);
        WiraxSession* owner = &session;
        session.arranged.push_back(std::shared_ptr<void>(nullptr, [owner](void*) {
            OrderState& ending = State();
            UsageTrack::SetReportListener(nullptr);
            std::lock_guard<std::mutex> lock(ending.mutex);
            if (ending.session == owner) {
                ending.session = nullptr;
                ending.on = false;
                ending.notes.clear();
            }
        }));
    }
    report.Line(on ? L"the facts tell what the plug-in made the host do in the order it happened"
                   : L"the facts no longer tell the order");
}

const bool kRegistered = [] {
    WiraxDirectives()[L"host-order"] = HostOrder;
    return true;
}();

}  // namespace

void NoteInOrder(const std::wstring& what)
{
    OrderState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (!state.session || !state.on)
        return;
    state.notes.push_back({state.session->setup.Journal().Events().size(), what});
}

}  // namespace runner
