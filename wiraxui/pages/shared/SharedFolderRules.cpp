#include "pages/shared/SharedFolderRules.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cwctype>
#include <vector>

namespace wiraxui {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

std::wstring Trim(const std::wstring& text)
{
    size_t first = 0;
    size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// "X:\" or "\\server\share": the roots a shared folder may start at. A lone "\" (the current
// drive's root) is no fixed place for clients of a deployment.
bool IsDriveOrShareRoot(const std::wstring& root)
{
    if (root.size() == 3 && std::iswalpha(root[0]) && root[1] == L':' && root[2] == L'\\')
        return true;
    if (root.size() < 5 || root.compare(0, 2, L"\\\\") != 0)
        return false;
    const size_t separator = root.find(L'\\', 2);
    return separator != std::wstring::npos && separator > 2 && separator + 1 < root.size() &&
           root.find(L'\\', separator + 1) == std::wstring::npos;
}

bool IsRooted(const std::wstring& text)
{
    std::vector<wchar_t> root(text.begin(), text.end());
    root.resize(text.size() + 1 < MAX_PATH ? MAX_PATH : text.size() + 1, L'\0');
    if (!PathStripToRootW(root.data()))
        return false;
    if (!PathIsRootW(root.data()))
        return false;
    std::wstring stripped = root.data();
    if (stripped.size() == 2 && stripped[1] == L':')
        stripped += L'\\';
    return IsDriveOrShareRoot(stripped);
}

bool HasValidCharacters(const std::wstring& text)
{
    if (text == L"\\" || text == L"\\\\")
        return false;
    if (text.find_first_of(L"*?<>|\"") != std::wstring::npos)
        return false;
    for (size_t at = text.find(L':'); at != std::wstring::npos; at = text.find(L':', at + 1)) {
        if (at != 1 || !std::iswalpha(text[0]))
            return false;
    }
    if (text.find(L"\\\\", 1) != std::wstring::npos)
        return false;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find(L'\\', start);
        const std::wstring part = text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (!part.empty() && part.find_first_not_of(L" \t") == std::wstring::npos)
            return false;
        if (end == std::wstring::npos)
            break;
        start = end + 1;
    }
    return true;
}

bool FolderExists(const std::wstring& folder)
{
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring WithoutTrailingBackslash(std::wstring folder)
{
    while (folder.size() > 3 && folder.back() == L'\\')
        folder.pop_back();
    return folder;
}

}  // namespace

SharedPathText CheckSharedPathText(const std::wstring& text, std::wstring& cleaned)
{
    cleaned = Trim(text);
    if (cleaned.empty())
        return SharedPathText::Empty;
    if (!IsRooted(cleaned))
        return SharedPathText::NotRooted;
    if (!HasValidCharacters(cleaned))
        return SharedPathText::Invalid;
    return SharedPathText::Usable;
}

SharedFolderAccess TestSharedFolder(const std::wstring& folder)
{
    const std::wstring path = WithoutTrailingBackslash(folder);
    // The levels that are missing now, deepest first: those are ours to remove afterwards.
    std::vector<std::wstring> made;
    for (std::wstring level = path; !level.empty() && !FolderExists(level);) {
        made.push_back(level);
        const size_t separator = level.find_last_of(L'\\');
        if (separator == std::wstring::npos || separator < 3)
            break;
        level = level.substr(0, separator);
    }
    if (!made.empty())
        SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);

    SharedFolderAccess access = SharedFolderAccess::NotCreated;
    if (FolderExists(path)) {
        wchar_t file[MAX_PATH + 1] = L"";
        // Some systems answer a number even when no file could be made: look for the file.
        if (GetTempFileNameW(path.c_str(), L"DEP", 0, file) && GetFileAttributesW(file) != INVALID_FILE_ATTRIBUTES) {
            DeleteFileW(file);
            access = SharedFolderAccess::Writable;
        } else {
            access = SharedFolderAccess::NotWritable;
        }
    }
    // Also after a half-made path: a level that was missing before holds nothing of anyone's.
    for (const std::wstring& level : made)
        RemoveDirectoryW(level.c_str());
    return access;
}

std::wstring JoinSharedPaths(const std::wstring& support, const std::wstring& symbols)
{
    std::wstring joined = support;
    if (!symbols.empty())
        joined = joined.empty() ? symbols : joined + L";" + symbols;
    return joined.empty() ? L"o" : joined;
}

}  // namespace wiraxui
