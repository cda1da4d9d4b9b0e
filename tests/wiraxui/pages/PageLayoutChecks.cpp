#include "PageLayoutChecks.h"

#include <algorithm>
#include <map>

namespace pagetest {

namespace {

std::wstring ClassOf(HWND control)
{
    wchar_t name[64] = L"";
    GetClassNameW(control, name, 64);
    return name;
}

std::wstring TextOf(HWND control)
{
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(control, text.data(), length + 1);
    text.resize(wcslen(text.c_str()));
    return text;
}

std::vector<HWND> VisibleChildren(HWND dialog)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        RECT area;
        GetWindowRect(child, &area);
        if (area.right > area.left && area.bottom > area.top)
            children.push_back(child);
    }
    return children;
}

LONG StyleOf(HWND control) { return static_cast<LONG>(GetWindowLongPtrW(control, GWL_STYLE)); }

bool IsButtonClass(HWND control) { return _wcsicmp(ClassOf(control).c_str(), L"Button") == 0; }
bool IsStaticClass(HWND control) { return _wcsicmp(ClassOf(control).c_str(), L"Static") == 0; }

LONG ButtonType(HWND control) { return StyleOf(control) & BS_TYPEMASK; }
bool IsGroupBox(HWND control) { return IsButtonClass(control) && ButtonType(control) == BS_GROUPBOX; }
bool IsRadioButton(HWND control)
{
    const LONG type = ButtonType(control);
    return IsButtonClass(control) && (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
}
bool IsCheckOrRadio(HWND control)
{
    const LONG type = ButtonType(control);
    return IsButtonClass(control) && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
                                      type == BS_AUTO3STATE || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
}

// The size text needs in control's font: on one line, or wrapped at width when width > 0.
SIZE MeasureText(HWND control, const std::wstring& text, int width, UINT extraFormat)
{
    HDC dc = GetDC(control);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    HGDIOBJ previous = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    RECT bounds{0, 0, width > 0 ? width : 0, 0};
    UINT format = DT_CALCRECT | extraFormat | (width > 0 ? DT_WORDBREAK : DT_SINGLELINE);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds, format);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
}

std::wstring Size(int width, int height) { return std::to_wstring(width) + L"x" + std::to_wstring(height); }

// One problem line, or nothing when the text fits.
std::wstring CheckButtonText(HWND control, const std::wstring& text, const RECT& client)
{
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    const LONG style = StyleOf(control);
    const bool multiline = (style & BS_MULTILINE) != 0;
    if (IsGroupBox(control)) {
        // The caption sits in the frame, a little way in from its left edge.
        const SIZE needed = MeasureText(control, text, 0, 0);
        if (needed.cx + 2 * GetSystemMetrics(SM_CXEDGE) * 4 > width)
            return L"group box caption needs " + Size(needed.cx, needed.cy) + L", frame is " + Size(width, height);
        return {};
    }
    if (IsCheckOrRadio(control)) {
        // The check mark comes first, then a gap, then the text.
        const int mark = GetSystemMetrics(SM_CXMENUCHECK) + GetSystemMetrics(SM_CXEDGE) * 2;
        const int room = width - mark;
        const SIZE needed = MeasureText(control, text, multiline ? room : 0, 0);
        if (needed.cx > room || needed.cy > height)
            return L"text needs " + Size(needed.cx, needed.cy) + L" beside its mark, room is " +
                   Size(room > 0 ? room : 0, height);
        return {};
    }
    // Push buttons, owner-drawn or not: the text inside the button's edges.
    const int edge = GetSystemMetrics(SM_CXEDGE) * 2 + 2;
    const int room = width - 2 * edge;
    const SIZE needed = MeasureText(control, text, multiline ? room : 0, 0);
    if (needed.cx > room || needed.cy > height - 2)
        return L"button text needs " + Size(needed.cx, needed.cy) + L", button is " + Size(width, height);
    return {};
}

std::wstring CheckStaticText(HWND control, const std::wstring& text, const RECT& client)
{
    const LONG style = StyleOf(control);
    if (style & SS_ELLIPSISMASK)
        return {};  // the control shortens its text by design
    const LONG type = style & SS_TYPEMASK;
    const UINT prefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) {
        const SIZE needed = MeasureText(control, text, width, prefix);
        if (needed.cx > width || needed.cy > height)
            return L"wrapped text needs " + Size(needed.cx, needed.cy) + L", control is " + Size(width, height);
        return {};
    }
    if (type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP) {
        const SIZE needed = MeasureText(control, text, 0, prefix);
        if (needed.cx > width || needed.cy > height)
            return L"text needs " + Size(needed.cx, needed.cy) + L", control is " + Size(width, height);
    }
    return {};  // icons, bitmaps, frames and owner-drawn statics carry no text of their own
}

// Radio buttons of one group share a stop: the group is named by its first button.
HWND StopKey(HWND dialog, HWND control)
{
    if (!IsRadioButton(control))
        return control;
    HWND key = control;
    while (!(StyleOf(key) & WS_GROUP)) {
        HWND previous = GetWindow(key, GW_HWNDPREV);
        if (!previous || GetParent(previous) != dialog || !IsRadioButton(previous))
            break;
        key = previous;
    }
    return key;
}

// The checked button of control's radio group, or control itself.
HWND CheckedRadioOfGroup(HWND dialog, HWND control)
{
    if (!IsRadioButton(control))
        return control;
    HWND key = StopKey(dialog, control);
    for (HWND button = key; button && IsRadioButton(button); button = GetWindow(button, GW_HWNDNEXT)) {
        if (button != key && (StyleOf(button) & WS_GROUP))
            break;
        if (SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED)
            return button;
    }
    return control;
}

}  // namespace

std::wstring DescribeControl(HWND control)
{
    if (!control)
        return L"(no control)";
    std::wstring text = TextOf(control);
    if (text.size() > 40)
        text = text.substr(0, 37) + L"...";
    return std::to_wstring(static_cast<int>(static_cast<short>(GetDlgCtrlID(control)))) + L" " + ClassOf(control) +
           L" \"" + text + L"\"";
}

std::string JoinProblems(const std::vector<std::wstring>& problems)
{
    std::string joined;
    for (const std::wstring& problem : problems) {
        for (wchar_t c : problem)
            joined += c < 128 ? static_cast<char>(c) : '?';
        joined += '\n';
    }
    return joined;
}

std::vector<std::wstring> ClippedTextProblems(HWND dialog)
{
    std::vector<std::wstring> problems;
    for (HWND control : VisibleChildren(dialog)) {
        const std::wstring text = TextOf(control);
        if (text.empty())
            continue;
        RECT client;
        GetClientRect(control, &client);
        std::wstring problem;
        if (IsButtonClass(control))
            problem = CheckButtonText(control, text, client);
        else if (IsStaticClass(control))
            problem = CheckStaticText(control, text, client);
        if (!problem.empty())
            problems.push_back(DescribeControl(control) + L": " + problem);
    }
    return problems;
}

std::vector<std::wstring> OverlapProblems(HWND dialog)
{
    std::vector<HWND> controls = VisibleChildren(dialog);
    controls.erase(std::remove_if(controls.begin(), controls.end(), IsGroupBox), controls.end());
    std::vector<std::wstring> problems;
    for (size_t first = 0; first < controls.size(); ++first) {
        RECT a;
        GetWindowRect(controls[first], &a);
        for (size_t second = first + 1; second < controls.size(); ++second) {
            RECT b;
            RECT common;
            GetWindowRect(controls[second], &b);
            if (IntersectRect(&common, &a, &b))
                problems.push_back(DescribeControl(controls[first]) + L" overlaps " + DescribeControl(controls[second]) +
                                   L" by " + Size(common.right - common.left, common.bottom - common.top));
        }
    }
    return problems;
}

std::vector<std::wstring> LayoutProblems(HWND dialog)
{
    std::vector<std::wstring> problems = ClippedTextProblems(dialog);
    for (std::wstring& overlap : OverlapProblems(dialog))
        problems.push_back(std::move(overlap));
    return problems;
}

std::vector<std::wstring> TabOrderProblems(HWND dialog)
{
    std::vector<std::wstring> problems;
    std::map<HWND, int> expected;  // stop key -> visits in this round
    for (HWND control : VisibleChildren(dialog)) {
        if (IsWindowEnabled(control) && (StyleOf(control) & WS_TABSTOP))
            expected[StopKey(dialog, control)] = 0;
    }
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    if (!first) {
        if (!expected.empty())
            problems.push_back(L"the dialog offers no first tab stop");
        return problems;
    }
    // The dialog manager enters a group of radio buttons at its checked button.
    first = CheckedRadioOfGroup(dialog, first);
    SetFocus(first);
    if (GetFocus() != first) {
        problems.push_back(L"the first tab stop " + DescribeControl(first) + L" cannot take the focus");
        return problems;
    }
    expected[StopKey(dialog, first)] = 1;

    const HWND firstKey = StopKey(dialog, first);
    bool cameBack = false;
    const size_t limit = expected.size() + 2;
    for (size_t presses = 0; presses < limit; ++presses) {
        HWND focus = GetFocus();
        MSG tab{focus, WM_KEYDOWN, VK_TAB, 0, static_cast<DWORD>(GetMessageTime()), {}};
        IsDialogMessageW(dialog, &tab);
        MSG pending;
        while (PeekMessageW(&pending, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&pending);
            DispatchMessageW(&pending);
        }
        HWND now = GetFocus();
        if (!now || (now != dialog && !IsChild(dialog, now))) {
            problems.push_back(L"Tab took the focus out of the dialog from " + DescribeControl(focus));
            return problems;
        }
        const HWND key = StopKey(dialog, now);
        if (key == firstKey) {
            cameBack = true;
            break;
        }
        auto found = expected.find(key);
        if (found == expected.end()) {
            problems.push_back(L"Tab reached " + DescribeControl(now) + L", which is no enabled tab stop");
            continue;
        }
        if (++found->second == 2)
            problems.push_back(L"Tab reached " + DescribeControl(now) + L" twice before coming back");
    }
    if (!cameBack)
        problems.push_back(L"Tab never came back to " + DescribeControl(first));
    for (const auto& [control, visits] : expected) {
        if (visits == 0)
            problems.push_back(L"Tab never reached " + DescribeControl(control));
    }
    return problems;
}

}  // namespace pagetest
