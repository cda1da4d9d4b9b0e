#include "RichLabel.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstring>
#include <memory>

namespace {

struct GlobalMemory {
    HGLOBAL handle;
    ~GlobalMemory()
    {
        if (handle)
            GlobalFree(handle);
    }
};

// A bitmap that owns its pixels, so that nothing it came from has to outlive it.
Gdiplus::Bitmap* DetachedCopy(Gdiplus::Bitmap& source)
{
    auto copy = std::make_unique<Gdiplus::Bitmap>(source.GetWidth(), source.GetHeight(), PixelFormat32bppARGB);
    if (copy->GetLastStatus() != Gdiplus::Ok)
        return nullptr;
    {
        Gdiplus::Graphics graphics(copy.get());
        graphics.DrawImage(&source, 0, 0, source.GetWidth(), source.GetHeight());
    }
    return copy.release();
}

}  // namespace

Gdiplus::Bitmap* CtrlUtil::GetBitmapFromModule(HMODULE module, const wchar_t* name, const wchar_t* type)
{
    if (!module || !name || !type)
        return nullptr;
    HRSRC resource = FindResourceW(module, name, type);
    const DWORD size = resource ? SizeofResource(module, resource) : 0;
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || size == 0)
        return nullptr;

    GlobalMemory memory{GlobalAlloc(GMEM_MOVEABLE, size)};
    if (!memory.handle)
        return nullptr;
    void* target = GlobalLock(memory.handle);
    if (!target)
        return nullptr;
    std::memcpy(target, bytes, size);
    GlobalUnlock(memory.handle);

    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory.handle, FALSE, &stream)))
        return nullptr;
    Gdiplus::Bitmap* result = nullptr;
    {
        std::unique_ptr<Gdiplus::Bitmap> decoded(Gdiplus::Bitmap::FromStream(stream));
        if (decoded && decoded->GetLastStatus() == Gdiplus::Ok)
            result = DetachedCopy(*decoded);
    }
    stream->Release();
    return result;
}

Gdiplus::Bitmap* CtrlUtil::LoadBitmapW(HMODULE module, const wchar_t* name)
{
    if (!module || !name)
        return nullptr;
    std::unique_ptr<Gdiplus::Bitmap> bitmap(Gdiplus::Bitmap::FromResource(module, name));
    if (!bitmap || bitmap->GetLastStatus() != Gdiplus::Ok)
        return nullptr;
    return DetachedCopy(*bitmap);
}
