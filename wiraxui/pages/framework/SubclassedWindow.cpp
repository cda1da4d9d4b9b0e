#include "pages/framework/SubclassedWindow.h"

#include <commctrl.h>

namespace wiraxui {

namespace {
UINT_PTR SubclassId(const CSubclassedWindow* window) { return reinterpret_cast<UINT_PTR>(window); }
}

CSubclassedWindow::~CSubclassedWindow() { UnsubclassWindow(); }

BOOL CSubclassedWindow::SubclassWindow(HWND window)
{
    if (m_hWnd || !IsWindow(window))
        return FALSE;
    if (!SetWindowSubclass(window, SubclassProc, SubclassId(this), reinterpret_cast<DWORD_PTR>(this)))
        return FALSE;
    m_hWnd = window;
    OnAttached();
    return TRUE;
}

HWND CSubclassedWindow::UnsubclassWindow()
{
    HWND window = m_hWnd;
    if (window && IsWindow(window)) {
        OnDetaching();
        RemoveWindowSubclass(window, SubclassProc, SubclassId(this));
    }
    m_hWnd = nullptr;
    return window;
}

LRESULT CSubclassedWindow::CallOriginal(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefSubclassProc(m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CSubclassedWindow::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                 DWORD_PTR self)
{
    auto* control = reinterpret_cast<CSubclassedWindow*>(self);
    if (message == WM_NCDESTROY) {
        control->OnDetaching();
        RemoveWindowSubclass(window, SubclassProc, SubclassId(control));
        control->m_hWnd = nullptr;
        return DefSubclassProc(window, message, wParam, lParam);
    }
    LRESULT result = 0;
    try {
        if (control->OnMessage(message, wParam, lParam, result))
            return result;
    } catch (...) {
        // Nothing may unwind through the window manager's frames; the control behaves as plain.
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace wiraxui
