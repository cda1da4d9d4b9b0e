#include "pages/controls/TitleLine.h"

#include "host/ResourceLibrary.h"

#include <RichLabel.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>

namespace wiraxui {

bool AttachTitleLine(HWND dialog, COwnerDrawStatic& line)
{
    HWND control = GetDlgItem(dialog, IDC_PAGE_TITLE_LINE);
    if (!control || !line.SubclassWindow(control))
        return false;
    // The host keeps its library loaded; a host that does not gets it loaded for this step.
    CResourceLibraryLoader loader;
    HMODULE host = GetModuleHandleW(L"HostRes.dll");
    if (!host && loader.Load(ResolveResourceLibrary(L"HostRes.dll")))
        host = loader.Module();
    std::unique_ptr<Gdiplus::Bitmap> image(CtrlUtil::GetBitmapFromModule(host, L"IDB_PNG_TITLE_LINE", L"PNG"));
    if (!image)
        return false;
    line.SetBackgroundBitmap(image.get());
    return true;
}

}  // namespace wiraxui
