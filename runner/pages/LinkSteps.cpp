// "user click" on a link control of a wizard page (1062 documentation, 1063 support, 1201 system
// requirements): the link is a static control that notifies its page, and the user presses it
// with the mouse, the left button down and up again in its middle, as on the screen.
#include "watch/LinkWatch.h"
#include "pages/StepActions.h"

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

}  // namespace runner::pages
