#include "PageSteps.h"

#include "DialogAnswerer.h"

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
    PageUser(WiraxSession& session, DWORD pageThread, HWND panel, bool wizard)
        : m_session(session), m_pageThread(pageThread), m_panel(panel), m_wizard(wizard)
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
            for (const Step& step : steps) {
                if (m_session.options.show)
                    Sleep(kShownStepPauseMs);
                PlayStep(step);
            }
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
};

CProduct* PageProduct(WiraxSession& session)
{
    return reinterpret_cast<CProduct*>(session.record[PageRecord::kProduct]);
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
            }
            return 0;
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
    HWND panel = CreateWindowExW(0, L"HostrunConfigurationPanel", L"Configuration", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                 CW_USEDEFAULT, CW_USEDEFAULT, 640, 400, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(panel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    return panel;
}

void FitPanelToPage(HWND panel, IConfigPage* page)
{
    RECT frame{0, 0, 0, page->GetHeight()};
    RECT pageArea;
    GetWindowRect(page->GetWindow(), &pageArea);
    frame.right = pageArea.right - pageArea.left;
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    SetWindowPos(panel, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(page->GetWindow(), SW_SHOW);
    ShowWindow(panel, SW_SHOW);
}

// Pumps the thread's messages until done is set (the user's steps ran) or, with no flag, until
// the user closes the panel.
void PumpPanel(HWND panel, IConfigPage* page, const std::atomic<bool>* done)
{
    MSG message;
    for (;;) {
        if (done && *done)
            return;
        if (!done && !IsWindowVisible(panel))
            return;
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT) == WAIT_TIMEOUT)
            continue;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return;
            if (message.message == WM_SYSCOMMAND && message.hwnd == panel && (message.wParam & 0xFFF0) == SC_CLOSE) {
                ShowWindow(panel, SW_HIDE);
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
    const bool shownToUser = session.options.show && stepLines.empty();
    if (stepLines.empty() && word.value_or(L"commit") == L"commit" && !shownToUser)
        stepLines.push_back(ScenarioLine{line.number, {L"user", L"commit"}});
    const std::vector<Step> steps = ReadSteps(stepLines, false);

    Report& report = *session.report;
    PointRecordAtProduct(session);
    PanelState state;
    state.session = &session;
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
    FitPanelToPage(panel, page);

    PageUser user(session, GetCurrentThreadId(), panel, false);
    user.SetPage(page->GetWindow());
    std::atomic<bool> stepsDone{false};
    std::thread userThread([&] {
        user.Play(steps);
        stepsDone = true;
        PostMessageW(panel, WM_NULL, 0, 0);
    });
    PumpPanel(panel, page, &stepsDone);
    userThread.join();
    if (shownToUser) {
        PumpPanel(panel, page, nullptr);
        if (word.value_or(L"commit") == L"commit")
            state.commits.push_back(page->Commit());
    }
    ReportUser(user, report);
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
    const bool shownToUser = session.options.show && stepLines.empty();
    if (stepLines.empty() && !shownToUser) {
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
    if (shownToUser)
        return std::to_wstring(run(session.record.data()));

    PageUser user(session, GetCurrentThreadId(), nullptr, true);
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
