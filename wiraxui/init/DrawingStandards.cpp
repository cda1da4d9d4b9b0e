#include "init/DrawingStandards.h"

#include <wchar.h>

namespace wiraxui {

namespace {

template <class... Names>
constexpr LibraryProperties Libraries(Names... names)
{
    return LibraryProperties{{names...}, sizeof...(names)};
}

constexpr LibraryProperties kNone{};

}  // namespace

// Columns: code; radio, chosen on the page, listed in "SYMBOLLIBRARY"; token, box, box
// libraries, value while clear, bytes; installed value; initialisation search and libraries;
// reset to one; reset on a change of standard; further box.
const std::array<DrawingStandard, kDrawingStandardCount> kDrawingStandards = {{
    {L"JIC", 1005, Libraries(L"WXJIC1", L"WXJICDEMO"), Libraries(L"WXJIC1", L"WXJICDEMO"),
     L"JIC,", 33017, Libraries(L"WXJIC1", L"WXJICDEMO"), L"1", 109169893LL,
     L"SYMLIB_JICDEMO", L"JIC", Libraries(L"WXJIC1", L"WXJICDEMO"), L"WXJICDEMO", kNone, 0},
    {L"IEC", 1006, Libraries(L"WXIEC2", L"WXIEC4", L"WXIEC6", L"WXIECDEMO"),
     Libraries(L"WXIEC2", L"WXIEC4", L"WXIEC6", L"WXIECDEMO", L"WXIEC6DEMO"),
     L"IEC,", 33018, Libraries(L"WXIEC2", L"WXIEC4", L"WXIECDEMO"), L"0", 414426737LL,
     L"SYMLIB_IECDEMO", L"IEC", Libraries(L"WXIEC2", L"WXIEC4", L"WXIECDEMO"), nullptr, kNone, 33024},
    {L"IEC6", 0, kNone, kNone,
     L"IEC6,", 33024, Libraries(L"WXIEC6", L"WXIEC6DEMO"), L"0", 212978754LL,
     L"SYMLIB_IEC6DEMO", L"IEC6", Libraries(L"WXIEC6"), nullptr, kNone, 0},
    {L"IEEE", 1009, Libraries(L"WXIEEE", L"WXIEEEDEMO"), Libraries(L"WXIEEE", L"WXIEEEDEMO"),
     L"IEEE,", 33023, Libraries(L"WXIEEE", L"WXIEEEDEMO"), L"0", 213674059LL,
     L"SYMLIB_IEEEDEMO", nullptr, kNone, nullptr, kNone, 0},
    {L"GB", 1007, Libraries(L"WXGB2", L"WXGBDEMO"), Libraries(L"WXGB2", L"WXGBDEMO"),
     L"GB,", 33020, Libraries(L"WXGB2", L"WXGBDEMO"), L"0", 207784423LL,
     L"SYMLIB_GBDEMO", L"GB", Libraries(L"WXGB2", L"WXGBDEMO"), nullptr, kNone, 0},
    {L"JIS", 1008, Libraries(L"WXJIS2", L"WXJISDEMO"), Libraries(L"WXJIS2", L"WXJISDEMO"),
     L"JIS,", 33021, Libraries(L"WXJIS2", L"WXJISDEMO"), L"0", 200607478LL,
     L"SYMLIB_JISDEMO", L"JIS", Libraries(L"WXJIS2", L"WXJISDEMO"), nullptr, kNone, 0},
    {L"AS", 0, kNone, kNone,
     L"AS2,", 33022, Libraries(L"WXAS2", L"WXASDEMO"), L"0", 207294692LL,
     L"SYMLIB_ASDEMO", L"AS2", Libraries(L"WXAS2"), nullptr, Libraries(L"WXAS2"), 0},
    {L"NFPA", 1012, Libraries(L"WXNFPA", L"WXNFPADEMO"), Libraries(L"WXNFPA", L"WXNFPADEMO"),
     L"NFPA,", 33025, Libraries(L"WXNFPA", L"WXNFPADEMO"), L"0", 112117238LL,
     L"SYMLIB_NFPADEMO", L"NFPA", Libraries(L"WXNFPA", L"WXNFPADEMO"), nullptr, kNone, 0},
}};

const DrawingStandard* FindOfferedStandard(const std::wstring& code)
{
    for (const DrawingStandard& standard : kDrawingStandards) {
        if (standard.radioButton && _wcsicmp(standard.code, code.c_str()) == 0)
            return &standard;
    }
    return nullptr;
}

const DrawingStandard* FindStandardByBox(int box)
{
    for (const DrawingStandard& standard : kDrawingStandards) {
        if (standard.checkBox == box)
            return &standard;
    }
    return nullptr;
}

bool ListContains(const std::wstring& list, const wchar_t* text)
{
    return text && list.find(text) != std::wstring::npos;
}

PropertyWrites LibraryReset(bool standardChange)
{
    PropertyWrites writes;
    for (const DrawingStandard& standard : kDrawingStandards) {
        for (const wchar_t* name : standard.listedProperties) {
            const bool one = standard.resetToOne && wcscmp(standard.resetToOne, name) == 0;
            writes.emplace_back(name, one ? L"1" : L"0");
        }
    }
    if (standardChange) {
        for (const DrawingStandard& standard : kDrawingStandards) {
            for (const wchar_t* name : standard.alsoResetOnStandardChange)
                writes.emplace_back(name, L"0");
        }
    }
    return writes;
}

}  // namespace wiraxui
