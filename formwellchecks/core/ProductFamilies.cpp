#include "core/ProductFamilies.h"

#include "FormwellUIRes.h"

#include <cwchar>
#include <cwctype>

namespace formwell {

const ProductFamily kProductFamilies[3] = {
    {L"{7F4DD591-2564-0001-0000-7107D70F3DB4}", L"FORMWELL", L"{7F4DD591-2564-0001-%04d-7107D70F3DB4};",
     IDS_FORMWELL_LANGUAGE_PACK_LINK},
    {L"{7F4DD591-2532-0002-0000-7107D70F3DB4}", L"FORMWELLLT", L"{7F4DD591-2532-0002-%04d-7107D70F3DB4};",
     IDS_FORMWELLLT_LANGUAGE_PACK_LINK},
    {L"{7F4DD591-2564-0002-0000-7107D70F3DB4}", L"FORMWELLLT", L"{7F4DD591-2564-0002-%04d-7107D70F3DB4};",
     IDS_FORMWELLLT_LANGUAGE_PACK_LINK},
};

const int kPackLanguages[13] = {1033, 2052, 1028, 1029, 1031, 3082, 1036, 1040, 1041, 1042, 1045, 1046, 1049};

const ProductFamily* FindFamily(const std::wstring& code)
{
    for (const ProductFamily& family : kProductFamilies) {
        if (_wcsicmp(code.c_str(), family.baseCode) == 0)
            return &family;
    }
    return nullptr;
}

bool IsBaseProductCode(const std::wstring& code) { return FindFamily(code) != nullptr; }

std::wstring LanguagePackCodeList(const ProductFamily& family)
{
    // Each formatted code carries its own ";", so the codes simply follow one another.
    std::wstring list;
    for (int language : kPackLanguages) {
        wchar_t code[64] = L"";
        swprintf(code, 64, family.packCodeTemplate, language);
        list += code;
    }
    if (!list.empty() && list.back() == L';')
        list.pop_back();
    return list;
}

bool IsPresentState(int state) { return state == 1 || state == 5; }

namespace {
std::wstring Trimmed(const std::wstring& text)
{
    size_t first = 0;
    size_t last = text.size();
    while (first < last && iswspace(text[first]))
        ++first;
    while (last > first && iswspace(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}
}  // namespace

std::optional<std::wstring> FirstPresentCode(const std::wstring& list,
                                             const std::function<int(const std::wstring& code)>& stateOf)
{
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(L';', start);
        if (end == std::wstring::npos)
            end = list.size();
        const std::wstring code = Trimmed(list.substr(start, end - start));
        if (!code.empty() && IsPresentState(stateOf(code)))
            return code;
        start = end + 1;
    }
    return std::nullopt;
}

std::wstring LeftoverPackMessage(const std::wstring& heading, const std::wstring& packName)
{
    return heading + L"\n\n" + packName;
}

}  // namespace formwell
