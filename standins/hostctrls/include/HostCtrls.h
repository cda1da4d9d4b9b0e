// Page controls of the host: a static drawn on its parent's background, owner-drawn push buttons
// and a static that shows a bitmap. Each attaches to an existing control of a dialog and answers
// the notifications its dialog reflects to it (message number + 0x2000).
#pragma once

#include <windows.h>

#ifdef HOSTCTRLS_BUILD
#define HOSTCTRLS_API __declspec(dllexport)
#else
#define HOSTCTRLS_API __declspec(dllimport)
#endif

namespace Gdiplus {
class Bitmap;
}

// Reflected notifications arrive at a control with this added to the message number.
constexpr UINT kReflectedMessageBase = 0x2000;

// A control attached to an existing window by subclassing it; detaches when destroyed.
class HOSTCTRLS_API CHostControl {
public:
    CHostControl() = default;
    virtual ~CHostControl();
    CHostControl(const CHostControl&) = delete;
    CHostControl& operator=(const CHostControl&) = delete;

    BOOL SubclassWindow(HWND window);
    HWND UnsubclassWindow();
    HWND m_hWnd = nullptr;

protected:
    // Returns true with result set when the control handled the message.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
    virtual void OnAttached() {}

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
};

// A static whose text is drawn straight onto its parent's background; an owner-drawn one
// (SS_OWNERDRAW) is drawn by the control itself, wrapped at word ends.
class HOSTCTRLS_API CTransparentStatic : public CHostControl {
public:
    void SetTextColor(COLORREF color);

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    COLORREF m_textColor = RGB(0, 0, 0);
};

// A flat push button drawn by the host; the dialog's default button is drawn as the primary one.
// A check box or radio button attached to it keeps the system's drawing. To the dialog manager
// it stays the push button it was (Enter on it when focused presses it, and it takes the
// default when the focus comes to it), although the system draws it no more.
class HOSTCTRLS_API COwnerDrawButton : public CHostControl {
public:
    ~COwnerDrawButton() override;
    // Drawn under the face of the button; the control keeps its own copy.
    void SetBackgroundImage(Gdiplus::Bitmap* image);

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnAttached() override;

private:
    void Draw(const DRAWITEMSTRUCT& item) const;
    bool m_primary = false;
    bool m_pushButton = false;  // a push button the host draws (not a check box or radio button)
    bool m_hover = false;
    Gdiplus::Bitmap* m_background = nullptr;
};

// A static that shows a bitmap stretched over its client area.
class HOSTCTRLS_API COwnerDrawStatic : public CHostControl {
public:
    ~COwnerDrawStatic() override;
    // The control keeps its own copy; the caller still owns bitmap.
    void SetBackgroundBitmap(Gdiplus::Bitmap* bitmap);
    bool HasBackgroundBitmap() const { return m_bitmap != nullptr; }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    Gdiplus::Bitmap* m_bitmap = nullptr;
};
