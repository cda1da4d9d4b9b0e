// "user click" on a link control of a wizard page (1062 documentation, 1063 support, 1201 system
// requirements): the link is a static control that notifies its page, and the user presses it
// with the mouse, the left button down and up again in its middle, as on the screen.
// "user click ID TEXT" on a rich label (the host's control) presses its link of that text.
#include "watch/LinkWatch.h"
#include "pages/StepActions.h"

#include <RichLabel.h>

namespace runner::pages {

bool IsLinkControl(HWND control)
{
    return IsClass(control, L"Static") && (GetWindowLongW(control, GWL_STYLE) & SS_NOTIFY) != 0;
}

StepAction PressLink(WiraxSession&, HWND link)
{
    return [link] {
        const size_t mark = StartedProcessCount();
        RECT area{};
        GetClientRect(link, &area);
        const LPARAM middle = MAKELPARAM((area.right - area.left) / 2, (area.bottom - area.top) / 2);
        SendMessageW(link, WM_MOUSEMOVE, 0, middle);
        SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, middle);
        SendMessageW(link, WM_LBUTTONUP, 0, middle);
        WaitForStartedProcesses(mark);
    };
}

bool IsRichLabel(HWND control) { return IsClass(control, kRichLabelClass); }

StepAction PressRichLabelLink(const Step& step, HWND label)
{
    RECT area{};
    // Asked on the page's thread, where the label lays its text out.
    if (!SendMessageW(label, RLM_GETLINKAREA, reinterpret_cast<WPARAM>(step.text.c_str()), reinterpret_cast<LPARAM>(&area)))
        throw hostkit::ScenarioError(step.line, L"the rich label " + std::to_wstring(step.control) + L" has no link \"" + step.text + L"\"");
    const LPARAM middle = MAKELPARAM((area.left + area.right) / 2, (area.top + area.bottom) / 2);
    return [label, middle] {
        const size_t mark = StartedProcessCount();
        SendMessageW(label, WM_MOUSEMOVE, 0, middle);
        SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, middle);
        SendMessageW(label, WM_LBUTTONUP, 0, middle);
        WaitForStartedProcesses(mark);
    };
}

}  // namespace runner::pages
