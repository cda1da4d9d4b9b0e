// The install-time action of a deployment: fills the shared symbol library and shared support
// folders from the installation media.
#pragma once

#include "actions/InstallContext.h"

#include <array>

namespace wiraxui::actions {

// The fourteen symbol library archives, in the order they are unpacked.
extern const std::array<const wchar_t*, 14> kLibraryArchives;

// The source folder of the PLC data for a language: "\Plc\Enu\" for "en-us", "\Plc\Loc\" else.
std::wstring PlcSourceFolder(const std::wstring& languageName);

// Steps of the work, on a context whose paths are set: the fourteen library archives (the first
// failure ends them), and the three folder trees of the support data (a cancel ends them).
int UnpackSymbolLibraries(InstallContext& context);
int CopySupportData(InstallContext& context);

// The whole action on the host's installation; 0, 1602 or 1603.
int InstallSharedLibraries(CSetupManager& setup);

}  // namespace wiraxui::actions
