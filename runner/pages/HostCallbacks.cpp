// The host's side of a page beyond its properties: the three callback lists of the page record
// (run after the page initialised, on refresh, before the page is left), the context value
// handed back to them, and the installation fields the page framework reads directly.
//
// The directives that set them up (page-callbacks, page-context, run-state, cancel-allowed, title,
// deployment-name, page-word) are in engine/ScenarioLanguage.cpp with their syntax.
//
// Every call of a callback is journalled: after the call the facts show, in order,
//
//   page-callback LIST N -> ANSWER [WORD=VALUE ...]
//
// with the callback's list and place in it, its answer and the words of the page-event record
// it received that are not zero: 0=window (a window; its class in parentheses), 6=installation,
// 7=the product's key, any other word as its number. A leave callback answering 2 keeps the user
// on the page: a configuration page refuses the commit, a wizard page stays after Next.
#include "engine/InOrder.h"
#include "engine/WiraxPlayer.h"
#include "pages/StepActions.h"

#include <HostPage.h>

#include <algorithm>
#include <array>
#include <mutex>
#include <sstream>
#include <utility>

namespace runner {

namespace {

using hostkit::ExpectWords;
using hostkit::ScenarioError;
using hostkit::ScenarioLine;

constexpr size_t kSlots = 32;

struct Slot {
    std::wstring list;
    size_t position = 0;
    std::vector<int> answers;
    size_t calls = 0;
};

// The callbacks the scenario gave, by slot; a host callback is a plain function, so each slot
// has a function of its own.
struct CallbackState {
    std::mutex mutex;
    WiraxSession* session = nullptr;
    std::array<Slot, kSlots> slots;
    size_t used = 0;
    std::vector<std::wstring> lines;  // report lines and facts of the calls since the last report
    std::vector<std::wstring> facts;
    // The lists in the page record point into these.
    std::array<std::vector<PageCallback>, 3> lists;
};

CallbackState& State()
{
    static CallbackState state;
    return state;
}

std::wstring ClassName(HWND window)
{
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring RecordWords(const WiraxSession& session, const uintptr_t* record)
{
    std::wstring words;
    for (size_t word = 0; word < PageRecord::kWords; ++word) {
        const uintptr_t value = record[word];
        if (!value)
            continue;
        std::wstring shown;
        if (word == PageRecord::kParentWindow) {
            const HWND window = reinterpret_cast<HWND>(value);
            shown = IsWindow(window) ? L"window(" + ClassName(window) + L")" : L"not-a-window";
        } else if (word == PageRecord::kSetupManager) {
            shown = value == reinterpret_cast<uintptr_t>(&session.setup) ? L"installation" : L"another-installation";
        } else if (word == PageRecord::kProduct) {
            shown = L"unknown-product";
            for (const auto& product : session.setup.Products()) {
                if (value == reinterpret_cast<uintptr_t>(product.get()))
                    shown = product->Key();
            }
        } else {
            shown = std::to_wstring(value);
        }
        words += (words.empty() ? L"" : L" ") + std::to_wstring(word) + L"=" + shown;
    }
    return words;
}

int Called(size_t index, uintptr_t* record)
{
    CallbackState& state = State();
    bool leaving = false;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        leaving = state.slots[index].list == L"leave";
    }
    // A host callback keeps the host's windows alive: while it runs, a user's second press of
    // the button being handled comes in (outside the lock: the page may call back again).
    if (leaving)
        pages::LetSecondPressIn();
    std::lock_guard<std::mutex> lock(state.mutex);
    Slot& slot = state.slots[index];
    const int answer = slot.answers[std::min(slot.calls, slot.answers.size() - 1)];
    ++slot.calls;
    const std::wstring words = state.session && record ? RecordWords(*state.session, record) : L"(no record)";
    state.lines.push_back(L"the page called the host's " + slot.list + L" callback " + std::to_wstring(slot.position)
                          + L" with " + words + L"; it answered " + std::to_wstring(answer));
    state.facts.push_back(L"page-callback " + slot.list + L" " + std::to_wstring(slot.position) + L" -> " + std::to_wstring(answer)
                          + L" [" + words + L"]");
    NoteInOrder(L"callback " + slot.list + L" " + std::to_wstring(slot.position) + L" -> " + std::to_wstring(answer));
    return answer;
}

template <size_t I>
int CallbackOfSlot(uintptr_t* record)
{
    return Called(I, record);
}

template <size_t... I>
constexpr std::array<PageCallback, sizeof...(I)> MakeCallbacks(std::index_sequence<I...>)
{
    return {{&CallbackOfSlot<I>...}};
}

const std::array<PageCallback, kSlots> kCallbacks = MakeCallbacks(std::make_index_sequence<kSlots>{});

void ReportCalls(Report& report)
{
    CallbackState& state = State();
    std::vector<std::wstring> lines, facts;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        lines.swap(state.lines);
        facts.swap(state.facts);
    }
    for (const std::wstring& line : lines)
        report.Line(line);
    for (const std::wstring& fact : facts)
        report.Fact(fact);
}

// The state belongs to one scenario: taken when the first callback directive comes, given back
// (record words cleared) when the scenario ends.
CallbackState& StateFor(WiraxSession& session)
{
    CallbackState& state = State();
    if (state.session == &session)
        return state;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        state.session = &session;
        state.used = 0;
        state.lines.clear();
        state.facts.clear();
        for (auto& list : state.lists)
            list.clear();
    }
    session.afterEachCall.push_back(ReportCalls);
    WiraxSession* owner = &session;
    session.arranged.push_back(std::shared_ptr<void>(nullptr, [owner](void*) {
        CallbackState& ending = State();
        std::lock_guard<std::mutex> lock(ending.mutex);
        if (ending.session != owner)
            return;
        for (size_t word = PageRecord::kInitList; word < PageRecord::kContext; ++word)
            owner->record[word] = 0;
        ending.session = nullptr;
    }));
    return state;
}

std::vector<int> ParseAnswers(const ScenarioLine& line, const std::wstring& word)
{
    std::vector<int> answers;
    std::wstringstream parts(word);
    for (std::wstring part; std::getline(parts, part, L',');)
        answers.push_back(static_cast<int>(hostkit::ParseNumber(line, part)));
    if (answers.empty())
        throw ScenarioError(line.number, L"not an answer: '" + word + L"'");
    return answers;
}

void PageCallbacks(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    ExpectWords(line, 1, 8, L"page-callbacks init|refresh|leave [ANSWERS ...]");
    const std::wstring& name = line.words[1];
    const size_t which = name == L"init" ? 0 : name == L"refresh" ? 1 : name == L"leave" ? 2 : 3;
    if (which == 3)
        throw ScenarioError(line.number, L"expected init, refresh or leave, found '" + name + L"'");
    CallbackState& state = StateFor(session);
    std::lock_guard<std::mutex> lock(state.mutex);
    std::vector<PageCallback>& list = state.lists[which];
    list.clear();
    std::wstring told;
    for (size_t i = 2; i < line.words.size(); ++i) {
        if (state.used == kSlots)
            throw ScenarioError(line.number, L"a scenario gives at most " + std::to_wstring(kSlots) + L" host callbacks");
        Slot& slot = state.slots[state.used];
        slot = Slot{name, i - 1, ParseAnswers(line, line.words[i]), 0};
        list.push_back(kCallbacks[state.used++]);
        told += L" " + line.words[i];
    }
    static constexpr size_t kFirstWord[] = {PageRecord::kInitList, PageRecord::kRefreshList, PageRecord::kLeaveList};
    auto* words = reinterpret_cast<HostCallbackList*>(&session.record[kFirstWord[which]]);
    words->first = list.empty() ? nullptr : list.data();
    words->last = list.empty() ? nullptr : list.data() + list.size();
    words->storageEnd = words->last;
    report.Line(L"the pages' " + name + L" list: " + (list.empty() ? std::wstring(L"empty") : std::to_wstring(list.size())
                                                                                                + L" host callbacks answering" + told));
}

const bool kRegistered = [] {
    WiraxDirectives()[L"page-callbacks"] = PageCallbacks;
    WiraxDirectives()[L"page-context"] = [](WiraxSession& session, const ScenarioLine& line, Report& report) {
        ExpectWords(line, 1, 1, L"page-context N");
        session.record[PageRecord::kContext] = static_cast<uintptr_t>(hostkit::ParseNumber(line, line.words[1]));
        report.Line(L"the pages' host context value " + line.words[1]);
    };
    WiraxDirectives()[L"run-state"] = [](WiraxSession& session, const ScenarioLine& line, Report& report) {
        ExpectWords(line, 1, 1, L"run-state N");
        session.setup.m_runState = static_cast<int>(hostkit::ParseNumber(line, line.words[1]));
        report.Line(L"run state " + line.words[1]);
    };
    WiraxDirectives()[L"cancel-allowed"] = [](WiraxSession& session, const ScenarioLine& line, Report& report) {
        ExpectWords(line, 1, 1, L"cancel-allowed yes|no");
        session.setup.m_cancelAllowed = hostkit::ParseYesNo(line, line.words[1]);
        report.Line(std::wstring(L"cancelling ") + (session.setup.m_cancelAllowed ? L"allowed" : L"not allowed"));
    };
    WiraxDirectives()[L"page-word"] = [](WiraxSession& session, const ScenarioLine& line, Report& report) {
        ExpectWords(line, 2, 2, L"page-word 23|24|25 N");
        const long long word = hostkit::ParseNumber(line, line.words[1]);
        if (word < static_cast<long long>(PageRecord::kHostWords)
            || word >= static_cast<long long>(PageRecord::kHostWords + PageRecord::kHostWordCount))
            throw ScenarioError(line.number, L"the host words of a wizard page's record are 23, 24 and 25, not " + line.words[1]);
        session.wizardHostWords[static_cast<size_t>(word) - PageRecord::kHostWords] =
            static_cast<uintptr_t>(hostkit::ParseNumber(line, line.words[2]));
        session.tellWizardButtons = true;
        report.Line(L"wizard pages get " + line.words[2] + L" in word " + line.words[1] + L" of their record");
    };
    WiraxDirectives()[L"title"] = [](WiraxSession& session, const ScenarioLine& line, Report& report) {
        ExpectWords(line, 1, 1, L"title TEXT");
        session.setup.m_titleText = line.words[1];
        report.Line(L"the installation's title " + Quoted(line.words[1]));
    };
    WiraxDirectives()[L"deployment-name"] = [](WiraxSession& session, const ScenarioLine& line, Report& report) {
        ExpectWords(line, 1, 1, L"deployment-name TEXT");
        session.setup.m_deploymentName = line.words[1];
        report.Line(L"the installation's deployment name " + Quoted(line.words[1]));
    };
    return true;
}();

}  // namespace

}  // namespace runner
