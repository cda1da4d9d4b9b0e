// Where the wizard window goes: where the user last left the wizard, or over its parent.
#pragma once

#include <windows.h>

class CUiManager;

namespace wiraxui {

// A window of size centred on area.
RECT CentredRect(SIZE size, const RECT& area);

// Handles WM_WINDOWPOSCHANGING of a wizard window. The first time it centres the window on the
// saved wizard rectangle (and saves where it went) or on its parent; afterwards every move is
// saved. initialised tells which time it is.
void PlaceWizardWindow(HWND window, WINDOWPOS& position, CUiManager* ui, bool& initialised);

}  // namespace wiraxui
