#include "pages/PageUser.h"

#include "DialogAnswerer.h"
#include "PageShotSupport.h"
#include "pages/StepActions.h"

#include <HostVocabulary.h>

#include <memory>

namespace runner::pages {

using hostkit::ScenarioError;

PageUser::PageUser(WiraxSession& session, DWORD pageThread, HWND panel, bool wizard, std::wstring name,
                   const std::atomic<bool>* panelLeft)
    : m_session(session), m_pageThread(pageThread), m_panel(panel), m_wizard(wizard), m_name(std::move(name)),
      m_panelLeft(panelLeft)
{
}

std::optional<ScenarioError> PageUser::Error() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_error;
}

std::vector<std::wstring> PageUser::TakeLines()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::move(m_lines);
}

std::vector<std::wstring> PageUser::TakeFacts()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::move(m_facts);
}

std::vector<PageUser::Answered> PageUser::TakeAnswered()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::move(m_answered);
}

void PageUser::Fail(int line, const std::wstring& message) { throw ScenarioError(line, message); }

void PageUser::Record(const ScenarioError& error)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_error)
        m_error = error;
}

void PageUser::Say(const std::wstring& line)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.push_back(line);
}

void PageUser::Tell(const std::wstring& line, const std::wstring& fact)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.push_back(line);
    m_facts.push_back(fact);
}

// The navigation buttons as the page shows them once it is up: which it has, which are enabled.
void PageUser::TellWizardButtons()
{
    static const std::pair<int, const wchar_t*> buttons[] = {{1278, L"first"}, {1001, L"back"}, {IDOK, L"next"}, {IDCANCEL, L"cancel"}};
    std::wstring shown;
    for (const auto& [id, name] : buttons) {
        HWND button = GetDlgItem(m_page, id);
        if (!button || !IsWindowVisible(button))
            continue;
        shown += (shown.empty() ? L"" : L" ") + std::wstring(name) + (IsWindowEnabled(button) ? L"=enabled" : L"=disabled");
    }
    Tell(L"the page's buttons: " + shown, L"wizard-buttons " + shown);
}

// What the step does: the host's steps go to the host panel; the user's act on a control of
// the current dialog (StepActions.h).
std::function<void()> PageUser::ActionFor(const Step& step)
{
    switch (step.kind) {
    case StepKind::Commit:
    case StepKind::PropertyChanged: {
        const UINT message = step.kind == StepKind::Commit ? kHostCommit : kHostPropertyChanged;
        const HWND panel = m_panel;
        const Step* what = &step;
        return [panel, message, what] { SendMessageW(panel, message, 0, reinterpret_cast<LPARAM>(what)); };
    }
    default:
        break;
    }
    const HWND dialog = CurrentDialog();
    if (!dialog || !IsWindow(dialog))
        Fail(step.line, L"the page is no longer shown");
    if (step.kind == StepKind::Key) {
        HWND control = Control(step, dialog);
        if (!FocusControl(control, m_pageThread))
            Fail(step.line, L"control " + std::to_wstring(step.control) + L" does not take the focus");
        Tell(L"the focus is on control " + std::to_wstring(step.control) + L"; the user presses " + step.text,
             L"key " + step.text + L" " + std::to_wstring(step.control));
        return PressKey(step, control, m_pageThread);
    }
    if (step.kind == StepKind::PressTwice) {
        if (step.control != IDOK)
            Fail(step.line, L"only Next lets the host in while the page handles it (its leave callbacks): press-twice next");
        if (!m_session.record[PageRecord::kLeaveList])
            Fail(step.line, L"a second press reaches the page while it handles the first only through the host's leave "
                            L"callback: give the page one first (page-callbacks leave 1)");
        HWND button = Control(step, dialog);
        return PressTwice(button, [this](bool during) {
            Tell(during ? L"the user pressed Next again while the page handled the first press"
                        : L"the page handled the first press without letting the host in; the second came after it",
                 L"second-press next " + std::wstring(during ? L"during-first" : L"after-first"));
        });
    }
    HWND control = Control(step, dialog);
    StepAction action = ControlAction(m_session, step, control);
    if (step.kind == StepKind::Click && IsRichLabel(control))
        Tell(L"the user pressed the link \"" + step.text + L"\" of the rich label " + std::to_wstring(step.control),
             L"rich-link " + std::to_wstring(step.control) + L" " + step.text);
    return action;
}

void PageUser::Play(const std::vector<Step>& steps)
{
    try {
        if (m_wizard && !WaitForWizard())
            Fail(0, L"the wizard page did not appear");
        if (m_wizard && m_session.tellWizardButtons)
            TellWizardButtons();
        m_known = DialogsOf(m_pageThread);
        const bool show = m_session.options.show;
        const bool hostWaits = show || !m_session.options.pictures.empty();
        const size_t leaving = hostWaits ? LeavingStepsStart(steps, m_wizard) : steps.size();
        for (size_t i = 0; i < leaving; ++i) {
            if (show)
                Sleep(kShownStepPauseMs);
            PlayStep(steps[i]);
        }
        if (hostWaits)
            HostWaits();
        if (show)
            WaitForUser();
        else
            for (size_t i = leaving; i < steps.size(); ++i)
                PlayStep(steps[i]);
        FinishSteps(steps.empty() ? 0 : steps.back().line);
    } catch (const ScenarioError& error) {
        Record(error);
        Unwind();
    }
    for (std::thread& action : m_actions)
        action.join();
}

// The scenario's steps before leaving ran: the host now waits for the user. The picture
// shows the page as the user sees it then.
void PageUser::HostWaits()
{
    if (m_wizard && (m_pageDone || !IsWindow(m_page)))
        return;  // the steps ended the page already
    if (!m_wizard)
        SendMessageW(m_panel, kHostWaits, 0, 0);
    if (m_session.options.pictures.empty())
        return;
    TakePicture(m_wizard ? m_page : m_panel, m_name);
    // A dialog the steps left open is in front: what the user answers first.
    if (HWND dialog = CurrentDialog(); dialog && dialog != m_page)
        TakePicture(dialog, m_name + L"-dialog");
}

// --show: the page stays until the user leaves it, with the panel's buttons or, on a wizard
// page, with the page's own.
void PageUser::WaitForUser()
{
    if (!m_wizard) {
        while (!*m_panelLeft)
            Sleep(50);
        return;
    }
    if (m_pageDone || !IsWindow(m_page))
        return;
    SetPropW(m_page, kWaitingProperty, reinterpret_cast<HANDLE>(1));
    Say(L"the page waits for the user to press one of its buttons");
    while (!m_pageDone && IsWindow(m_page))
        Sleep(50);
}

// Saved as FOLDER\NN-NAME.png, numbered across the scenario in the order the user sees them.
void PageUser::TakePicture(HWND window, const std::wstring& name)
{
    Sleep(kPictureSettleMs);
    wchar_t number[16];
    swprintf(number, 16, L"%02d-", ++m_session.pictures);
    const std::wstring file = number + name + pageshots::ScreenDpiSuffix() + L".png";
    if (!pageshots::SaveAs(window, m_session.options.pictures + L"\\" + file))
        Fail(0, L"cannot save the picture " + file + L" in " + m_session.options.pictures);
    Say(L"picture " + file);
}

bool PageUser::WaitForWizard()
{
    const ULONGLONG deadline = GetTickCount64() + kStepTimeoutMs;
    while (GetTickCount64() < deadline && !m_pageDone) {
        for (HWND dialog : DialogsOf(m_pageThread)) {
            if (TextOf(dialog) == L"Error")
                continue;  // the resource loader's box, answered by the host
            const ULONGLONG found = GetTickCount64();
            Sleep(200);  // the page finishes its own initialisation first
            // A window that is gone by then (or turned out to be the loader's box, caught before
            // its caption was set) was no page.
            if (!IsWindow(dialog) || !IsWindowVisible(dialog) || TextOf(dialog) == L"Error")
                continue;
            m_page = dialog;
            m_pageFoundAt = found;
            return true;
        }
        Sleep(20);
    }
    return false;
}

HWND PageUser::CurrentDialog()
{
    if (m_current && (!IsWindow(m_current) || !IsWindowVisible(m_current)))
        m_current = nullptr;
    return m_current ? m_current : m_page;
}

HWND PageUser::Control(const Step& step, HWND dialog)
{
    HWND control = GetDlgItem(dialog, step.control);
    if (!control)
        Fail(step.line, L"there is no control " + std::to_wstring(step.control) + L" on " + DialogName(dialog));
    if (!IsWindowVisible(control))
        Fail(step.line, L"control " + std::to_wstring(step.control) + L" is hidden");
    if (!IsWindowEnabled(control))
        Fail(step.line, L"control " + std::to_wstring(step.control) + L" is disabled");
    return control;
}

std::wstring PageUser::DialogName(HWND dialog) const
{
    if (dialog == m_page)
        return L"the page";
    return L"the dialog \"" + TextOf(dialog) + L"\"";
}

void PageUser::PlayStep(const Step& step)
{
    if (step.kind == StepKind::Answer) {
        m_pendingAnswer = step.answer;
        m_pendingAnswerLine = step.line;
        m_pendingAnswerIfAsked = step.ifAsked;
        Say(L"step: " + step.said);
        return;
    }
    if (step.kind == StepKind::Read) {
        Read(step);
        return;
    }
    std::function<void()> action = ActionFor(step);
    Say(L"step: " + step.said);
    auto done = std::make_shared<std::atomic<bool>>(false);
    m_actions.emplace_back([action, done] {
        action();
        *done = true;
    });
    const ULONGLONG deadline = GetTickCount64() + kStepTimeoutMs;
    while (!*done) {
        if (GetTickCount64() > deadline)
            Fail(step.line, L"the step did not finish within " + std::to_wstring(kStepTimeoutMs / 1000) + L" s");
        if (m_wizard && (m_pageDone || !IsWindow(m_page)))
            return;
        if (NewDialogOpened(step))
            return;
        Sleep(20);
    }
    // A key's action ends once the page took the key, also when the key opened a dialog whose
    // own loop took the rest: that dialog is shown by then.
    if (step.kind == StepKind::Key)
        NewDialogOpened(step);
}

// Reading changes nothing, so it is done here rather than on an action's thread: the window's
// own thread answers the text (GetWindowTextW asks it, as it asks for any window of another
// thread).
void PageUser::Read(const Step& step)
{
    const HWND dialog = CurrentDialog();
    if (!dialog || !IsWindow(dialog))
        Fail(step.line, L"the page is no longer shown");
    std::wstring fact;
    if (step.text == L"caption") {
        const std::wstring caption = TextOf(dialog);
        Say(L"step: " + step.said + L": " + Quoted(caption));
        fact = L"window-caption " + caption;
    } else {
        // Hidden and disabled controls are read too: what a control says is there either way.
        const HWND control = GetDlgItem(dialog, step.control);
        if (!control)
            Fail(step.line, L"there is no control " + std::to_wstring(step.control) + L" on " + DialogName(dialog));
        const std::wstring text = TextOf(control);
        Say(L"step: " + step.said + L": " + Quoted(text));
        fact = L"control-text " + std::to_wstring(step.control) + L" " + text;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_facts.push_back(fact);
}

// A dialog the page opened: answered when the scenario said how, otherwise the next steps
// act on it. True when the step ends there.
bool PageUser::NewDialogOpened(const Step& step)
{
    for (HWND dialog : DialogsOf(m_pageThread)) {
        if (m_known.count(dialog) || !IsWindowEnabled(dialog))
            continue;
        m_known.insert(dialog);
        const std::wstring caption = TextOf(dialog);
        const std::wstring text = hostkit::StaticTexts(dialog);
        if (!m_pendingAnswer) {
            Say(L"the page opened \"" + caption + L"\": " + text);
            m_current = dialog;
            return true;
        }
        const int answer = *m_pendingAnswer;
        m_pendingAnswer.reset();
        HWND button = GetDlgItem(dialog, answer);
        if (!button)
            Fail(m_pendingAnswerLine, L"\"" + caption + L"\" has no button to answer it that way");
        static const std::pair<int, const wchar_t*> names[] = {{IDOK, L"OK"}, {IDCANCEL, L"Cancel"}, {IDYES, L"Yes"}, {IDNO, L"No"}};
        std::wstring answerName;
        for (const auto& [id, name] : names)
            answerName = id == answer ? name : answerName;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_answered.push_back({caption, text, answerName});
        }
        if (m_session.options.show)
            Sleep(kShownStepPauseMs);
        if (!m_session.options.pictures.empty())
            TakePicture(dialog, m_name + L"-dialog");
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }
    (void)step;
    return false;
}

void PageUser::FinishSteps(int lastLine)
{
    if (m_pendingAnswer && !m_pendingAnswerIfAsked)
        Fail(m_pendingAnswerLine, L"no dialog came to answer");
    if (HWND left = m_current; left && IsWindow(left) && IsWindowVisible(left))
        Fail(lastLine, L"\"" + TextOf(left) + L"\" is still open after the last step");
    if (!m_wizard)
        return;
    const ULONGLONG deadline = GetTickCount64() + kLeaveTimeoutMs;
    while (!m_pageDone && IsWindow(m_page)) {
        if (GetTickCount64() > deadline)
            Fail(lastLine, L"the wizard page is still open after the last step; leave it with next, back, first or cancel");
        Sleep(20);
    }
}

// After a mistake: close what the steps left open so that the page's thread comes back.
void PageUser::Unwind()
{
    for (HWND dialog : DialogsOf(m_pageThread)) {
        if (dialog != m_page && IsWindowEnabled(dialog))
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    if (m_wizard) {
        // Closing its dialogs lets a page go on; one that stays is ended with our own quit.
        const ULONGLONG deadline = GetTickCount64() + 2000;
        while (!m_pageDone && GetTickCount64() < deadline)
            Sleep(20);
        if (!m_pageDone) {
            m_forcedQuit = true;
            PostThreadMessageW(m_pageThread, WM_QUIT, Setup::WIZARD_NOT_CREATED, 0);
        }
    }
}

void ReportUser(PageUser& user, Report& report)
{
    for (const std::wstring& line : user.TakeLines())
        report.Line(line);
    for (const std::wstring& fact : user.TakeFacts())
        report.Fact(fact);
    for (const PageUser::Answered& answered : user.TakeAnswered()) {
        report.Line(L"the page showed " + Quoted(answered.caption) + L": " + Quoted(answered.text) + L" (answered "
                    + answered.answer + L")");
        report.Fact(L"dialog " + answered.caption + L" | " + answered.text);
    }
}

}  // namespace runner::pages
