// A link on a wizard page: underlined text with the hand cursor, a hover look, a tooltip with
// its target, and a click that either tells the page or opens the target itself.
#pragma once

#include "pages/framework/SubclassedWindow.h"

#include <string>

namespace wiraxui {

class CCustomizeHyperLink : public CSubclassedWindow {
public:
    // Link styles: with kCommandStyle alone a click sends WM_COMMAND with the control's id to
    // the parent; with both, WM_NOTIFY NM_CLICK; with neither, the link opens its target.
    static constexpr DWORD kCommandStyle = 0x4;
    static constexpr DWORD kNotifyStyle = 0x8;

    ~CCustomizeHyperLink() override;

    void SetLinkStyle(DWORD style) { m_style = style; }
    DWORD LinkStyle() const { return m_style; }
    void SetTarget(const std::wstring& target);
    const std::wstring& Target() const { return m_target; }
    void SetBackgroundColour(COLORREF colour);
    // Does what a click does.
    void Activate();

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnAttached() override;
    void OnDetaching() override;

private:
    void Paint(HDC dc);
    void RelayToToolTip(UINT message, WPARAM wParam, LPARAM lParam);
    void UpdateToolTip();

    DWORD m_style = 0;
    std::wstring m_target;
    COLORREF m_background = GetSysColor(COLOR_WINDOW);
    bool m_hover = false;
    bool m_pressed = false;
    HWND m_toolTip = nullptr;
};

}  // namespace wiraxui
