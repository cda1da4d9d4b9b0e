// Product initialisation: the installer properties and disk cost of the main product.
#pragma once

#include "host/HostRecord.h"

#include <HostVocabulary.h>

extern "C" int InitializeProduct_WRX(wiraxui::HostRecord* record);

namespace wiraxui {
// The missing-content warning is a warning message, shared with the manufacturer pages.
constexpr int kMissingContentMessageKind = Setup::MESSAGE_WARNING;
}  // namespace wiraxui
