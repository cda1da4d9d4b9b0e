#include "PageShotSupport.h"

#include <objidl.h>
#include <gdiplus.h>

#include <atomic>
#include <cstdio>

namespace pageshots {

namespace {

std::wstring g_folder;
std::wstring g_suffix;
std::atomic<int> g_saved{0};

bool PngEncoder(CLSID* encoder)
{
    UINT count = 0;
    UINT bytes = 0;
    Gdiplus::GetImageEncodersSize(&count, &bytes);
    std::string buffer(bytes, '\0');
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, bytes, codecs);
    for (UINT i = 0; i < count; ++i) {
        if (wcscmp(codecs[i].MimeType, L"image/png") == 0) {
            *encoder = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

}  // namespace

void SetOutput(const std::wstring& folder, const std::wstring& suffix)
{
    g_folder = folder;
    g_suffix = suffix;
}

const std::wstring& Suffix() { return g_suffix; }

int SavedCount() { return g_saved; }

void Save(HWND window, const std::wstring& baseName)
{
    const std::wstring path = g_folder + L"\\" + baseName + g_suffix + L".png";
    if (!SaveAs(window, path))
        return;
    ++g_saved;
    RECT area;
    GetWindowRect(window, &area);
    fwprintf(stdout, L"saved %ls (%ldx%ld)\n", path.c_str(), area.right - area.left, area.bottom - area.top);
}

bool SaveAs(HWND window, const std::wstring& path)
{
    // GDI+ counts its users, so a program that started it already loses nothing here.
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) {
        fwprintf(stderr, L"could not save %ls: no GDI+\n", path.c_str());
        return false;
    }
    RECT area;
    GetWindowRect(window, &area);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, old);
    bool saved = false;
    {
        Gdiplus::Bitmap picture(bitmap, nullptr);
        CLSID encoder;
        saved = PngEncoder(&encoder) && picture.Save(path.c_str(), &encoder, nullptr) == Gdiplus::Ok;
        if (!saved)
            fwprintf(stderr, L"could not save %ls\n", path.c_str());
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    Gdiplus::GdiplusShutdown(token);
    return saved;
}

std::wstring ScreenDpiSuffix()
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi == 96 ? std::wstring() : L"-" + std::to_wstring(dpi) + L"dpi";
}

HWND WaitForWindow(const wchar_t* caption)
{
    for (int i = 0; i < 500; ++i) {
        HWND window = FindWindowW(L"#32770", caption);
        if (window && IsWindowVisible(window))
            return window;
        Sleep(20);
    }
    return nullptr;
}

}  // namespace pageshots
