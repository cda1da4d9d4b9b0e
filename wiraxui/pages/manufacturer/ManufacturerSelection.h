// What saving the manufacturer choice writes, decided from the check states alone.
#pragma once

#include "init/ManufacturerTable.h"

#include <string>
#include <utility>
#include <vector>

namespace wiraxui {

struct ManufacturerSaveInput {
    std::vector<bool> checked;       // check state per row of the manufacturer table
    size_t rows = kManufacturerCount; // rows to save, from the first
    int setupMode = 0;
    std::vector<bool> preselected;   // per row, as a deployment preselected them
    bool sharedSymbolRequested = false;   // "SHAREDSYMBOL" is "1"
    bool sharedSupportRequested = false;  // "SHAREDSUPPORT" is "1"
};

struct ManufacturerSavePlan {
    // Every saved row's property with "1" or "0", in table order.
    std::vector<std::pair<std::wstring, std::wstring>> properties;
    std::wstring summary;     // "MANUFACTURERCONTENTS": display names joined by ", "
    long long total = 0;      // bytes of the chosen content
    std::vector<int> selected;  // 1 or 0 per saved row
    bool anyChecked = false;
    // A deployment's choice differs from its preselection and asks for shared content.
    bool setSharedSymbol = false;
    bool setSharedSupport = false;
};

ManufacturerSavePlan PlanManufacturerSave(const ManufacturerSaveInput& input);

}  // namespace wiraxui
