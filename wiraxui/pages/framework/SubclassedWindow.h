// A control of the plug-in's own, attached to an existing window of a dialog by subclassing.
#pragma once

#include <windows.h>

namespace wiraxui {

class CSubclassedWindow {
public:
    CSubclassedWindow() = default;
    virtual ~CSubclassedWindow();
    CSubclassedWindow(const CSubclassedWindow&) = delete;
    CSubclassedWindow& operator=(const CSubclassedWindow&) = delete;

    BOOL SubclassWindow(HWND window);
    HWND UnsubclassWindow();
    HWND m_hWnd = nullptr;

protected:
    // True with result set when handled; anything else goes to the control's own procedure.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
    virtual void OnAttached() {}
    virtual void OnDetaching() {}
    LRESULT CallOriginal(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
};

}  // namespace wiraxui
