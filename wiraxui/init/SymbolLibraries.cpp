#include "init/SymbolLibraries.h"

namespace wiraxui {

const std::array<SymbolLibraryCost, 7> kSymbolLibraryCosts = {{
    {L"JIC", 109169893LL},
    {L"IEC", 414426737LL},
    {L"IEC6", 212978754LL},
    {L"GB", 207784423LL},
    {L"JIS", 200607478LL},
    {L"AS2", 207294692LL},
    {L"NFPA", 112117238LL},
}};

const std::array<SymbolLibraryProperty, 13> kSymbolLibraryProperties = {{
    {L"WXJIC1", nullptr},
    {L"WXJICDEMO", nullptr},
    {L"WXIEC2", L"IEC"},
    {L"WXIEC4", L"IEC"},
    {L"WXIECDEMO", L"IEC"},
    {L"WXIEC6", L"IEC6"},
    {L"WXGB2", L"GB"},
    {L"WXGBDEMO", L"GB"},
    {L"WXJIS2", L"JIS"},
    {L"WXJISDEMO", L"JIS"},
    {L"WXAS2", L"AS2"},
    {L"WXNFPA", L"NFPA"},
    {L"WXNFPADEMO", L"NFPA"},
}};

namespace {
bool Contains(const std::wstring& text, const wchar_t* code) { return text.find(code) != std::wstring::npos; }
}  // namespace

SymbolLibraryChoice ChooseSymbolLibraries(const std::wstring& symbolLibrary)
{
    SymbolLibraryChoice choice;
    choice.bytes = kSymbolLibraryBaseBytes;
    for (const SymbolLibraryCost& cost : kSymbolLibraryCosts) {
        if (Contains(symbolLibrary, cost.code))
            choice.bytes += cost.bytes;
    }
    for (const SymbolLibraryProperty& library : kSymbolLibraryProperties) {
        const bool wanted = !library.code || Contains(symbolLibrary, library.code);
        choice.properties.emplace_back(library.property, wanted ? L"1" : L"0");
    }
    return choice;
}

std::wstring ReconcileSymbolLibrary(const std::wstring& symbolLibrary, const std::wstring& drawingStandard)
{
    return symbolLibrary.find(drawingStandard) == std::wstring::npos ? drawingStandard : symbolLibrary;
}

}  // namespace wiraxui
