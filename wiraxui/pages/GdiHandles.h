// Owners of GDI and user handles, and of GDI+ for as long as a page draws with it.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <utility>

namespace wiraxui {

template <typename Handle, BOOL(WINAPI* Release)(Handle)>
class CUniqueHandle {
public:
    CUniqueHandle() = default;
    explicit CUniqueHandle(Handle handle) : m_handle(handle) {}
    ~CUniqueHandle() { Reset(); }
    CUniqueHandle(CUniqueHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    CUniqueHandle& operator=(CUniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(std::exchange(other.m_handle, nullptr));
        return *this;
    }
    CUniqueHandle(const CUniqueHandle&) = delete;
    CUniqueHandle& operator=(const CUniqueHandle&) = delete;

    void Reset(Handle handle = nullptr)
    {
        if (m_handle)
            Release(m_handle);
        m_handle = handle;
    }
    Handle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

private:
    Handle m_handle = nullptr;
};

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
