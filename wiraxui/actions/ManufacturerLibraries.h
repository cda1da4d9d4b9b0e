// The panel libraries of the selected manufacturers: two archives per manufacturer, each into
// its own folder below the shared symbol library path.
#pragma once

#include "actions/InstallContext.h"

namespace wiraxui::actions {

// kDone, kCancelled, or kFailed when an archive that exists cannot be unpacked.
int InstallManufacturerLibraries(InstallContext& context);

}  // namespace wiraxui::actions
