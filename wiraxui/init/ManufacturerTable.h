// The manufacturers whose catalog and panel content the product can install, in their fixed order.
#pragma once

#include <array>
#include <cstdint>

namespace wiraxui {

struct Manufacturer {
    const wchar_t* property;     // installer property carrying the choice ("1" chosen)
    const wchar_t* displayName;  // shown in the list and in "MANUFACTURERCONTENTS"
    const wchar_t* folderName;   // destination of the panel libraries, key of the catalog data
    const wchar_t* archiveName;  // base name of the library archives
    uint64_t size;               // installed bytes
};

constexpr size_t kManufacturerCount = 47;

extern const std::array<Manufacturer, kManufacturerCount> kManufacturers;

// Sum of every row's size: what the full manufacturer content costs.
constexpr long long kFullManufacturerContentBytes = 1085473258LL;

}  // namespace wiraxui
