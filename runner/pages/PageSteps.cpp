// Plays the page exports: a configuration page in its host panel, a wizard page in its own
// loop, and the steps of the scenario's lines after the call (PageSteps.h). The steps are read in
// StepReading.cpp, played by the user of PageUser.cpp on controls as StepActions.h says; the
// panel is HostPanel.cpp.
#include "pages/PageSteps.h"

#include "pages/HostPanel.h"
#include "pages/PageUser.h"
#include "pages/StepReading.h"

#include <HostPage.h>

#include <thread>

namespace runner {

namespace {

using hostkit::ScenarioError;
using hostkit::ScenarioLine;
using pages::PageUser;
using pages::PanelState;
using pages::Step;

std::optional<std::wstring> OneWordForm(const ScenarioLine& line, const wchar_t* usage)
{
    hostkit::ExpectWords(line, 1, 2, usage);
    if (line.words.size() > 2)
        return line.words[2];
    return std::nullopt;
}

std::vector<ScenarioLine> TakeSteps(WiraxSession& session)
{
    std::vector<ScenarioLine> steps = std::move(session.pageSteps);
    session.pageSteps.clear();
    return steps;
}

void PointRecordAtProduct(WiraxSession& session)
{
    if (session.record[PageRecord::kProduct])
        return;
    CProduct* product = session.setup.FindProduct(L"WIRAX_MAIN");
    session.record[PageRecord::kProduct] = reinterpret_cast<uintptr_t>(product);
}

// "page-product KEY": the product the next pages configure (word 7 of their record); by
// default the main product.
void ChoosePageProduct(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    hostkit::ExpectWords(line, 1, 1, L"page-product KEY");
    CProduct* product = hostkit::RequireDeclared(line, line.words[1], session.setup.FindProduct(line.words[1].c_str()));
    session.record[PageRecord::kProduct] = reinterpret_cast<uintptr_t>(product);
    report.Line(L"pages configure " + line.words[1]);
}

const bool kRegistered = [] {
    WiraxDirectives()[L"page-product"] = ChoosePageProduct;
    return true;
}();


// The system's words for an error code, without the line break they end with.
std::wstring SystemErrorText(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring words = length && text ? std::wstring(text, length) : std::wstring();
    if (text)
        LocalFree(text);
    while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r' || words.back() == L' ' || words.back() == L'.'))
        words.pop_back();
    return L"system error " + std::to_wstring(error) + (words.empty() ? L"" : L": " + words);
}

// A page the export did not create: the report says why, and a step the scenario wrote for it
// has no page to act on. The one-word form's step is the host's, not the scenario's: the host
// has nothing to do then, and the export's answer is the outcome.
void PageNotCreated(WiraxSession& session, const ScenarioLine& call, const std::vector<Step>& steps, DWORD error)
{
    const std::wstring why = call.words[1] + L" did not create its page (" + SystemErrorText(error) + L")";
    session.report->Line(why);
    session.report->Fact(L"page-not-created " + call.words[1] + L" " + std::to_wstring(error));
    for (const Step& step : steps) {
        if (step.written)
            throw ScenarioError(step.line, L"there is no page to act on: " + why);
    }
}

}  // namespace

std::wstring PlayConfigurationPage(WiraxSession& session, FARPROC function, const ScenarioLine& line)
{
    const std::wstring usage = L"call " + line.words[1] + L" [commit|keep], or user steps on the lines after it";
    const std::optional<std::wstring> word = OneWordForm(line, usage.c_str());
    std::vector<ScenarioLine> stepLines = TakeSteps(session);
    if (word && !stepLines.empty())
        throw ScenarioError(line.number, L"either '" + *word + L"' or user steps, not both");
    if (word && *word != L"commit" && *word != L"keep")
        throw ScenarioError(line.number, L"expected commit or keep, found '" + *word + L"'");
    const bool oneWordForm = stepLines.empty();
    // The older form: the host commits when it closes the panel unless told to keep the page.
    if (stepLines.empty() && word.value_or(L"commit") == L"commit")
        stepLines.push_back(ScenarioLine{line.number, {L"user", L"commit"}});
    std::vector<Step> steps = pages::ReadSteps(stepLines, false);
    for (Step& step : steps)
        step.written = !oneWordForm;

    Report& report = *session.report;
    PointRecordAtProduct(session);
    PanelState state;
    state.session = &session;
    state.buttonRow = session.options.show || !session.options.pictures.empty();
    HWND panel = pages::CreatePanel(state);
    session.record[PageRecord::kParentWindow] = reinterpret_cast<uintptr_t>(panel);
    auto create = reinterpret_cast<IConfigPage* (*)(uintptr_t*)>(reinterpret_cast<void*>(function));
    const ULONGLONG started = GetTickCount64();
    SetLastError(ERROR_SUCCESS);
    IConfigPage* page = create(session.record.data());
    const DWORD error = GetLastError();
    session.pageCreationMs = GetTickCount64() - started;
    session.record[PageRecord::kParentWindow] = 0;
    if (!page) {
        DestroyWindow(panel);
        PageNotCreated(session, line, steps, error);
        return L"no page";
    }
    state.page = page;
    std::wstring result = L"page of height " + std::to_wstring(page->GetHeight());
    pages::FitPanelToPage(panel, page, state);

    PageUser user(session, GetCurrentThreadId(), panel, false, line.words[1], &state.left);
    user.SetPage(page->GetWindow());
    std::atomic<bool> stepsDone{false};
    std::thread userThread([&] {
        user.Play(steps);
        stepsDone = true;
        PostMessageW(panel, WM_NULL, 0, 0);
    });
    pages::PumpPanel(panel, page, stepsDone);
    userThread.join();
    pages::ReportUser(user, report);
    for (const std::wstring& userLine : state.userLines)
        report.Line(userLine);
    for (size_t i = 0; i < state.notices.size(); ++i) {
        report.Line(state.notices[i]);
        report.Fact(state.noticeFacts[i]);
    }
    for (bool committed : state.commits)
        result += committed ? L", committed" : L", commit refused";
    page->Destroy();
    DestroyWindow(panel);
    if (const auto failure = user.Error())
        throw *failure;
    return result;
}

std::wstring PlayWizardPage(WiraxSession& session, FARPROC function, const ScenarioLine& line)
{
    const std::wstring usage = L"call " + line.words[1] + L" [next|back|first|cancel], or user steps on the lines after it";
    const std::optional<std::wstring> word = OneWordForm(line, usage.c_str());
    std::vector<ScenarioLine> stepLines = TakeSteps(session);
    if (word && !stepLines.empty())
        throw ScenarioError(line.number, L"either '" + *word + L"' or user steps, not both");
    const bool oneWordForm = stepLines.empty();
    if (stepLines.empty()) {
        // The older form: one button, and a cancel question answered Yes.
        const std::wstring button = word.value_or(L"next");
        if (button == L"cancel")
            stepLines.push_back(ScenarioLine{line.number, {L"user", L"answer", L"yes"}});
        stepLines.push_back(ScenarioLine{line.number, {L"user", button}});
    }
    std::vector<Step> steps = pages::ReadSteps(stepLines, true);
    for (Step& step : steps)
        step.written = !oneWordForm;
    if (word == L"cancel")
        steps.front().ifAsked = true;

    Report& report = *session.report;
    PointRecordAtProduct(session);
    for (size_t word = 0; word < PageRecord::kHostWordCount; ++word)
        session.record[PageRecord::kHostWords + word] = session.wizardHostWords[word];
    auto run = reinterpret_cast<int (*)(uintptr_t*)>(reinterpret_cast<void*>(function));
    PageUser user(session, GetCurrentThreadId(), nullptr, true, line.words[1]);
    std::thread userThread([&] { user.Play(steps); });
    const ULONGLONG started = GetTickCount64();
    SetLastError(ERROR_SUCCESS);
    const int code = run(session.record.data());
    const DWORD error = GetLastError();
    const ULONGLONG ended = GetTickCount64();
    user.m_pageDone = true;
    userThread.join();
    if (user.ForcedQuit()) {
        // The quit message that ended the page was ours; it must not end anything else.
        MSG quit;
        PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
    const ULONGLONG found = user.PageFoundAt();
    session.pageCreationMs = (found ? found : ended) - started;
    // A page that was never shown (its resource library is missing, its window could not be
    // made) left nothing to act on.
    if (code == Setup::WIZARD_NOT_CREATED && !found) {
        user.TakeLines();
        PageNotCreated(session, line, steps, error);
        return std::to_wstring(code);
    }
    pages::ReportUser(user, report);
    if (const auto failure = user.Error())
        throw *failure;
    return std::to_wstring(code);
}

}  // namespace runner
