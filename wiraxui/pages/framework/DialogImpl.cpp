#include "pages/framework/DialogImpl.h"

#include "host/ResourceLibrary.h"

namespace wiraxui {

namespace {
// The object whose window CreateDialogParamW is creating on this thread, until the window's
// first message binds them.
thread_local CDialogImplBase* t_creating = nullptr;

bool ReturnsResultDirectly(UINT message)
{
    switch (message) {
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return true;
    default:
        return false;
    }
}

// The child control a notification comes from, or null.
HWND NotifyingControl(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY:
        return lParam ? reinterpret_cast<NMHDR*>(lParam)->hwndFrom : nullptr;
    case WM_PARENTNOTIFY:
        switch (LOWORD(wParam)) {
        case WM_CREATE:
        case WM_DESTROY:
            return reinterpret_cast<HWND>(lParam);
        default:
            return GetDlgItem(dialog, HIWORD(wParam));
        }
    case WM_DRAWITEM:
        return wParam && lParam ? reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_MEASUREITEM:
        return wParam && lParam ? GetDlgItem(dialog, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->CtlID) : nullptr;
    case WM_COMPAREITEM:
        return wParam && lParam ? reinterpret_cast<COMPAREITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_DELETEITEM:
        return wParam && lParam ? reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<HWND>(lParam);
    default:
        return nullptr;
    }
}

}  // namespace

CDialogImplBase::~CDialogImplBase()
{
    if (m_hWnd && IsWindow(m_hWnd)) {
        // The object is going: its window must not reach it any more while it goes too.
        SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
        ::DestroyWindow(m_hWnd);
    }
    m_hWnd = nullptr;
}

HWND CDialogImplBase::CreateModeless(HWND parent, UINT templateId)
{
    if (m_hWnd)
        return nullptr;
    m_modal = false;
    t_creating = this;
    HWND window = CreateDialogParamW(ResourceInstance(), MAKEINTRESOURCEW(templateId), parent, StartDialogProc,
                                     reinterpret_cast<LPARAM>(this));
    t_creating = nullptr;
    return window;
}

INT_PTR CDialogImplBase::DoModal(HWND parent, UINT templateId)
{
    if (m_hWnd)
        return -1;
    m_modal = true;
    t_creating = this;
    const INT_PTR result = DialogBoxParamW(ResourceInstance(), MAKEINTRESOURCEW(templateId), parent, StartDialogProc,
                                           reinterpret_cast<LPARAM>(this));
    t_creating = nullptr;
    return result;
}

BOOL CDialogImplBase::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    if (m_modal)
        return EndDialog(m_hWnd, IDCANCEL);
    return ::DestroyWindow(m_hWnd);
}

void CDialogImplBase::CenterOnParent()
{
    HWND parent = GetParent(m_hWnd);
    RECT outer;
    if (parent && IsWindowVisible(parent))
        GetWindowRect(parent, &outer);
    else
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &outer, 0);
    RECT own;
    GetWindowRect(m_hWnd, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    SetWindowPos(m_hWnd, nullptr, outer.left + (outer.right - outer.left - width) / 2,
                 outer.top + (outer.bottom - outer.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CDialogImplBase::ReflectNotification(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    HWND control = NotifyingControl(m_hWnd, message, wParam, lParam);
    if (!control || control == m_hWnd || !IsChild(m_hWnd, control)) {
        handled = FALSE;
        return 0;
    }
    handled = TRUE;
    return SendMessageW(control, kReflectedMessageBase + message, wParam, lParam);
}

INT_PTR CALLBACK CDialogImplBase::StartDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialogImplBase* self = t_creating;
    if (!self && message == WM_INITDIALOG)
        self = reinterpret_cast<CDialogImplBase*>(lParam);
    if (!self)
        return FALSE;
    t_creating = nullptr;
    self->m_hWnd = window;
    SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    SetWindowLongPtrW(window, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(StaticDialogProc));
    return StaticDialogProc(window, message, wParam, lParam);
}

INT_PTR CALLBACK CDialogImplBase::StaticDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<CDialogImplBase*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!self)
        return FALSE;
    return self->DialogProc(window, message, wParam, lParam);
}

INT_PTR CDialogImplBase::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    BOOL handled = FALSE;
    try {
        handled = ProcessWindowMessage(window, message, wParam, lParam, result);
    } catch (...) {
        // Nothing may unwind through the window manager's frames.
        handled = FALSE;
        OnHandlerFailure();
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        m_hWnd = nullptr;
        OnFinalMessage(window);
        return FALSE;
    }
    if (!handled)
        return FALSE;
    if (ReturnsResultDirectly(message))
        return static_cast<INT_PTR>(result);
    SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace wiraxui
