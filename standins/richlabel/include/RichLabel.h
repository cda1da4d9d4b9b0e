// The host's rich label: a static whose text carries links (<a href="target">text</a>) that it
// reports to the page, and the bitmap helpers of the host's control library.
//
// Members defined in this header are, as in the host's own header, compiled into whoever uses
// them; plug-ins export their copies.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#ifdef RICHLABEL_BUILD
#define RICHLABEL_API __declspec(dllexport)
#else
#define RICHLABEL_API __declspec(dllimport)
#endif

namespace Gdiplus {
class Bitmap;
}

// What a rich label tells its page. Only the first operation carries meaning for pages.
class IRichLabelNotify {
public:
    virtual int OnLinkClicked(HWND label, const wchar_t* target) = 0;
    virtual int OnLinkHovered(HWND label, const wchar_t* target) = 0;
    virtual int OnContentHeightChanged(HWND label, int height) = 0;

protected:
    ~IRichLabelNotify() = default;
};

// The window class of the host's rich label: a static control that a dialog template can hold
// (registered while RichLabel.dll is loaded). Its window text is the marked-up text; a page
// attaches a CRichLabelCtrl to it to be told about link clicks.
constexpr wchar_t kRichLabelClass[] = L"RichLabel";

// Where the link with a given text is in the label's client area, as the label lays it out:
// wParam the link's text (const wchar_t*), lParam a RECT* that receives its first part.
// Returns TRUE when the label has such a link. What an accessibility tool asks the control.
constexpr UINT RLM_GETLINKAREA = WM_USER + 0x520;

class CRichLabelCtrl {
public:
    enum FrameShape { FrameNone = 0, FrameRect = 1, FrameRoundRect = 2, FrameShadow = 3, FrameShadowRect = 4 };

    RICHLABEL_API CRichLabelCtrl();
    RICHLABEL_API ~CRichLabelCtrl();
    CRichLabelCtrl(const CRichLabelCtrl&) = delete;
    CRichLabelCtrl& operator=(const CRichLabelCtrl&) = delete;

    // Attaches to a static control; its window text is the marked-up text.
    RICHLABEL_API BOOL SubclassWindow(HWND window, IRichLabelNotify* notify);
    RICHLABEL_API HWND UnsubclassWindow();
    RICHLABEL_API void SetMarkup(const wchar_t* markup);
    // Plain text and link targets of the current markup, in order.
    RICHLABEL_API std::wstring PlainText() const;
    RICHLABEL_API std::vector<std::wstring> LinkTargets() const;
    // Reports a click on the link with this index, as a mouse click on it does.
    RICHLABEL_API bool ClickLink(size_t index);

    bool IsRenderFrameShapeShadowRect() const { return m_frameShape == FrameShadowRect; }
    COLORREF GetBkColor() const { return m_bkColor; }
    void SetBkColor(COLORREF color) { m_bkColor = color; }
    float GetBkTransparency() const { return m_bkTransparency; }
    void SetBkTransparency(float transparency) { m_bkTransparency = transparency; }
    void SetBkWindow(HWND window) { m_bkWindow = window; }
    void SetDrawMask(DWORD mask) { m_drawMask = mask; }
    bool IsCursorLocked() const { return m_cursorLockCount != 0 || m_hoverCursorLockCount != 0; }

    HWND m_hWnd = nullptr;
    int m_frameShape = FrameNone;
    COLORREF m_bkColor = RGB(255, 255, 255);
    float m_bkTransparency = 0.0f;
    HWND m_bkWindow = nullptr;
    DWORD m_drawMask = 0xFFFFFFFF;
    int m_cursorLockCount = 0;
    int m_hoverCursorLockCount = 0;

protected:
    struct Segment {
        std::wstring text;
        std::wstring target;  // empty: plain text
        RECT area{};          // where the last paint put it
    };
    RICHLABEL_API void Paint(HDC dc);
    // Places the segments in the client area (their areas), drawing them when draw is set.
    RICHLABEL_API void Layout(HDC dc, bool draw);
    RICHLABEL_API int SegmentAt(POINT point) const;

    std::vector<Segment> m_segments;
    IRichLabelNotify* m_notify = nullptr;

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
};

// A rich label with hover and idle background gradients.
class CRichLabelCtrlEx : public CRichLabelCtrl {
public:
    void SetCustomHoverBackgroundGradientColor(COLORREF from, COLORREF to)
    {
        m_hoverGradient[0] = from;
        m_hoverGradient[1] = to;
        m_customHoverGradient = true;
    }
    void SetCustomIdleBackgroundGradientColor(COLORREF from, COLORREF to)
    {
        m_idleGradient[0] = from;
        m_idleGradient[1] = to;
        m_customIdleGradient = true;
    }
    void SetIdleHoverRenderFormat(UINT idleFormat, UINT hoverFormat)
    {
        m_idleFormat = idleFormat;
        m_hoverFormat = hoverFormat;
        m_renderFormat = idleFormat;
    }

    COLORREF m_hoverGradient[2] = {RGB(255, 255, 255), RGB(255, 255, 255)};
    COLORREF m_idleGradient[2] = {RGB(255, 255, 255), RGB(255, 255, 255)};
    bool m_customHoverGradient = false;
    bool m_customIdleGradient = false;
    UINT m_idleFormat = 0;
    UINT m_hoverFormat = 0;
    UINT m_renderFormat = 0;
};

// A balloon the host shows beside a control.
class CBalloonDialog {
public:
    void SetShowItems(bool show) { m_showItems = show; }
    bool m_showItems = false;
};

class CtrlUtil {
public:
    // A GDI+ bitmap decoded from a resource of any type (PNG, JPG, ...); null when there is none.
    // The caller deletes it; GDI+ must have been started.
    RICHLABEL_API static Gdiplus::Bitmap* GetBitmapFromModule(HMODULE module, const wchar_t* name, const wchar_t* type);
    // A GDI+ bitmap from a BITMAP resource (the name windows.h gives the host's LoadBitmap).
    RICHLABEL_API static Gdiplus::Bitmap* LoadBitmapW(HMODULE module, const wchar_t* name);
};
