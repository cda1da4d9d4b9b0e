// Checks that a product's required products are on the machine, and that the main product has
// manufacturer content selected before it is installed.
#pragma once

#include "host/HostRecord.h"

class CProduct;

extern "C" {
bool CheckForGlobalProduct(int setupMode, CProduct* product, int* stateResult, int* actionResult);
bool CheckForFormwell(int setupMode, CProduct* product, int* stateResult, int* actionResult);
int CheckBeforeInstall(wiraxui::HostRecord* record);
}

namespace wiraxui {

// Results of CheckBeforeInstall.
constexpr int kNoMainProduct = 0;
constexpr int kNothingBlocks = 1;
constexpr int kNoContentWarned = 2;

}  // namespace wiraxui
