// Which symbol libraries product initialisation installs for a "SYMBOLLIBRARY" value, and what
// they cost on disk; read from the drawing-standard table.
#pragma once

#include "init/DrawingStandards.h"

#include <string>

namespace wiraxui {

struct SymbolLibraryChoice {
    PropertyWrites properties;  // name, "1" or "0", in write order
    long long bytes = 0;
};

SymbolLibraryChoice ChooseSymbolLibraries(const std::wstring& symbolLibrary);

// "SYMBOLLIBRARY" after it has been reconciled with "DRAWINGSTANDARD": a value that does not
// contain the standard is replaced by it; an empty standard counts as contained.
std::wstring ReconcileSymbolLibrary(const std::wstring& symbolLibrary, const std::wstring& drawingStandard);

}  // namespace wiraxui
