// A language pack installed without its main product in the same run ("standalone").
#pragma once

#include "host/HostRecord.h"

class CSetupManager;

namespace wiraxui {

// "WIRAX" is installed (state 2, 4 or 5) and "WIRAX_LP" is not.
bool IsStandaloneLanguagePack(const CSetupManager& setup);
// "STANDALONE_LP" = "1" on each of the main, platform pack, language pack and content pack products.
void MarkStandaloneLanguagePack(CSetupManager& setup);

}  // namespace wiraxui

extern "C" {
int validateWiraxLPInstall(wiraxui::HostRecord* record);
int InitializeProductLP(wiraxui::HostRecord* record);
}
