#include "pages/controls/CustomizeHyperLink.h"

#include "pages/framework/GdiHandles.h"

#include <DeployHost.h>
#include <commctrl.h>

#include <vector>

namespace wiraxui {

namespace {
constexpr COLORREF kLinkColour = RGB(0x00, 0x66, 0xCC);
constexpr COLORREF kHoverColour = RGB(0x00, 0x3D, 0x7A);
}  // namespace

CCustomizeHyperLink::~CCustomizeHyperLink()
{
    UnsubclassWindow();
}

void CCustomizeHyperLink::OnAttached()
{
    SetWindowLongPtrW(m_hWnd, GWL_STYLE, GetWindowLongPtrW(m_hWnd, GWL_STYLE) | SS_NOTIFY | WS_TABSTOP);
    m_toolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                                reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_hWnd, GWLP_HINSTANCE)), nullptr);
    if (m_toolTip) {
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND;
        tool.hwnd = m_hWnd;
        tool.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
        tool.lpszText = const_cast<wchar_t*>(L"");
        SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        UpdateToolTip();
    }
}

void CCustomizeHyperLink::OnDetaching()
{
    if (m_toolTip)
        DestroyWindow(m_toolTip);
    m_toolTip = nullptr;
}

void CCustomizeHyperLink::SetTarget(const std::wstring& target)
{
    m_target = target;
    UpdateToolTip();
}

void CCustomizeHyperLink::SetBackgroundColour(COLORREF colour)
{
    m_background = colour;
    if (m_hWnd)
        InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CCustomizeHyperLink::UpdateToolTip()
{
    if (!m_toolTip)
        return;
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = m_hWnd;
    tool.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
    tool.lpszText = const_cast<wchar_t*>(m_target.c_str());
    SendMessageW(m_toolTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void CCustomizeHyperLink::RelayToToolTip(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_toolTip)
        return;
    MSG relayed{m_hWnd, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
    SendMessageW(m_toolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void CCustomizeHyperLink::Activate()
{
    if (!m_hWnd)
        return;
    HWND parent = GetParent(m_hWnd);
    const int id = GetDlgCtrlID(m_hWnd);
    if ((m_style & (kCommandStyle | kNotifyStyle)) == (kCommandStyle | kNotifyStyle)) {
        NMHDR header{m_hWnd, static_cast<UINT_PTR>(id), static_cast<UINT>(NM_CLICK)};
        SendMessageW(parent, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
    } else if (m_style & kCommandStyle) {
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(m_hWnd));
    } else if (!m_target.empty()) {
        const int bytes = WideCharToMultiByte(CP_THREAD_ACP, 0, m_target.c_str(), -1, nullptr, 0, nullptr, nullptr);
        if (bytes <= 0)
            return;
        std::vector<char> target(static_cast<size_t>(bytes));
        WideCharToMultiByte(CP_THREAD_ACP, 0, m_target.c_str(), -1, target.data(), bytes, nullptr, nullptr);
        UrlUtil::ExtractAndOpenHyperlink(target.data());
    }
}

void CCustomizeHyperLink::Paint(HDC dc)
{
    RECT client;
    GetClientRect(m_hWnd, &client);
    CBrushHandle background(CreateSolidBrush(m_background));
    FillRect(dc, &client, background.Get());

    HFONT font = reinterpret_cast<HFONT>(SendMessageW(GetParent(m_hWnd), WM_GETFONT, 0, 0));
    if (HFONT own = reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0)))
        font = own;
    LOGFONTW logFont{};
    GetObjectW(font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT), sizeof logFont, &logFont);
    logFont.lfUnderline = TRUE;
    CFontHandle underlined(CreateFontIndirectW(&logFont));

    wchar_t text[256] = L"";
    GetWindowTextW(m_hWnd, text, 256);
    HGDIOBJ old = SelectObject(dc, underlined.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, m_hover ? kHoverColour : kLinkColour);
    RECT textArea = client;
    DrawTextW(dc, text, -1, &textArea, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (GetFocus() == m_hWnd) {
        RECT measured = client;
        DrawTextW(dc, text, -1, &measured, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
        measured.bottom = client.bottom;
        measured.top = client.top;
        DrawFocusRect(dc, &measured);
    }
    SelectObject(dc, old);
}

bool CCustomizeHyperLink::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        RelayToToolTip(message, wParam, lParam);
        break;
    default:
        break;
    }
    switch (message) {
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(m_hWnd, &paint);
        Paint(dc);
        EndPaint(m_hWnd, &paint);
        result = 0;
        return true;
    }
    case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        result = TRUE;
        return true;
    case WM_MOUSEMOVE:
        if (!m_hover) {
            m_hover = true;
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
            TrackMouseEvent(&track);
            InvalidateRect(m_hWnd, nullptr, FALSE);
        }
        result = 0;
        return true;
    case WM_MOUSELEAVE:
        m_hover = false;
        InvalidateRect(m_hWnd, nullptr, FALSE);
        result = 0;
        return true;
    case WM_LBUTTONDOWN:
        SetFocus(m_hWnd);
        SetCapture(m_hWnd);
        m_pressed = true;
        result = 0;
        return true;
    case WM_LBUTTONUP: {
        if (!m_pressed)
            return false;
        m_pressed = false;
        ReleaseCapture();
        RECT client;
        GetClientRect(m_hWnd, &client);
        const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (PtInRect(&client, point))
            Activate();
        result = 0;
        return true;
    }
    case WM_GETDLGCODE:
        // The keys a focused link takes from the dialog manager: Space (and Enter where no
        // message filter took it first) does what a click does.
        result = DLGC_WANTCHARS;
        return true;
    case WM_CHAR:
        if (wParam == VK_SPACE || wParam == VK_RETURN) {
            Activate();
            result = 0;
            return true;
        }
        return false;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(m_hWnd, nullptr, FALSE);
        return false;
    default:
        return false;
    }
}

}  // namespace wiraxui
