#include "RichLabel.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR kSubclassId = 0x524C;  // one rich label per window

// Splits "text <a href="target">link</a> text" into plain and link segments.
template <typename Segment>
std::vector<Segment> ParseMarkup(const std::wstring& markup)
{
    std::vector<Segment> segments;
    size_t at = 0;
    while (at < markup.size()) {
        const size_t open = markup.find(L"<a href=\"", at);
        const size_t targetEnd = open == std::wstring::npos ? std::wstring::npos : markup.find(L"\">", open + 9);
        const size_t close = targetEnd == std::wstring::npos ? std::wstring::npos : markup.find(L"</a>", targetEnd + 2);
        if (close == std::wstring::npos) {
            segments.push_back({markup.substr(at), std::wstring()});
            break;
        }
        if (open > at)
            segments.push_back({markup.substr(at, open - at), std::wstring()});
        segments.push_back({markup.substr(targetEnd + 2, close - targetEnd - 2), markup.substr(open + 9, targetEnd - open - 9)});
        at = close + 4;
    }
    return segments;
}

}  // namespace

CRichLabelCtrl::CRichLabelCtrl() = default;
CRichLabelCtrl::~CRichLabelCtrl() { UnsubclassWindow(); }

BOOL CRichLabelCtrl::SubclassWindow(HWND window, IRichLabelNotify* notify)
{
    if (m_hWnd || !IsWindow(window))
        return FALSE;
    if (!SetWindowSubclass(window, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return FALSE;
    m_hWnd = window;
    m_notify = notify;
    SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) | SS_NOTIFY);
    wchar_t text[2048] = L"";
    GetWindowTextW(window, text, 2048);
    SetMarkup(text);
    return TRUE;
}

HWND CRichLabelCtrl::UnsubclassWindow()
{
    HWND window = m_hWnd;
    if (window && IsWindow(window))
        RemoveWindowSubclass(window, SubclassProc, kSubclassId);
    m_hWnd = nullptr;
    return window;
}

void CRichLabelCtrl::SetMarkup(const wchar_t* markup)
{
    m_segments = ParseMarkup<Segment>(markup ? markup : L"");
    if (m_hWnd)
        InvalidateRect(m_hWnd, nullptr, TRUE);
}

std::wstring CRichLabelCtrl::PlainText() const
{
    std::wstring text;
    for (const Segment& segment : m_segments)
        text += segment.text;
    return text;
}

std::vector<std::wstring> CRichLabelCtrl::LinkTargets() const
{
    std::vector<std::wstring> targets;
    for (const Segment& segment : m_segments) {
        if (!segment.target.empty())
            targets.push_back(segment.target);
    }
    return targets;
}

bool CRichLabelCtrl::ClickLink(size_t index)
{
    const std::vector<std::wstring> targets = LinkTargets();
    if (index >= targets.size() || !m_notify)
        return false;
    m_notify->OnLinkClicked(m_hWnd, targets[index].c_str());
    return true;
}

void CRichLabelCtrl::Paint(HDC dc)
{
    RECT client;
    GetClientRect(m_hWnd, &client);
    HBRUSH background = CreateSolidBrush(m_bkColor);
    FillRect(dc, &client, background);
    DeleteObject(background);
    Layout(dc, true);
}

void CRichLabelCtrl::Layout(HDC dc, bool draw)
{
    RECT client;
    GetClientRect(m_hWnd, &client);

    HFONT font = reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    LOGFONTW underlined{};
    GetObjectW(font ? font : GetStockObject(DEFAULT_GUI_FONT), sizeof underlined, &underlined);
    underlined.lfUnderline = TRUE;
    HFONT linkFont = CreateFontIndirectW(&underlined);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);

    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    POINT pen{client.left, client.top};
    for (Segment& segment : m_segments) {
        const bool link = !segment.target.empty();
        SelectObject(dc, link ? linkFont : font);
        SetTextColor(dc, link ? RGB(0x00, 0x66, 0xCC) : RGB(0x1E, 0x1E, 0x1E));
        segment.area = RECT{pen.x, pen.y, pen.x, pen.y + metrics.tmHeight};
        // Word by word, so that long texts wrap at the label's right edge.
        size_t at = 0;
        while (at < segment.text.size()) {
            size_t end = segment.text.find(L' ', at);
            end = end == std::wstring::npos ? segment.text.size() : end + 1;
            const std::wstring word = segment.text.substr(at, end - at);
            SIZE extent{};
            GetTextExtentPoint32W(dc, word.c_str(), static_cast<int>(word.size()), &extent);
            if (pen.x + extent.cx > client.right && pen.x > client.left) {
                pen.x = client.left;
                pen.y += metrics.tmHeight;
            }
            if (draw)
                TextOutW(dc, pen.x, pen.y, word.c_str(), static_cast<int>(word.size()));
            if (segment.area.right == segment.area.left)
                segment.area = RECT{pen.x, pen.y, pen.x, pen.y + metrics.tmHeight};
            pen.x += extent.cx;
            segment.area.right = pen.x > segment.area.right ? pen.x : segment.area.right;
            segment.area.bottom = pen.y + metrics.tmHeight;
            at = end;
        }
    }
    SelectObject(dc, oldFont);
    DeleteObject(linkFont);
}

int CRichLabelCtrl::SegmentAt(POINT point) const
{
    for (size_t index = 0; index < m_segments.size(); ++index) {
        if (!m_segments[index].target.empty() && PtInRect(&m_segments[index].area, point))
            return static_cast<int>(index);
    }
    return -1;
}

LRESULT CALLBACK CRichLabelCtrl::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                              DWORD_PTR self)
{
    auto* label = reinterpret_cast<CRichLabelCtrl*>(self);
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        label->Paint(dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_SETTEXT: {
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        label->SetMarkup(reinterpret_cast<const wchar_t*>(lParam));
        return result;
    }
    case WM_SETCURSOR: {
        POINT point;
        GetCursorPos(&point);
        ScreenToClient(window, &point);
        if (label->SegmentAt(point) >= 0) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    }
    case WM_LBUTTONUP: {
        const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const int index = label->SegmentAt(point);
        if (index >= 0 && label->m_notify)
            label->m_notify->OnLinkClicked(window, label->m_segments[index].target.c_str());
        return 0;
    }
    case RLM_GETLINKAREA: {
        const wchar_t* text = reinterpret_cast<const wchar_t*>(wParam);
        RECT* area = reinterpret_cast<RECT*>(lParam);
        if (!text || !area)
            return FALSE;
        HDC dc = GetDC(window);
        label->Layout(dc, false);
        ReleaseDC(window, dc);
        for (const Segment& segment : label->m_segments) {
            if (!segment.target.empty() && segment.text == text) {
                *area = segment.area;
                return TRUE;
            }
        }
        return FALSE;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, SubclassProc, kSubclassId);
        label->m_hWnd = nullptr;
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

namespace {

// The rich label's window class: the system's static control under the host's name, so that
// dialog templates can hold one. Registered for as long as the library is loaded.
bool RegisterRichLabelClass(HINSTANCE module)
{
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    if (!GetClassInfoExW(nullptr, L"Static", &info))
        return false;
    info.hInstance = module;
    info.lpszClassName = kRichLabelClass;
    info.style |= CS_GLOBALCLASS;
    return RegisterClassExW(&info) != 0;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        RegisterRichLabelClass(module);
    else if (reason == DLL_PROCESS_DETACH)
        UnregisterClassW(kRichLabelClass, module);
    return TRUE;
}
