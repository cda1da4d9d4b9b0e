// Which symbol libraries a "SYMBOLLIBRARY" value asks for, and what they cost on disk.
// Codes are found by substring search, so "IEC6" also selects the "IEC" libraries.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace wiraxui {

struct SymbolLibraryCost {
    const wchar_t* code;  // drawing standard code searched in "SYMBOLLIBRARY"
    long long bytes;
};

// Always installed, whatever the codes.
constexpr long long kSymbolLibraryBaseBytes = 2705308172LL;
extern const std::array<SymbolLibraryCost, 7> kSymbolLibraryCosts;

struct SymbolLibraryProperty {
    const wchar_t* property;
    const wchar_t* code;  // null: always "1"
};

// In the order the properties are written.
extern const std::array<SymbolLibraryProperty, 13> kSymbolLibraryProperties;

struct SymbolLibraryChoice {
    std::vector<std::pair<std::wstring, std::wstring>> properties;  // name, "1" or "0", in write order
    long long bytes = 0;
};

SymbolLibraryChoice ChooseSymbolLibraries(const std::wstring& symbolLibrary);

// "SYMBOLLIBRARY" after it has been reconciled with "DRAWINGSTANDARD": a value that does not
// contain the standard is replaced by it; an empty standard counts as contained.
std::wstring ReconcileSymbolLibrary(const std::wstring& symbolLibrary, const std::wstring& drawingStandard);

}  // namespace wiraxui
