// Owners of GDI and user handles, and of GDI+ for as long as a page draws with it.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "util/Handle.h"

namespace wiraxui {

inline BOOL WINAPI DeleteGdiObject(HGDIOBJ object) { return DeleteObject(object); }
inline BOOL WINAPI DeleteFontHandle(HFONT font) { return DeleteObject(font); }
inline BOOL WINAPI DeleteBrushHandle(HBRUSH brush) { return DeleteObject(brush); }

using CFontHandle = CUniqueHandle<HFONT, DeleteFontHandle>;
using CBrushHandle = CUniqueHandle<HBRUSH, DeleteBrushHandle>;
using CIconHandle = CUniqueHandle<HICON, DestroyIcon>;

// GDI+ started for the lifetime of the object; declare it before anything that uses GDI+.
class CGdiplusSession {
public:
    CGdiplusSession()
    {
        Gdiplus::GdiplusStartupInput input;
        if (Gdiplus::GdiplusStartup(&m_token, &input, nullptr) != Gdiplus::Ok)
            m_token = 0;
    }
    ~CGdiplusSession()
    {
        if (m_token)
            Gdiplus::GdiplusShutdown(m_token);
    }
    CGdiplusSession(const CGdiplusSession&) = delete;
    CGdiplusSession& operator=(const CGdiplusSession&) = delete;
    bool Started() const { return m_token != 0; }

private:
    ULONG_PTR m_token = 0;
};

}  // namespace wiraxui
