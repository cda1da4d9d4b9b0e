#include "pages/framework/WizardPlacement.h"

#include <SetupHost.h>

namespace wiraxui {

RECT CentredRect(SIZE size, const RECT& area)
{
    const LONG left = area.left + ((area.right - area.left) - size.cx) / 2;
    const LONG top = area.top + ((area.bottom - area.top) - size.cy) / 2;
    return RECT{left, top, left + size.cx, top + size.cy};
}

void PlaceWizardWindow(HWND window, WINDOWPOS& position, CUiManager* ui, bool& initialised)
{
    if (IsIconic(window))
        return;
    RECT current;
    GetWindowRect(window, &current);
    const SIZE size = (position.flags & SWP_NOSIZE) ? SIZE{current.right - current.left, current.bottom - current.top}
                                                     : SIZE{position.cx, position.cy};
    if (initialised) {
        if (position.flags & SWP_NOMOVE)
            return;
        if (ui)
            ui->SetWindowPos(RECT{position.x, position.y, position.x + size.cx, position.y + size.cy});
        position.flags |= SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
        return;
    }
    RECT target;
    if (ui && ui->IsWindowPosSaved()) {
        target = CentredRect(size, ui->GetWindowPos());
        ui->SetWindowPos(target);
    } else {
        RECT around;
        HWND parent = GetParent(window);
        if (parent && IsWindowVisible(parent))
            GetWindowRect(parent, &around);
        else
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &around, 0);
        target = CentredRect(size, around);
    }
    position.x = target.left;
    position.y = target.top;
    position.flags &= ~SWP_NOMOVE;
    initialised = true;
}

}  // namespace wiraxui
