#include "HostCtrls.h"

#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>

COwnerDrawStatic::~COwnerDrawStatic() { delete m_bitmap; }

void COwnerDrawStatic::SetBackgroundBitmap(Gdiplus::Bitmap* bitmap)
{
    delete m_bitmap;
    m_bitmap = bitmap ? bitmap->Clone(0, 0, bitmap->GetWidth(), bitmap->GetHeight(), bitmap->GetPixelFormat()) : nullptr;
    if (m_hWnd)
        InvalidateRect(m_hWnd, nullptr, TRUE);
}

bool COwnerDrawStatic::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result)
{
    if (!m_bitmap)
        return false;
    switch (message) {
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(m_hWnd, &paint);
        RECT client;
        GetClientRect(m_hWnd, &client);
        {
            Gdiplus::Graphics graphics(dc);
            graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
            graphics.DrawImage(m_bitmap, Gdiplus::Rect(0, 0, client.right, client.bottom));
        }
        EndPaint(m_hWnd, &paint);
        result = 0;
        return true;
    }
    default:
        return false;
    }
}
