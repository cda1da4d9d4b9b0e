// Steps on the ordinary controls of a page or dialog: push and radio buttons, check boxes, the
// items of a list view, edit boxes, combo and list boxes. Windows as the user sees them.
#include "pages/StepActions.h"

#include <commctrl.h>

namespace runner::pages {

namespace {

using hostkit::ScenarioError;

[[noreturn]] void Fail(const Step& step, const std::wstring& message) { throw ScenarioError(step.line, message); }

std::wstring Named(const Step& step) { return L"control " + std::to_wstring(step.control); }

LONG ButtonType(HWND control) { return GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK; }

StepAction Click(WiraxSession& session, const Step& step, HWND control)
{
    if (IsRichLabel(control)) {
        if (step.text.empty())
            Fail(step, Named(step) + L" is a rich label: name the link to press (user click " + std::to_wstring(step.control) + L" \"TEXT\")");
        return PressRichLabelLink(step, control);
    }
    if (!step.text.empty())
        Fail(step, Named(step) + L" is not a rich label: only a rich label's link is pressed by its text");
    if (IsLinkControl(control))
        return PressLink(session, control);
    if (!IsClass(control, L"Button") || IsCheckBox(control))
        Fail(step, Named(step) + L" is not a button, radio button or link"
                       + (IsCheckBox(control) ? L" (it is a check box: check or clear it)" : L""));
    return [control] { SendMessageW(control, BM_CLICK, 0, 0); };
}

StepAction ListItemCheck(const Step& step, HWND list, bool wanted)
{
    if (step.text.empty())
        Fail(step, L"name the list item: user check " + std::to_wstring(step.control) + L" \"ITEM\"");
    LVFINDINFOW find{};
    find.flags = LVFI_STRING;
    find.psz = step.text.c_str();
    const int item = static_cast<int>(SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
    if (item < 0)
        Fail(step, L"list " + std::to_wstring(step.control) + L" has no item \"" + step.text + L"\"");
    return [list, item, wanted] {
        LVITEMW state{};
        state.stateMask = LVIS_STATEIMAGEMASK;
        state.state = INDEXTOSTATEIMAGEMASK(wanted ? 2 : 1);
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&state));
    };
}

StepAction CheckOrClear(const Step& step, HWND control)
{
    const bool wanted = step.kind == StepKind::Check;
    if (IsClass(control, WC_LISTVIEWW))
        return ListItemCheck(step, control, wanted);
    if (!IsCheckBox(control))
        Fail(step, Named(step) + L" is not a check box");
    if (!step.text.empty())
        Fail(step, L"a check box has no items");
    if ((SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED) == wanted)
        return [] {};
    return [control] { SendMessageW(control, BM_CLICK, 0, 0); };
}

StepAction Type(const Step& step, HWND control)
{
    HWND edit = EditToTypeInto(control);
    if (!edit)
        Fail(step, Named(step) + L" is not an edit box");
    if (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY)
        Fail(step, Named(step) + L" is read-only");
    const std::wstring text = step.text;
    return [edit, text] { SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())); };
}

StepAction Selection(const Step& step, HWND control)
{
    const bool combo = IsClass(control, L"ComboBox");
    if (!combo && !IsClass(control, L"ListBox"))
        Fail(step, Named(step) + L" is not a combo box or list box");
    const UINT findMessage = combo ? CB_FINDSTRINGEXACT : LB_FINDSTRINGEXACT;
    const LRESULT index = SendMessageW(control, findMessage, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(step.text.c_str()));
    if (index < 0)
        Fail(step, Named(step) + L" has no item \"" + step.text + L"\"");
    const int id = step.control;
    return [control, combo, index, id] {
        SendMessageW(control, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        // A program's selection is not announced; the user's is.
        SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(id, combo ? CBN_SELCHANGE : LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(control));
    };
}

}  // namespace

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

bool IsCheckBox(HWND control)
{
    const LONG type = ButtonType(control);
    return IsClass(control, L"Button")
           && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE);
}

StepAction ControlAction(WiraxSession& session, const Step& step, HWND control)
{
    switch (step.kind) {
    case StepKind::Click:
        return Click(session, step, control);
    case StepKind::Check:
    case StepKind::Clear:
        return CheckOrClear(step, control);
    case StepKind::Type:
        return Type(step, control);
    case StepKind::Select:
        return Selection(step, control);
    default:
        Fail(step, L"not a step on a control");
    }
}

}  // namespace runner::pages
