#include "HostCtrls.h"

#include <commctrl.h>

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
