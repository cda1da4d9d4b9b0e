// Small steps of the pages that show, hide or lock groups of their controls and shrink or grow
// with them.
#pragma once

#include <windows.h>

#include <initializer_list>

namespace wiraxui {

inline void ShowControls(HWND dialog, std::initializer_list<int> ids, bool show)
{
    for (int id : ids)
        ShowWindow(GetDlgItem(dialog, id), show ? SW_SHOW : SW_HIDE);
}

inline void EnableControls(HWND dialog, std::initializer_list<int> ids, bool enable)
{
    for (int id : ids)
        EnableWindow(GetDlgItem(dialog, id), enable ? TRUE : FALSE);
}

// Whether the control itself is shown, also while its page is not (yet) on the screen.
inline bool IsShown(HWND control)
{
    return control && (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

// The bottom edge of a control in its dialog's client coordinates; -1 without the control.
inline int ControlBottom(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    if (!control)
        return -1;
    RECT area;
    GetWindowRect(control, &area);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
    return area.bottom;
}

// Gives the dialog a client area that ends at bottom, keeping its width.
inline void SetClientHeight(HWND dialog, int bottom)
{
    RECT client;
    RECT frame;
    GetClientRect(dialog, &client);
    GetWindowRect(dialog, &frame);
    const int extra = (frame.bottom - frame.top) - (client.bottom - client.top);
    SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, bottom + extra,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Ends the dialog at control lastWhenShown while that control is shown, at lastWhenHidden
// otherwise; answers the new client height, or -1 (nothing changed) when the control is missing.
inline int FitClientHeight(HWND dialog, int lastWhenShown, int lastWhenHidden)
{
    const int bottom = ControlBottom(dialog, IsShown(GetDlgItem(dialog, lastWhenShown)) ? lastWhenShown : lastWhenHidden);
    if (bottom < 0)
        return -1;
    SetClientHeight(dialog, bottom);
    RECT client;
    GetClientRect(dialog, &client);
    return client.bottom - client.top;
}

}  // namespace wiraxui
