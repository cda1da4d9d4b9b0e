// The small dialog layer the pages are written against: a dialog object bound to its window,
// message maps that route messages, commands and notifications to member handlers, reflection
// of notifications back to the controls that sent them, and control binding.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "pages/framework/SubclassedWindow.h"

#include <HostCtrls.h>

#include <cstddef>

namespace wiraxui {

// A handler answers with its result and clears handled to let the message go on.
template <class T>
struct MessageEntry {
    UINT first;
    UINT last;
    LRESULT (T::*handler)(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
};

constexpr int kAnyCode = -1;

template <class T>
struct CommandEntry {
    int id;
    int code;  // notification code, or kAnyCode
    LRESULT (T::*handler)(WORD code, WORD id, HWND control, BOOL& handled);
};

template <class T>
struct NotifyEntry {
    int id;
    UINT code;
    LRESULT (T::*handler)(int id, NMHDR* header, BOOL& handled);
};

template <class T, size_t N>
bool RouteMessage(T* self, const MessageEntry<T> (&map)[N], UINT message, WPARAM wParam, LPARAM lParam,
                  LRESULT& result)
{
    for (const MessageEntry<T>& entry : map) {
        if (message < entry.first || message > entry.last)
            continue;
        BOOL handled = TRUE;
        const LRESULT answer = (self->*entry.handler)(message, wParam, lParam, handled);
        if (handled) {
            result = answer;
            return true;
        }
    }
    return false;
}

template <class T, size_t N>
bool RouteCommand(T* self, const CommandEntry<T> (&map)[N], UINT message, WPARAM wParam, LPARAM lParam,
                  LRESULT& result)
{
    if (message != WM_COMMAND)
        return false;
    for (const CommandEntry<T>& entry : map) {
        if (entry.id != static_cast<int>(LOWORD(wParam)) || (entry.code != kAnyCode && entry.code != HIWORD(wParam)))
            continue;
        BOOL handled = TRUE;
        const LRESULT answer = (self->*entry.handler)(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), handled);
        if (handled) {
            result = answer;
            return true;
        }
    }
    return false;
}

template <class T, size_t N>
bool RouteNotify(T* self, const NotifyEntry<T> (&map)[N], UINT message, LPARAM lParam, LRESULT& result)
{
    if (message != WM_NOTIFY || !lParam)
        return false;
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    for (const NotifyEntry<T>& entry : map) {
        if (entry.id != static_cast<int>(header->idFrom) || entry.code != header->code)
            continue;
        BOOL handled = TRUE;
        const LRESULT answer = (self->*entry.handler)(static_cast<int>(header->idFrom), header, handled);
        if (handled) {
            result = answer;
            return true;
        }
    }
    return false;
}

// A dialog object and its window. The window is created from a template of the module's
// current resource instance; its messages go to ProcessWindowMessage.
class CDialogImplBase {
public:
    CDialogImplBase() = default;
    CDialogImplBase(const CDialogImplBase&) = delete;
    CDialogImplBase& operator=(const CDialogImplBase&) = delete;

    // Answers true with result set when the message was handled.
    virtual BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
    // Destroys a window that still exists, without telling the object any more about it.
    virtual ~CDialogImplBase();
    virtual INT_PTR DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The last message the window received has been handled.
    virtual void OnFinalMessage(HWND) {}

    HWND CreateModeless(HWND parent, UINT templateId);
    INT_PTR DoModal(HWND parent, UINT templateId);
    BOOL DestroyWindow();

    HWND m_hWnd = nullptr;
    BOOL m_handled = FALSE;

protected:
    // A handler threw: the message counts as not handled; pages decide what else it means.
    virtual void OnHandlerFailure() {}
    // Sends a notification to the control that sent it, as message + 0x2000. Not handled when
    // the message names no child control.
    LRESULT ReflectNotification(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    void CenterOnParent();

private:
    static INT_PTR CALLBACK StartDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK StaticDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool m_modal = false;
};

// A dialog whose template number is T::IDD.
template <class T>
class CDialogImpl : public CDialogImplBase {
public:
    HWND Create(HWND parent) { return CreateModeless(parent, T::IDD); }
    INT_PTR DoModal(HWND parent) { return CDialogImplBase::DoModal(parent, T::IDD); }
};

// Binds the dialog's controls to members: plain handles, or host controls attached to them.
template <class T>
class CWinDataExchange {
protected:
    bool BindControl(int id, HWND& handle)
    {
        handle = GetDlgItem(static_cast<T*>(this)->m_hWnd, id);
        return handle != nullptr;
    }
    bool BindControl(int id, CHostControl& control)
    {
        HWND handle = GetDlgItem(static_cast<T*>(this)->m_hWnd, id);
        return handle && control.SubclassWindow(handle);
    }
    bool BindControl(int id, CSubclassedWindow& control)
    {
        HWND handle = GetDlgItem(static_cast<T*>(this)->m_hWnd, id);
        return handle && control.SubclassWindow(handle);
    }
};

}  // namespace wiraxui
