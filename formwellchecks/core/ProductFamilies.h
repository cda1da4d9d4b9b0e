// The mechanical product's base products, the family each belongs to, and the codes its language
// packs are installed under.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace formwell {

struct ProductFamily {
    const wchar_t* baseCode;
    const wchar_t* key;               // "FORMWELL" or "FORMWELLLT"
    const wchar_t* packCodeTemplate;  // the base code with "%04d" (the language) in its fourth group
    UINT packLinkId;                  // the link shown when a leftover pack blocks the product
};

// The base products in the order they are matched.
extern const ProductFamily kProductFamilies[3];
// Language identifiers of the packs, in the order they are looked for.
extern const int kPackLanguages[13];

// The family whose base code equals code, ignoring case; null for any other code.
const ProductFamily* FindFamily(const std::wstring& code);
bool IsBaseProductCode(const std::wstring& code);

// The codes of the family's language packs, in language order, joined by ";".
std::wstring LanguagePackCodeList(const ProductFamily& family);

// Windows Installer's states that count as present: advertised (1) and installed (5).
bool IsPresentState(int state);

// Walks the ";"-separated list from the front, each code trimmed of white space, and gives the
// first one whose state counts as present. An empty piece is never asked about.
std::optional<std::wstring> FirstPresentCode(const std::wstring& list,
                                             const std::function<int(const std::wstring& code)>& stateOf);

// The blocking message: the heading, a blank line and the leftover pack's name.
std::wstring LeftoverPackMessage(const std::wstring& heading, const std::wstring& packName);

}  // namespace formwell
