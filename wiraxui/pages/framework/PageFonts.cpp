#include "pages/framework/PageFonts.h"

#include "host/ResourceLibrary.h"

#include <cwchar>
#include <cwctype>

namespace wiraxui {

namespace {

constexpr wchar_t kHostLibrary[] = L"HostRes.dll";

bool IsWindowsSixOrLater()
{
    OSVERSIONINFOW version{sizeof version};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&version))
        return true;
#pragma GCC diagnostic pop
    return version.dwMajorVersion >= 6;
}

std::wstring Trimmed(const std::wstring& text)
{
    size_t first = 0;
    size_t last = text.size();
    while (first < last && std::iswspace(text[first]))
        ++first;
    while (last > first && std::iswspace(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// The face, or else a sans-serif family that is installed. The generic family of GDI+ is not
// used: it is a process-wide object that outlives the page's GDI+ session, and some systems
// have none.
std::unique_ptr<Gdiplus::FontFamily> SansSerifFamily(const wchar_t* face)
{
    for (const wchar_t* name : {face, L"Microsoft Sans Serif", L"Arial", L"Tahoma"}) {
        auto family = std::make_unique<Gdiplus::FontFamily>(name);
        if (family->GetLastStatus() == Gdiplus::Ok && family->IsAvailable())
            return family;
    }
    return nullptr;
}

}  // namespace

std::optional<PageFontSpec> ParsePageFontSpec(const std::wstring& text)
{
    const size_t separator = text.find(L';');
    if (separator == std::wstring::npos)
        return std::nullopt;
    PageFontSpec spec;
    spec.face = Trimmed(text.substr(0, separator));
    const std::wstring size = Trimmed(text.substr(separator + 1));
    wchar_t* end = nullptr;
    const long points = std::wcstol(size.c_str(), &end, 10);
    if (spec.face.empty() || end == size.c_str() || points <= 0 || points > 72)
        return std::nullopt;
    spec.points = static_cast<int>(points);
    return spec;
}

std::optional<PageFontSpec> LoadHostFontSpec()
{
    const UINT id = IsWindowsSixOrLater() ? IDS_HOST_FONT : IDS_HOST_FONT_LEGACY;
    const auto texts = LoadLibraryTexts(kHostLibrary, {id});
    if (!texts)
        return std::nullopt;
    return ParsePageFontSpec(texts->front());
}

bool CPageFont::Create(HWND dialog, const PageFontSpec& spec)
{
    HFONT current = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    LOGFONTW logFont{};
    if (!GetObjectW(current ? current : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), sizeof logFont, &logFont))
        return false;
    HDC screen = GetDC(dialog);
    const int pixelsPerInch = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(dialog, screen);
    logFont.lfHeight = -MulDiv(spec.points, pixelsPerInch, 72);
    logFont.lfWidth = 0;
    logFont.lfWeight = FW_NORMAL;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfQuality = CLEARTYPE_QUALITY;
    wcsncpy(logFont.lfFaceName, spec.face.c_str(), LF_FACESIZE - 1);
    logFont.lfFaceName[LF_FACESIZE - 1] = L'\0';
    CFontHandle font(CreateFontIndirectW(&logFont));
    if (!font)
        return false;

    auto family = SansSerifFamily(logFont.lfFaceName);
    std::unique_ptr<Gdiplus::Font> gdiplusFont;
    if (family)
        gdiplusFont = std::make_unique<Gdiplus::Font>(family.get(), static_cast<Gdiplus::REAL>(spec.points),
                                                      Gdiplus::FontStyleRegular, Gdiplus::UnitPoint);
    m_logFont = logFont;
    m_font = std::move(font);
    m_family = std::move(family);
    m_gdiplusFont = std::move(gdiplusFont);
    return true;
}

HFONT CPageFont::CreateBold() const
{
    if (!m_font)
        return nullptr;
    LOGFONTW bold = m_logFont;
    bold.lfWeight = FW_BOLD;
    return CreateFontIndirectW(&bold);
}

}  // namespace wiraxui
