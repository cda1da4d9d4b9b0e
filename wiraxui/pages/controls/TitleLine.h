// The line under a configuration page's title: the host's own image, so that plug-in pages and
// host pages look alike.
#pragma once

#include <HostCtrls.h>
#include <WiraxUIRes.h>
#include <windows.h>

namespace wiraxui {

// Attaches line to the dialog's title-line control and gives it the host's title-line image.
// False when the control or the image is missing (the control then stays a plain static).
bool AttachTitleLine(HWND dialog, COwnerDrawStatic& line);

}  // namespace wiraxui
