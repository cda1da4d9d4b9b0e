#include "HostCtrls.h"

#include <commctrl.h>

#include <string>

void CTransparentStatic::SetTextColor(COLORREF color)
{
    m_textColor = color;
    if (m_hWnd)
        InvalidateRect(m_hWnd, nullptr, TRUE);
}

bool CTransparentStatic::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case kReflectedMessageBase + WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, m_textColor);
        result = reinterpret_cast<LRESULT>(GetStockObject(HOLLOW_BRUSH));
        return true;
    }
    case kReflectedMessageBase + WM_DRAWITEM: {
        // An owner-drawn static: its text on the parent's background, wrapped at word ends.
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const int length = GetWindowTextLengthW(m_hWnd);
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(m_hWnd, text.data(), length + 1)));
        HGDIOBJ oldFont = SelectObject(item.hDC, reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0)));
        SetBkMode(item.hDC, TRANSPARENT);
        ::SetTextColor(item.hDC, m_textColor);
        RECT area = item.rcItem;
        DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &area, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(item.hDC, oldFont);
        result = TRUE;
        return true;
    }
    case WM_SETTEXT: {
        // Nothing erases behind a transparent text: the parent repaints the old text's place.
        result = DefSubclassProc(m_hWnd, message, wParam, lParam);
        HWND parent = GetParent(m_hWnd);
        RECT area;
        GetWindowRect(m_hWnd, &area);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
        InvalidateRect(parent, &area, TRUE);
        return true;
    }
    default:
        return false;
    }
}
