// The host's page font: face and size come from the host's resource library, so that the
// plug-in's pages look like the host's own.
#pragma once

#include "pages/framework/GdiHandles.h"

#include <HostRes.h>

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

namespace wiraxui {

struct PageFontSpec {
    std::wstring face;
    int points = 0;
};

// "Segoe UI;9" -> face and size; nothing when the text names no face or no positive size.
std::optional<PageFontSpec> ParsePageFontSpec(const std::wstring& text);

// The font description in the host library (resolved like every resource library), or nothing.
std::optional<PageFontSpec> LoadHostFontSpec();

// The page font as a GDI font (based on the dialog's own font) and as a GDI+ font.
class CPageFont {
public:
    // Builds both fonts for the dialog's screen; false leaves the dialog's template font in use.
    bool Create(HWND dialog, const PageFontSpec& spec);
    // The same font in bold; null before Create.
    HFONT CreateBold() const;

    HFONT Handle() const { return m_font.Get(); }
    Gdiplus::Font* GdiplusFont() const { return m_gdiplusFont.get(); }

private:
    LOGFONTW m_logFont{};
    CFontHandle m_font;
    std::unique_ptr<Gdiplus::FontFamily> m_family;
    std::unique_ptr<Gdiplus::Font> m_gdiplusFont;
};

}  // namespace wiraxui
