#include "pages/controls/SeparatorStatic.h"

#include "pages/framework/GdiHandles.h"

namespace wiraxui {

namespace {
using CPenHandle = CUniqueHandle<HGDIOBJ, DeleteGdiObject>;

double Clamped(double ratio) { return ratio < 0.0 ? 0.0 : ratio > 1.0 ? 1.0 : ratio; }
}  // namespace

std::vector<SeparatorLine> SeparatorLines(const RECT& area, const SeparatorStyle& style)
{
    std::vector<SeparatorLine> lines;
    const double cut = (1.0 - Clamped(style.lengthRatio)) / 2.0;
    if (style.style & SeparatorStyle::kVertical) {
        const int height = area.bottom - area.top;
        const int inset = static_cast<int>(height * cut);
        const int x = style.alignment == SeparatorStyle::kLeft    ? area.left
                      : style.alignment == SeparatorStyle::kRight ? area.right - 1
                                                                  : (area.left + area.right) / 2;
        lines.push_back({{x, area.top + inset}, {x, area.bottom - inset}});
    }
    if (style.style & SeparatorStyle::kHorizontal) {
        const int width = area.right - area.left;
        const int inset = static_cast<int>(width * cut);
        const int y = style.alignment == SeparatorStyle::kTop      ? area.top
                      : style.alignment == SeparatorStyle::kBottom ? area.bottom - 1
                                                                   : (area.top + area.bottom) / 2;
        lines.push_back({{area.left + inset, y}, {area.right - inset, y}});
    }
    return lines;
}

void CSeparatorStatic::SetStyle(const SeparatorStyle& style)
{
    m_style = style;
    if (m_hWnd)
        InvalidateRect(m_hWnd, nullptr, TRUE);
}

bool CSeparatorStatic::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result)
{
    if (message != WM_PAINT)
        return false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    RECT client;
    GetClientRect(m_hWnd, &client);
    CPenHandle pen(CreatePen(PS_SOLID, m_style.width, m_style.colour));
    HGDIOBJ old = SelectObject(dc, pen.Get());
    for (const SeparatorLine& line : SeparatorLines(client, m_style)) {
        MoveToEx(dc, line.from.x, line.from.y, nullptr);
        LineTo(dc, line.to.x, line.to.y);
    }
    SelectObject(dc, old);
    EndPaint(m_hWnd, &paint);
    result = 0;
    return true;
}

}  // namespace wiraxui
