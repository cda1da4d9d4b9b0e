// Values the plug-in keeps for as long as the host keeps it loaded. The host calls every export
// on one thread, so nothing here is locked.
#pragma once

#include "init/ManufacturerTable.h"

#include <array>
#include <string>

namespace wiraxui {

struct ProcessState {
    std::wstring platformKey;      // "Software\Tarvena\Plandra\<version>\PLND-<product id>"
    std::wstring platformUserKey;  // platform key ":" locale id
    std::wstring globalContentUninstallKey;
    std::wstring localContentUninstallKey;
    std::wstring sharedSupportPath;
    std::wstring sharedSymbolLibraryPath;
    std::wstring languageName;

    size_t manufacturerCount = 0;
    std::array<bool, kManufacturerCount> manufacturerPreselected{};
    std::array<int, kManufacturerCount> manufacturerSelected{};
    int manufacturerContentTotal = 0;
    bool sharedSymbolFlag = false;
    bool sharedSupportFlag = false;

    bool firstCall = true;
    bool forcePersonalFolder = true;
    bool forceSymbolFolder = true;
};

ProcessState& State();

}  // namespace wiraxui
