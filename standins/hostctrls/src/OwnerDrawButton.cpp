#include "HostCtrls.h"

#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>

namespace {

struct ButtonColours {
    COLORREF face;
    COLORREF border;
    COLORREF text;
};

ButtonColours ColoursFor(bool primary, UINT state, bool hover)
{
    if (state & ODS_DISABLED)
        return {RGB(0xE8, 0xE8, 0xE8), RGB(0xC8, 0xC8, 0xC8), RGB(0x9A, 0x9A, 0x9A)};
    if (primary) {
        if (state & ODS_SELECTED)
            return {RGB(0x00, 0x4F, 0x86), RGB(0x00, 0x3E, 0x6B), RGB(0xFF, 0xFF, 0xFF)};
        return {hover ? RGB(0x1A, 0x7F, 0xC7) : RGB(0x00, 0x6E, 0xB8), RGB(0x00, 0x55, 0x8F), RGB(0xFF, 0xFF, 0xFF)};
    }
    if (state & ODS_SELECTED)
        return {RGB(0xD4, 0xD4, 0xD4), RGB(0x8A, 0x8A, 0x8A), RGB(0x1E, 0x1E, 0x1E)};
    return {hover ? RGB(0xEE, 0xF4, 0xFA) : RGB(0xFD, 0xFD, 0xFD), RGB(0xA6, 0xA6, 0xA6), RGB(0x1E, 0x1E, 0x1E)};
}

}  // namespace

COwnerDrawButton::~COwnerDrawButton() { delete m_background; }

void COwnerDrawButton::OnAttached()
{
    LONG_PTR style = GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        // Check boxes and radio buttons keep their own drawing, and with it their check.
        return;
    default:
        break;
    }
    m_primary = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    m_pushButton = true;
    SetWindowLongPtrW(m_hWnd, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void COwnerDrawButton::SetBackgroundImage(Gdiplus::Bitmap* image)
{
    delete m_background;
    m_background = image ? image->Clone(0, 0, image->GetWidth(), image->GetHeight(), image->GetPixelFormat()) : nullptr;
    if (m_hWnd)
        InvalidateRect(m_hWnd, nullptr, TRUE);
}

bool COwnerDrawButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_GETDLGCODE:
        if (!m_pushButton)
            return false;
        // An owner-drawn button is no push button to the dialog manager: it would send Enter
        // to the dialog's default button instead of this one.
        result = DLGC_BUTTON | (m_primary ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        return true;
    case BM_SETSTYLE:
        if (!m_pushButton)
            return false;
        // The dialog manager moves the default between push buttons; the button stays drawn
        // by the host and only changes its look.
        m_primary = (wParam & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        if (lParam)
            InvalidateRect(m_hWnd, nullptr, FALSE);
        result = 0;
        return true;
    case kReflectedMessageBase + WM_DRAWITEM:
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    case WM_MOUSEMOVE:
        if (!m_hover) {
            m_hover = true;
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
            TrackMouseEvent(&track);
            InvalidateRect(m_hWnd, nullptr, FALSE);
        }
        return false;
    case WM_MOUSELEAVE:
        m_hover = false;
        InvalidateRect(m_hWnd, nullptr, FALSE);
        return false;
    default:
        return false;
    }
}

void COwnerDrawButton::Draw(const DRAWITEMSTRUCT& item) const
{
    HDC dc = item.hDC;
    RECT area = item.rcItem;
    const ButtonColours colours = ColoursFor(m_primary, item.itemState, m_hover);

    if (m_background) {
        Gdiplus::Graphics graphics(dc);
        graphics.DrawImage(m_background, Gdiplus::Rect(area.left, area.top, area.right - area.left,
                                                       area.bottom - area.top));
    }
    HBRUSH face = CreateSolidBrush(colours.face);
    HPEN border = CreatePen(PS_SOLID, 1, colours.border);
    HGDIOBJ oldBrush = SelectObject(dc, face);
    HGDIOBJ oldPen = SelectObject(dc, border);
    RoundRect(dc, area.left, area.top, area.right, area.bottom, 4, 4);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(border);
    DeleteObject(face);

    wchar_t text[128] = L"";
    GetWindowTextW(item.hwndItem, text, 128);
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colours.text);
    RECT textArea = area;
    if (item.itemState & ODS_SELECTED)
        OffsetRect(&textArea, 1, 1);
    DrawTextW(dc, text, -1, &textArea, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_HIDEPREFIX);
    SelectObject(dc, oldFont);

    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = area;
        InflateRect(&focus, -3, -3);
        SetTextColor(dc, colours.text);
        DrawFocusRect(dc, &focus);
    }
}
