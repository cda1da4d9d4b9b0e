#include "PageSteps.h"

#include "DialogAnswerer.h"
#include "PageShotSupport.h"

#include <HostPage.h>
#include <commctrl.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

namespace runner {

namespace {

using hostkit::ScenarioError;
using hostkit::ScenarioLine;

constexpr UINT kHostCommit = WM_APP + 1;           // lParam: the step
constexpr UINT kHostPropertyChanged = WM_APP + 2;  // lParam: the step
constexpr UINT kHostWaits = WM_APP + 3;            // the scenario's steps ran; the panel's buttons are the user's
constexpr int kNextButton = 30001;                 // the host panel's button row
constexpr int kCancelButton = 30002;
// Marks the window (host panel or wizard page) while the runner waits for the user on it, so
// that a program standing in for the user knows when to act.
constexpr wchar_t kWaitingProperty[] = L"HostrunWaitsForUser";
constexpr DWORD kPictureSettleMs = 400;  // a window just shown or changed paints first
constexpr DWORD kStepTimeoutMs = 30000;
constexpr DWORD kLeaveTimeoutMs = 10000;
constexpr DWORD kShownStepPauseMs = 600;
constexpr int kPageHeightChangedCode = -610;

enum class StepKind { Click, Check, Clear, Type, Select, Answer, Commit, PropertyChanged };

struct Step {
    int line = 0;
    StepKind kind = StepKind::Click;
    int control = 0;
    std::wstring text;  // typed text, selected or list item, property name
    std::optional<std::wstring> value;
    int answer = 0;
    std::wstring said;     // the scenario's words, for the report
    bool ifAsked = false;  // an answer of the one-word form: no dialog to answer is no mistake
};

// ---------------------------------------------------------------------------------------------
// Reading the steps

int AnswerButton(const ScenarioLine& line, const std::wstring& word)
{
    if (word == L"ok")
        return IDOK;
    if (word == L"cancel")
        return IDCANCEL;
    if (word == L"yes")
        return IDYES;
    if (word == L"no")
        return IDNO;
    throw ScenarioError(line.number, L"expected ok, yes, no or cancel, found '" + word + L"'");
}

std::wstring Joined(const std::vector<std::wstring>& words)
{
    std::wstring said;
    for (const std::wstring& word : words) {
        if (!said.empty())
            said += L" ";
        said += word.find(L' ') == std::wstring::npos && !word.empty() ? word : L"\"" + word + L"\"";
    }
    return said;
}

Step ReadStep(const ScenarioLine& line, bool wizard)
{
    Step step;
    step.line = line.number;
    step.said = Joined(line.words);
    const std::wstring& who = line.words[0];
    if (who == L"host") {
        hostkit::ExpectWords(line, 2, 3, L"host changed NAME [VALUE]");
        if (line.words[1] != L"changed")
            throw ScenarioError(line.number, L"unknown host step '" + line.words[1] + L"' (host changed NAME [VALUE])");
        if (wizard)
            throw ScenarioError(line.number, L"a wizard page is not told about property changes");
        step.kind = StepKind::PropertyChanged;
        step.text = line.words[2];
        if (line.words.size() > 3)
            step.value = line.words[3];
        return step;
    }
    hostkit::ExpectWords(line, 1, 3, L"user ACTION [CONTROL-ID] [TEXT]");
    const std::wstring& action = line.words[1];
    const auto control = [&]() {
        if (line.words.size() < 3)
            throw ScenarioError(line.number, L"'user " + action + L"' needs a control id");
        return static_cast<int>(hostkit::ParseNumber(line, line.words[2]));
    };
    static const std::pair<const wchar_t*, int> wizardButtons[] = {
        {L"next", IDOK}, {L"back", 1001}, {L"first", 1278}, {L"cancel", IDCANCEL}};
    for (const auto& [name, id] : wizardButtons) {
        if (action != name)
            continue;
        if (!wizard)
            throw ScenarioError(line.number, L"'user " + action + L"' is a wizard page's button; a configuration page is left with 'user commit'");
        hostkit::ExpectWords(line, 1, 1, L"user next|back|first|cancel");
        step.kind = StepKind::Click;
        step.control = id;
        return step;
    }
    if (action == L"commit") {
        if (wizard)
            throw ScenarioError(line.number, L"a wizard page is left with next, back, first or cancel, not committed");
        hostkit::ExpectWords(line, 1, 1, L"user commit");
        step.kind = StepKind::Commit;
    } else if (action == L"answer") {
        hostkit::ExpectWords(line, 2, 2, L"user answer ok|yes|no|cancel");
        step.kind = StepKind::Answer;
        step.answer = AnswerButton(line, line.words[2]);
    } else if (action == L"click") {
        hostkit::ExpectWords(line, 2, 2, L"user click CONTROL-ID");
        step.kind = StepKind::Click;
        step.control = control();
    } else if (action == L"check" || action == L"clear") {
        step.kind = action == L"check" ? StepKind::Check : StepKind::Clear;
        step.control = control();
        if (line.words.size() > 3)
            step.text = line.words[3];
    } else if (action == L"type" || action == L"select") {
        hostkit::ExpectWords(line, 3, 3, action == L"type" ? L"user type CONTROL-ID TEXT" : L"user select CONTROL-ID TEXT");
        step.kind = action == L"type" ? StepKind::Type : StepKind::Select;
        step.control = control();
        step.text = line.words[3];
    } else {
        throw ScenarioError(line.number, L"unknown user action '" + action + L"' (click, check, clear, type, select, answer, "
                                         + (wizard ? L"next, back, first, cancel)" : L"commit)"));
    }
    return step;
}

std::vector<Step> ReadSteps(const std::vector<ScenarioLine>& lines, bool wizard)
{
    std::vector<Step> steps;
    for (const ScenarioLine& line : lines)
        steps.push_back(ReadStep(line, wizard));
    return steps;
}

// Where the steps that leave the page begin: the last one, when it is the host's commit of a
// configuration page or a button of a wizard page, with the answers right before it (they are
// for the dialogs that leaving opens). That is where the host waits for the user; with --show
// these steps are the user's to take. steps.size() when the steps do not leave the page.
size_t LeavingStepsStart(const std::vector<Step>& steps, bool wizard)
{
    if (steps.empty())
        return 0;
    const StepKind leaving = wizard ? StepKind::Click : StepKind::Commit;
    if (steps.back().kind != leaving)
        return steps.size();
    size_t start = steps.size() - 1;
    while (start > 0 && steps[start - 1].kind == StepKind::Answer)
        --start;
    return start;
}

// ---------------------------------------------------------------------------------------------
// Windows as the user sees them

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window)
{
    wchar_t text[1024] = L"";
    GetWindowTextW(window, text, 1024);
    return text;
}

bool IsClass(HWND window, const wchar_t* name) { return _wcsicmp(ClassOf(window).c_str(), name) == 0; }

// The visible top-level dialogs of the thread that shows the page.
std::set<HWND> DialogsOf(DWORD thread)
{
    std::set<HWND> dialogs;
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM found) -> BOOL {
            if (IsWindowVisible(window) && ClassOf(window) == L"#32770")
                reinterpret_cast<std::set<HWND>*>(found)->insert(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

LONG ButtonType(HWND control) { return GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK; }

bool IsCheckBox(HWND control)
{
    const LONG type = ButtonType(control);
    return IsClass(control, L"Button")
           && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE);
}

// ---------------------------------------------------------------------------------------------
// The user: plays the steps from its own thread while the page's thread runs the page.

class PageUser {
public:
    // name: the page's export, for the pictures. panelLeft: set by a configuration page's panel
    // once the user left the page with its buttons.
    PageUser(WiraxSession& session, DWORD pageThread, HWND panel, bool wizard, std::wstring name,
             const std::atomic<bool>* panelLeft = nullptr)
        : m_session(session), m_pageThread(pageThread), m_panel(panel), m_wizard(wizard), m_name(std::move(name)),
          m_panelLeft(panelLeft)
    {
    }

    // The page's window, once it is there (wizard pages: found by the user thread).
    void SetPage(HWND page) { m_page = page; }

    void Play(const std::vector<Step>& steps)
    {
        try {
            if (m_wizard && !WaitForWizard())
                Fail(0, L"the wizard page did not appear");
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

    // The first mistake the steps ran into, if any.
    std::optional<ScenarioError> Error() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_error;
    }
    std::vector<std::wstring> TakeLines()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::move(m_lines);
    }
    struct Answered {
        std::wstring caption, text, answer;
    };
    std::vector<Answered> TakeAnswered()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::move(m_answered);
    }
    bool ForcedQuit() const { return m_forcedQuit; }

private:
    [[noreturn]] static void Fail(int line, const std::wstring& message) { throw ScenarioError(line, message); }

    void Record(const ScenarioError& error)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_error)
            m_error = error;
    }
    void Say(const std::wstring& line)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lines.push_back(line);
    }

    // The scenario's steps before leaving ran: the host now waits for the user. The picture
    // shows the page as the user sees it then.
    void HostWaits()
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
    void WaitForUser()
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
    void TakePicture(HWND window, const std::wstring& name)
    {
        Sleep(kPictureSettleMs);
        wchar_t number[16];
        swprintf(number, 16, L"%02d-", ++m_session.pictures);
        const std::wstring file = number + name + pageshots::ScreenDpiSuffix() + L".png";
        if (!pageshots::SaveAs(window, m_session.options.pictures + L"\\" + file))
            Fail(0, L"cannot save the picture " + file + L" in " + m_session.options.pictures);
        Say(L"picture " + file);
    }

    bool WaitForWizard()
    {
        const ULONGLONG deadline = GetTickCount64() + kStepTimeoutMs;
        while (GetTickCount64() < deadline && !m_pageDone) {
            for (HWND dialog : DialogsOf(m_pageThread)) {
                if (TextOf(dialog) == L"Error")
                    continue;  // the resource loader's box, answered by the host
                m_page = dialog;
                Sleep(200);  // the page finishes its own initialisation first
                return true;
            }
            Sleep(20);
        }
        return false;
    }

    HWND CurrentDialog()
    {
        if (m_current && (!IsWindow(m_current) || !IsWindowVisible(m_current)))
            m_current = nullptr;
        return m_current ? m_current : m_page;
    }

    HWND Control(const Step& step, HWND dialog)
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

    std::wstring DialogName(HWND dialog) const
    {
        if (dialog == m_page)
            return L"the page";
        return L"the dialog \"" + TextOf(dialog) + L"\"";
    }

    // What the step does, run on a thread of its own: it may not come back until a dialog the
    // page opens is closed again.
    std::function<void()> ActionFor(const Step& step)
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
        const HWND control = Control(step, dialog);
        switch (step.kind) {
        case StepKind::Click:
            if (!IsClass(control, L"Button") || IsCheckBox(control))
                Fail(step.line, L"control " + std::to_wstring(step.control) + L" is not a button or radio button"
                                    + (IsCheckBox(control) ? L" (it is a check box: check or clear it)" : L""));
            return [control] { SendMessageW(control, BM_CLICK, 0, 0); };
        case StepKind::Check:
        case StepKind::Clear: {
            const bool wanted = step.kind == StepKind::Check;
            if (IsClass(control, WC_LISTVIEWW))
                return ListItemCheck(step, control, wanted);
            if (!IsCheckBox(control))
                Fail(step.line, L"control " + std::to_wstring(step.control) + L" is not a check box");
            if (!step.text.empty())
                Fail(step.line, L"a check box has no items");
            if ((SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED) == wanted)
                return [] {};
            return [control] { SendMessageW(control, BM_CLICK, 0, 0); };
        }
        case StepKind::Type: {
            HWND edit = control;
            if (IsClass(control, L"ComboBox"))
                edit = FindWindowExW(control, nullptr, L"Edit", nullptr);
            if (!edit || !IsClass(edit, L"Edit"))
                Fail(step.line, L"control " + std::to_wstring(step.control) + L" is not an edit box");
            if (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY)
                Fail(step.line, L"control " + std::to_wstring(step.control) + L" is read-only");
            const std::wstring text = step.text;
            return [edit, text] { SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())); };
        }
        case StepKind::Select:
            return Selection(step, control);
        default:
            Fail(step.line, L"not a step on a control");
        }
    }

    std::function<void()> ListItemCheck(const Step& step, HWND list, bool wanted)
    {
        if (step.text.empty())
            Fail(step.line, L"name the list item: user check " + std::to_wstring(step.control) + L" \"ITEM\"");
        LVFINDINFOW find{};
        find.flags = LVFI_STRING;
        find.psz = step.text.c_str();
        const int item = static_cast<int>(SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
        if (item < 0)
            Fail(step.line, L"list " + std::to_wstring(step.control) + L" has no item \"" + step.text + L"\"");
        return [list, item, wanted] {
            LVITEMW state{};
            state.stateMask = LVIS_STATEIMAGEMASK;
            state.state = INDEXTOSTATEIMAGEMASK(wanted ? 2 : 1);
            SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&state));
        };
    }

    std::function<void()> Selection(const Step& step, HWND control)
    {
        const bool combo = IsClass(control, L"ComboBox");
        if (!combo && !IsClass(control, L"ListBox"))
            Fail(step.line, L"control " + std::to_wstring(step.control) + L" is not a combo box or list box");
        const UINT findMessage = combo ? CB_FINDSTRINGEXACT : LB_FINDSTRINGEXACT;
        const LRESULT index = SendMessageW(control, findMessage, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(step.text.c_str()));
        if (index < 0)
            Fail(step.line, L"control " + std::to_wstring(step.control) + L" has no item \"" + step.text + L"\"");
        const int id = step.control;
        return [control, combo, index, id] {
            SendMessageW(control, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
            // A program's selection is not announced; the user's is.
            SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(id, combo ? CBN_SELCHANGE : LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(control));
        };
    }

    void PlayStep(const Step& step)
    {
        if (step.kind == StepKind::Answer) {
            m_pendingAnswer = step.answer;
            m_pendingAnswerLine = step.line;
            m_pendingAnswerIfAsked = step.ifAsked;
            Say(L"step: " + step.said);
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
    }

    // A dialog the page opened: answered when the scenario said how, otherwise the next steps
    // act on it. True when the step ends there.
    bool NewDialogOpened(const Step& step)
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

    void FinishSteps(int lastLine)
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
    void Unwind()
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
                PostThreadMessageW(m_pageThread, WM_QUIT, 1603, 0);
            }
        }
    }

public:
    std::atomic<bool> m_pageDone{false};

private:
    WiraxSession& m_session;
    DWORD m_pageThread;
    HWND m_panel;
    bool m_wizard;
    std::wstring m_name;
    const std::atomic<bool>* m_panelLeft;
    HWND m_page = nullptr;
    HWND m_current = nullptr;
    std::set<HWND> m_known;
    std::optional<int> m_pendingAnswer;
    int m_pendingAnswerLine = 0;
    bool m_pendingAnswerIfAsked = false;
    std::vector<std::thread> m_actions;
    std::atomic<bool> m_forcedQuit{false};
    mutable std::mutex m_mutex;
    std::optional<ScenarioError> m_error;
    std::vector<std::wstring> m_lines;
    std::vector<Answered> m_answered;
};

void ReportUser(PageUser& user, Report& report)
{
    for (const std::wstring& line : user.TakeLines())
        report.Line(line);
    for (const PageUser::Answered& answered : user.TakeAnswered()) {
        report.Line(L"the page showed " + Quoted(answered.caption) + L": " + Quoted(answered.text) + L" (answered "
                    + answered.answer + L")");
        report.Fact(L"dialog " + answered.caption + L" | " + answered.text);
    }
}

// ---------------------------------------------------------------------------------------------
// The host panel a configuration page lives in

struct PanelState {
    IConfigPage* page = nullptr;
    WiraxSession* session = nullptr;
    Report* report = nullptr;
    std::vector<bool> commits;
    std::vector<std::wstring> notices;  // report lines, in order
    std::vector<std::wstring> noticeFacts;
    // The host's button row under the page, when a user sees the page (--show, or its picture).
    bool buttonRow = false;
    HWND next = nullptr;
    HWND cancel = nullptr;
    HWND rule = nullptr;
    HFONT font = nullptr;
    bool waiting = false;            // the buttons are the user's
    std::atomic<bool> left{false};   // the user left the page with them
    std::vector<std::wstring> userLines;

    PanelState() = default;
    PanelState(const PanelState&) = delete;
    PanelState& operator=(const PanelState&) = delete;
    ~PanelState()
    {
        if (font)
            DeleteObject(font);
    }
};

int Scaled(int pixels)
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return MulDiv(pixels, dpi, 96);
}

// A panel the user moves through is sized by the host, like a dialog: no minimise or maximise.
DWORD PanelStyle(const PanelState& state)
{
    return state.buttonRow ? WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU : WS_OVERLAPPEDWINDOW;
}

int ButtonRowHeight(const PanelState& state) { return state.buttonRow ? Scaled(44) : 0; }

// The page fills the panel's top; the button row, right-aligned, sits under a rule.
void LayOutButtonRow(HWND panel, const PanelState& state)
{
    if (!state.buttonRow)
        return;
    RECT client;
    GetClientRect(panel, &client);
    const int rowTop = client.bottom - ButtonRowHeight(state);
    const int width = Scaled(88);
    const int height = Scaled(26);
    const int gap = Scaled(8);
    const int top = rowTop + (ButtonRowHeight(state) - height) / 2;
    SetWindowPos(state.rule, nullptr, 0, rowTop, client.right, 2, SWP_NOZORDER);
    SetWindowPos(state.cancel, nullptr, client.right - gap - width, top, width, height, SWP_NOZORDER);
    SetWindowPos(state.next, nullptr, client.right - 2 * gap - 2 * width, top, width, height, SWP_NOZORDER);
}

void CreateButtonRow(HWND panel, PanelState& state)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        state.font = CreateFontIndirectW(&metrics.lfMessageFont);
    const auto child = [&](const wchar_t* type, const wchar_t* text, DWORD style, int id) {
        HWND control = CreateWindowExW(0, type, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, panel,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.font ? state.font : GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        return control;
    };
    state.rule = child(L"Static", L"", SS_ETCHEDHORZ, 0);
    // Disabled while the scenario plays its steps: the page is not the user's yet.
    state.next = child(L"Button", L"Next >", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_DISABLED, kNextButton);
    state.cancel = child(L"Button", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, kCancelButton);
}

void LeavePage(HWND panel, PanelState& state)
{
    state.waiting = false;
    RemovePropW(panel, kWaitingProperty);
    EnableWindow(state.next, FALSE);
    EnableWindow(state.cancel, FALSE);
    state.left = true;
}

// The user's buttons: Next > commits the page as the host does and goes on, unless the page
// refuses (it then says why and stays); Cancel, or closing the panel, leaves it uncommitted.
void UserPressed(HWND panel, PanelState& state, int button)
{
    if (!state.waiting)
        return;
    if (button == kCancelButton) {
        state.userLines.push_back(L"the user pressed Cancel: the page is left without a commit");
        LeavePage(panel, state);
        return;
    }
    const bool committed = state.page->Commit();
    state.commits.push_back(committed);
    state.userLines.push_back(committed ? L"the user pressed Next >: the host committed the page"
                                        : L"the user pressed Next >: the page refused the commit and stays");
    if (committed)
        LeavePage(panel, state);
}

CProduct* PageProduct(WiraxSession& session)
{
    return reinterpret_cast<CProduct*>(session.record[PageRecord::kProduct]);
}

void FitPanelToPage(HWND panel, IConfigPage* page, const PanelState& state)
{
    RECT frame{0, 0, 0, page->GetHeight() + ButtonRowHeight(state)};
    RECT pageArea;
    GetWindowRect(page->GetWindow(), &pageArea);
    frame.right = pageArea.right - pageArea.left;
    AdjustWindowRect(&frame, PanelStyle(state), FALSE);
    SetWindowPos(panel, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
    LayOutButtonRow(panel, state);
    ShowWindow(page->GetWindow(), SW_SHOW);
    ShowWindow(panel, SW_SHOW);
    if (state.buttonRow)
        SetForegroundWindow(panel);  // the user works in it, and its picture shows it active
}

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* state = reinterpret_cast<PanelState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (state) {
        switch (message) {
        case WM_COPYDATA: {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            const size_t characters = data && data->lpData ? data->cbData / sizeof(wchar_t) : 0;
            std::wstring name(static_cast<const wchar_t*>(data ? data->lpData : nullptr) ? static_cast<const wchar_t*>(data->lpData) : L"",
                              characters);
            name.resize(wcsnlen(name.c_str(), name.size()));
            state->notices.push_back(L"the page told the host that " + name + L" changed");
            state->noticeFacts.push_back(L"page-notice property " + name);
            return TRUE;
        }
        case WM_NOTIFY:
            if (lParam && static_cast<int>(reinterpret_cast<const NMHDR*>(lParam)->code) == kPageHeightChangedCode) {
                state->notices.push_back(L"the page told the host that its height changed");
                state->noticeFacts.push_back(L"page-notice height");
                if (state->buttonRow && state->page)
                    PostMessageW(window, kHostWaits, 1, 0);  // fit the panel again once the page settled
            }
            return 0;
        case kHostWaits:
            if (wParam == 0) {
                state->waiting = true;
                SetPropW(window, kWaitingProperty, reinterpret_cast<HANDLE>(1));
                EnableWindow(state->next, TRUE);
                EnableWindow(state->cancel, TRUE);
            }
            FitPanelToPage(window, state->page, *state);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == kNextButton || LOWORD(wParam) == kCancelButton) {
                UserPressed(window, *state, LOWORD(wParam));
                return 0;
            }
            break;
        case WM_SIZE:
            LayOutButtonRow(window, *state);
            break;
        case kHostCommit:
            state->commits.push_back(state->page->Commit());
            return 0;
        case kHostPropertyChanged: {
            const Step& step = *reinterpret_cast<const Step*>(lParam);
            if (step.value) {
                if (CProduct* product = PageProduct(*state->session))
                    product->SeedProperty(step.text, *step.value);
            }
            state->page->OnPropertyChanged(step.text.c_str());
            return 0;
        }
        default:
            break;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreatePanel(PanelState& state)
{
    WNDCLASSW panelClass{};
    panelClass.lpfnWndProc = PanelProc;
    panelClass.hInstance = GetModuleHandleW(nullptr);
    panelClass.lpszClassName = L"HostrunConfigurationPanel";
    panelClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    panelClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassW(&panelClass);
    HWND panel = CreateWindowExW(0, L"HostrunConfigurationPanel", L"Configuration", PanelStyle(state) | WS_CLIPCHILDREN,
                                 CW_USEDEFAULT, CW_USEDEFAULT, 640, 400, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(panel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    if (state.buttonRow)
        CreateButtonRow(panel, state);
    return panel;
}


// Pumps the thread's messages until done is set (the user's steps ran and, with --show, the user
// left the page).
void PumpPanel(HWND panel, IConfigPage* page, const std::atomic<bool>& done)
{
    MSG message;
    for (;;) {
        if (done)
            return;
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT) == WAIT_TIMEOUT)
            continue;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return;
            if (message.message == WM_SYSCOMMAND && message.hwnd == panel && (message.wParam & 0xFFF0) == SC_CLOSE) {
                PostMessageW(panel, WM_COMMAND, MAKEWPARAM(kCancelButton, BN_CLICKED), 0);
                continue;
            }
            if (!IsWindow(page->GetWindow()) || !IsDialogMessageW(page->GetWindow(), &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }
}

// The words after the export's name in the older one-word form ("commit", "keep", "next", ...).
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
    CProduct* product = session.setup.FindProduct(line.words[1].c_str());
    if (!product)
        throw ScenarioError(line.number, L"product '" + line.words[1] + L"' is not declared; add a 'product " + line.words[1] + L"' line first");
    session.record[PageRecord::kProduct] = reinterpret_cast<uintptr_t>(product);
    report.Line(L"pages configure " + line.words[1]);
}

const bool kRegistered = [] {
    WiraxDirectives()[L"page-product"] = ChoosePageProduct;
    return true;
}();

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
    // The older form: the host commits when it closes the panel unless told to keep the page.
    if (stepLines.empty() && word.value_or(L"commit") == L"commit")
        stepLines.push_back(ScenarioLine{line.number, {L"user", L"commit"}});
    const std::vector<Step> steps = ReadSteps(stepLines, false);

    Report& report = *session.report;
    PointRecordAtProduct(session);
    PanelState state;
    state.session = &session;
    state.buttonRow = session.options.show || !session.options.pictures.empty();
    HWND panel = CreatePanel(state);
    session.record[PageRecord::kParentWindow] = reinterpret_cast<uintptr_t>(panel);
    auto create = reinterpret_cast<IConfigPage* (*)(uintptr_t*)>(reinterpret_cast<void*>(function));
    IConfigPage* page = create(session.record.data());
    session.record[PageRecord::kParentWindow] = 0;
    if (!page) {
        DestroyWindow(panel);
        return L"no page";
    }
    state.page = page;
    std::wstring result = L"page of height " + std::to_wstring(page->GetHeight());
    FitPanelToPage(panel, page, state);

    PageUser user(session, GetCurrentThreadId(), panel, false, line.words[1], &state.left);
    user.SetPage(page->GetWindow());
    std::atomic<bool> stepsDone{false};
    std::thread userThread([&] {
        user.Play(steps);
        stepsDone = true;
        PostMessageW(panel, WM_NULL, 0, 0);
    });
    PumpPanel(panel, page, stepsDone);
    userThread.join();
    ReportUser(user, report);
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
    if (const auto error = user.Error())
        throw *error;
    return result;
}

std::wstring PlayWizardPage(WiraxSession& session, FARPROC function, const ScenarioLine& line)
{
    const std::wstring usage = L"call " + line.words[1] + L" [next|back|first|cancel], or user steps on the lines after it";
    const std::optional<std::wstring> word = OneWordForm(line, usage.c_str());
    std::vector<ScenarioLine> stepLines = TakeSteps(session);
    if (word && !stepLines.empty())
        throw ScenarioError(line.number, L"either '" + *word + L"' or user steps, not both");
    if (stepLines.empty()) {
        // The older form: one button, and a cancel question answered Yes.
        const std::wstring button = word.value_or(L"next");
        if (button == L"cancel")
            stepLines.push_back(ScenarioLine{line.number, {L"user", L"answer", L"yes"}});
        stepLines.push_back(ScenarioLine{line.number, {L"user", button}});
    }
    std::vector<Step> steps = ReadSteps(stepLines, true);
    if (word == L"cancel")
        steps.front().ifAsked = true;

    Report& report = *session.report;
    PointRecordAtProduct(session);
    session.record[PageRecord::kHostWords] = 1;  // the host has a page before this one
    auto run = reinterpret_cast<int (*)(uintptr_t*)>(reinterpret_cast<void*>(function));
    PageUser user(session, GetCurrentThreadId(), nullptr, true, line.words[1]);
    std::thread userThread([&] { user.Play(steps); });
    const int code = run(session.record.data());
    user.m_pageDone = true;
    userThread.join();
    if (user.ForcedQuit()) {
        // The quit message that ended the page was ours; it must not end anything else.
        MSG quit;
        PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
    // A page that was never created (its resource library is missing) leaves nothing to act on:
    // that is the export's answer, not a mistake of the scenario.
    if (code == 1603) {
        report.Line(L"the page was not created; its steps were not played");
        return std::to_wstring(code);
    }
    ReportUser(user, report);
    if (const auto error = user.Error())
        throw *error;
    return std::to_wstring(code);
}

}  // namespace runner
