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
    {
        Gdiplus::Bitmap picture(bitmap, nullptr);
        CLSID encoder;
        if (PngEncoder(&encoder) && picture.Save(path.c_str(), &encoder, nullptr) == Gdiplus::Ok) {
            ++g_saved;
            fwprintf(stdout, L"saved %ls (%dx%d)\n", path.c_str(), width, height);
        } else {
            fwprintf(stderr, L"could not save %ls\n", path.c_str());
        }
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
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
