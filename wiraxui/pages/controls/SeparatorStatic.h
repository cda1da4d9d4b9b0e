// A static control that draws a separator line across (or along) its area.
#pragma once

#include "pages/framework/SubclassedWindow.h"

#include <vector>

namespace wiraxui {

struct SeparatorLine {
    POINT from;
    POINT to;
};

struct SeparatorStyle {
    static constexpr DWORD kVertical = 0x1;
    static constexpr DWORD kHorizontal = 0x2;
    // Alignment: vertical lines at the left or right edge, horizontal ones at the top or bottom;
    // anything else centres the line.
    static constexpr DWORD kLeft = 0x10;
    static constexpr DWORD kRight = 0x40;
    static constexpr DWORD kTop = 1;
    static constexpr DWORD kBottom = 3;

    DWORD style = kHorizontal;
    DWORD alignment = 0;
    int width = 1;
    COLORREF colour = RGB(0xC8, 0xC8, 0xC8);
    double lengthRatio = 1.0;  // share of the area's extent the line covers, centred
};

// The lines to draw in area for style.
std::vector<SeparatorLine> SeparatorLines(const RECT& area, const SeparatorStyle& style);

class CSeparatorStatic : public CSubclassedWindow {
public:
    void SetStyle(const SeparatorStyle& style);
    const SeparatorStyle& Style() const { return m_style; }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    SeparatorStyle m_style;
};

}  // namespace wiraxui
