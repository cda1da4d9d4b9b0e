#include "util/FolderText.h"

#include <windows.h>
#include <shlwapi.h>

#include <cwctype>
#include <vector>

namespace wiraxui {

namespace {

constexpr wchar_t kBlanks[] = L" \t";
constexpr wchar_t kInvalidInElement[] = L"\\/:*?\"<>|";

std::wstring TrimWith(const std::wstring& text, const wchar_t* characters)
{
    std::vector<wchar_t> buffer(text.begin(), text.end());
    buffer.push_back(L'\0');
    StrTrimW(buffer.data(), characters);
    return buffer.data();
}

std::vector<std::wstring> Split(const std::wstring& text)
{
    std::vector<std::wstring> elements;
    size_t start = 0;
    for (;;) {
        const size_t slash = text.find(L'\\', start);
        elements.push_back(text.substr(start, slash == std::wstring::npos ? std::wstring::npos : slash - start));
        if (slash == std::wstring::npos)
            return elements;
        start = slash + 1;
    }
}

bool IsValidElement(const std::wstring& element)
{
    const std::wstring trimmed = TrimWith(element, kBlanks);
    return !trimmed.empty() && trimmed.find_first_of(kInvalidInElement) == std::wstring::npos;
}

bool IsDriveElement(const std::wstring& element)
{
    return element.size() == 2 && element[1] == L':' && std::iswalpha(element[0]);
}

}  // namespace

std::wstring WithoutEnclosingQuotes(const std::wstring& text)
{
    if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"')
        return text.substr(1, text.size() - 2);
    return text;
}

std::wstring UnquoteAndTrim(const std::wstring& text)
{
    std::wstring unquoted = text;
    // PathUnquoteSpacesW would strip a lone quote as if it were a pair.
    if (unquoted.size() >= 2) {
        std::vector<wchar_t> buffer(unquoted.begin(), unquoted.end());
        buffer.push_back(L'\0');
        PathUnquoteSpacesW(buffer.data());
        unquoted = buffer.data();
    }
    return TrimWith(unquoted, kBlanks);
}

std::wstring RebuildFromElements(const std::wstring& path)
{
    std::wstring rebuilt;
    for (const std::wstring& element : Split(path)) {
        const std::wstring trimmed = TrimWith(element, kBlanks);
        if (!trimmed.empty())
            rebuilt += trimmed + L"\\";
    }
    return rebuilt;
}

bool HasValidFolderNames(const std::wstring& text)
{
    const bool network = PathIsUNCW(text.c_str()) != FALSE;
    const size_t start = text.find_first_not_of(L"\\ ");
    if (start == std::wstring::npos)
        return false;
    std::vector<std::wstring> elements = Split(text.substr(start));
    // Folder texts carry a trailing backslash by convention; it ends the path, it is no element.
    if (elements.size() > 1 && elements.back().empty())
        elements.pop_back();
    size_t first = 0;
    if (network) {
        if (elements.size() < 2)
            return false;
    } else {
        if (!IsDriveElement(elements.front()))
            return false;
        first = 1;
    }
    for (size_t i = first; i < elements.size(); ++i)
        if (!IsValidElement(elements[i]))
            return false;
    return true;
}

std::wstring CutBeforeFilePattern(const std::wstring& text)
{
    const size_t pattern = text.find(L"*..*");
    return pattern == std::wstring::npos ? text : text.substr(0, pattern);
}

}  // namespace wiraxui
