#include "pages/manufacturer/ManufacturerSelection.h"

#include <HostVocabulary.h>
#include <algorithm>

namespace wiraxui {

namespace {

bool At(const std::vector<bool>& flags, size_t row) { return row < flags.size() && flags[row]; }

// The first row where choice and preselection disagree decides.
bool DiffersFromPreselection(const ManufacturerSaveInput& input, size_t rows)
{
    for (size_t row = 0; row < rows; ++row) {
        if (At(input.checked, row) != At(input.preselected, row))
            return true;
    }
    return false;
}

}  // namespace

ManufacturerSavePlan PlanManufacturerSave(const ManufacturerSaveInput& input)
{
    ManufacturerSavePlan plan;
    const size_t rows = std::min(input.rows, kManufacturerCount);
    for (size_t row = 0; row < rows; ++row) {
        const Manufacturer& manufacturer = kManufacturers[row];
        const bool chosen = At(input.checked, row);
        plan.properties.emplace_back(manufacturer.property, chosen ? L"1" : L"0");
        plan.selected.push_back(chosen ? 1 : 0);
        if (!chosen)
            continue;
        plan.anyChecked = true;
        if (!plan.summary.empty())
            plan.summary += L", ";
        plan.summary += manufacturer.displayName;
        plan.total += static_cast<long long>(manufacturer.size);
    }
    if (input.setupMode == Setup::SETUPMODE_DEPLOY_CHANGE && DiffersFromPreselection(input, rows)) {
        plan.setSharedSymbol = input.sharedSymbolRequested;
        plan.setSharedSupport = input.sharedSupportRequested;
    }
    return plan;
}

}  // namespace wiraxui
