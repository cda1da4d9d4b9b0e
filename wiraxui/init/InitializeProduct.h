// Product initialisation: the installer properties and disk cost of the main product.
#pragma once

#include "host/HostRecord.h"

extern "C" int InitializeProduct_WRX(wiraxui::HostRecord* record);

namespace wiraxui {
// Texts of the missing-content warning (message kind 2), shared with the manufacturer pages.
constexpr int kMissingContentMessageKind = 2;
}  // namespace wiraxui
