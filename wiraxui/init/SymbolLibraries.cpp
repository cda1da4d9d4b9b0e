#include "init/SymbolLibraries.h"

namespace wiraxui {

SymbolLibraryChoice ChooseSymbolLibraries(const std::wstring& symbolLibrary)
{
    SymbolLibraryChoice choice;
    choice.bytes = kSymbolLibraryBaseBytes;
    for (const DrawingStandard& standard : kDrawingStandards) {
        if (!standard.initialisationSearch)
            continue;
        const bool wanted = ListContains(symbolLibrary, standard.initialisationSearch);
        if (wanted)
            choice.bytes += standard.bytes;
        for (const wchar_t* name : standard.initialisationProperties)
            choice.properties.emplace_back(name, wanted ? L"1" : standard.clearedValue);
    }
    return choice;
}

std::wstring ReconcileSymbolLibrary(const std::wstring& symbolLibrary, const std::wstring& drawingStandard)
{
    return symbolLibrary.find(drawingStandard) == std::wstring::npos ? drawingStandard : symbolLibrary;
}

}  // namespace wiraxui
