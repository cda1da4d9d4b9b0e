// Typing into the common dialogs the pages open. The open-file dialog's name box (control 1148)
// is a combo box with an edit inside; under Wine it is a ComboBoxEx32, whose edit sits inside its
// own combo box. The user types into that edit, and the dialog reads the name from it when Open
// is pressed, so a "type" step writes there.
#include "pages/StepActions.h"

#include <commctrl.h>

namespace runner::pages {

namespace {

HWND EditOfComboBox(HWND combo)
{
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (GetComboBoxInfo(combo, &info) && info.hwndItem && IsClass(info.hwndItem, L"Edit"))
        return info.hwndItem;
    return FindWindowExW(combo, nullptr, L"Edit", nullptr);
}

HWND EditOfComboBoxEx(HWND comboEx)
{
    if (HWND edit = reinterpret_cast<HWND>(SendMessageW(comboEx, CBEM_GETEDITCONTROL, 0, 0)); edit && IsClass(edit, L"Edit"))
        return edit;
    HWND combo = reinterpret_cast<HWND>(SendMessageW(comboEx, CBEM_GETCOMBOCONTROL, 0, 0));
    if (!combo)
        combo = FindWindowExW(comboEx, nullptr, L"ComboBox", nullptr);
    return combo ? EditOfComboBox(combo) : nullptr;
}

}  // namespace

HWND EditToTypeInto(HWND control)
{
    HWND edit = control;
    if (IsClass(control, WC_COMBOBOXEXW))
        edit = EditOfComboBoxEx(control);
    else if (IsClass(control, L"ComboBox"))
        edit = EditOfComboBox(control);
    return edit && IsClass(edit, L"Edit") ? edit : nullptr;
}

}  // namespace runner::pages
