#include "HostCtrls.h"

#include <commctrl.h>

namespace {
// One subclass per control object: the object's address tells the subclasses apart.
UINT_PTR SubclassId(const CHostControl* control) { return reinterpret_cast<UINT_PTR>(control); }
}  // namespace

CHostControl::~CHostControl() { UnsubclassWindow(); }

BOOL CHostControl::SubclassWindow(HWND window)
{
    if (m_hWnd || !IsWindow(window))
        return FALSE;
    if (!SetWindowSubclass(window, SubclassProc, SubclassId(this), reinterpret_cast<DWORD_PTR>(this)))
        return FALSE;
    m_hWnd = window;
    OnAttached();
    return TRUE;
}

HWND CHostControl::UnsubclassWindow()
{
    HWND window = m_hWnd;
    if (window && IsWindow(window))
        RemoveWindowSubclass(window, SubclassProc, SubclassId(this));
    m_hWnd = nullptr;
    return window;
}

LRESULT CALLBACK CHostControl::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR self)
{
    auto* control = reinterpret_cast<CHostControl*>(self);
    LRESULT result = 0;
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, SubclassProc, SubclassId(control));
        control->m_hWnd = nullptr;
        return DefSubclassProc(window, message, wParam, lParam);
    }
    if (control->OnMessage(message, wParam, lParam, result))
        return result;
    return DefSubclassProc(window, message, wParam, lParam);
}
