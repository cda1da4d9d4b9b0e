#include "checks/NoticeRecord.h"

#include <cwchar>
#include <cwctype>

namespace wiraxui {

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

void CopyNoticeText(wchar_t (&field)[kNoticeTextChars], const std::wstring& text)
{
    const size_t length = text.size() < kNoticeTextChars - 1 ? text.size() : kNoticeTextChars - 1;
    wmemcpy(field, text.data(), length);
    field[length] = L'\0';
}

std::vector<std::wstring> SplitNoticeParameter(const std::wstring& parameter)
{
    std::vector<std::wstring> pieces;
    size_t start = 0;
    for (;;) {
        const size_t separator = parameter.find(L';', start);
        if (separator == std::wstring::npos) {
            pieces.push_back(Trimmed(parameter.substr(start)));
            break;
        }
        pieces.push_back(Trimmed(parameter.substr(start, separator - start)));
        start = separator + 1;
    }
    if (pieces.back().empty())
        pieces.pop_back();
    return pieces;
}

bool BeginsWith(const std::wstring& text, const wchar_t* prefix)
{
    const size_t length = wcslen(prefix);
    return text.size() >= length && text.compare(0, length, prefix) == 0;
}

bool BeginsWithIgnoringCase(const std::wstring& text, const wchar_t* prefix)
{
    const size_t length = wcslen(prefix);
    return text.size() >= length && _wcsnicmp(text.c_str(), prefix, length) == 0;
}

}  // namespace wiraxui
