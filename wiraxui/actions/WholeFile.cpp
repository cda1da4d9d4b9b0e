#include "actions/WholeFile.h"

#include "actions/LinkGuard.h"
#include "actions/Paths.h"

#include <windows.h>

#include <cwctype>

namespace wiraxui::actions {

namespace {

constexpr wchar_t kPrefix[] = L"~wxp";
constexpr wchar_t kSuffix[] = L".tmp";
constexpr size_t kPrefixLength = 4;
constexpr size_t kSuffixLength = 4;

std::wstring Hex(unsigned value)
{
    wchar_t text[16] = L"";
    swprintf(text, 16, L"%x", value);
    return text;
}

std::wstring Trimmed(std::wstring folder)
{
    while (folder.size() > 3 && folder.back() == L'\\')
        folder.pop_back();
    return folder;
}

}  // namespace

bool RemoveFile(const std::wstring& path)
{
    // A name that leads elsewhere is left alone: deleting it, or clearing its read-only attribute,
    // may reach whatever it points at (Wine deletes a link's target, not the link).
    if (LeadsElsewhere(ExtendedPath(path)))
        return false;
    if (DeleteFileW(path.c_str()))
        return true;
    if (GetLastError() != ERROR_ACCESS_DENIED)
        return false;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
        return false;
    SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    return DeleteFileW(path.c_str()) != FALSE;
}

bool IsTemporaryName(const std::wstring& name)
{
    if (name.size() < kPrefixLength + 1 + kSuffixLength || name.size() > kPrefixLength + 8 + kSuffixLength)
        return false;
    if (_wcsnicmp(name.c_str(), kPrefix, kPrefixLength) != 0 || _wcsicmp(name.c_str() + name.size() - kSuffixLength, kSuffix) != 0)
        return false;
    for (size_t i = kPrefixLength; i < name.size() - kSuffixLength; ++i) {
        if (!iswxdigit(name[i]))
            return false;
    }
    return true;
}

std::wstring ExtendedPath(const std::wstring& path)
{
    if (path.size() < MAX_PATH || path.rfind(L"\\\\?\\", 0) == 0)
        return path;
    if (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\')
        return L"\\\\?\\UNC\\" + path.substr(2);
    if (path.size() > 2 && path[1] == L':' && path[2] == L'\\')
        return L"\\\\?\\" + path;
    return path;
}

std::wstring TemporaryPath(const std::wstring& folder, unsigned number)
{
    return WithBackslash(folder) + kPrefix + Hex(number) + kSuffix;
}

std::wstring FreeTemporaryPath(const std::wstring& folder)
{
    for (unsigned counter = 1;; ++counter) {
        const std::wstring candidate = TemporaryPath(folder, counter);
        if (GetFileAttributesW(ExtendedPath(candidate).c_str()) == INVALID_FILE_ATTRIBUTES || counter == 0xFFFFFFFFu)
            return candidate;
    }
}

bool CommitFile(const std::wstring& temporary, const std::wstring& target)
{
    const std::wstring from = ExtendedPath(temporary);
    const std::wstring to = ExtendedPath(target);
    constexpr DWORD kFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (MoveFileExW(from.c_str(), to.c_str(), kFlags))
        return true;
    // A read-only earlier version is replaced all the same, as a copy that replaces would. A link
    // at the name keeps its attributes: changing them would change whatever it points at.
    const DWORD attributes = GetFileAttributesW(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)
        && !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) && !LeadsElsewhere(to)) {
        SetFileAttributesW(to.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
        if (MoveFileExW(from.c_str(), to.c_str(), kFlags))
            return true;
        SetFileAttributesW(to.c_str(), attributes);
    }
    RemoveFile(from);
    return false;
}

bool CopyWhole(const std::wstring& from, const std::wstring& to, bool clearReadOnly)
{
    if (!LinkFreeBelowRoots(ParentOf(to)))
        return false;
    const std::wstring temporary = FreeTemporaryPath(ParentOf(to));
    const std::wstring staged = ExtendedPath(temporary);
    if (!CopyFileW(ExtendedPath(from).c_str(), staged.c_str(), TRUE)) {
        // A name that was taken meanwhile is someone else's; anything else is what was written.
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            RemoveFile(staged);
        return false;
    }
    if (clearReadOnly) {
        const DWORD attributes = GetFileAttributesW(staged.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES)
            SetFileAttributesW(staged.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    return CommitFile(temporary, to);
}

bool FolderPreparer::Prepare(const std::wstring& folder)
{
    const std::wstring path = Trimmed(folder);
    if (m_ready.count(path))
        return true;
    // A link below a shared root is not entered: not even leftovers are removed through it.
    if (!LinkFreeBelowRoots(path))
        return false;
    // One look serves both questions: whether the folder is there, and whether leftovers are.
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW(ExtendedPath(path + L"\\~wxp*.tmp").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                     nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && !CreateFolderChain(path))
            return false;
    } else {
        do {
            const std::wstring name = found.cFileName;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !IsTemporaryName(name))
                continue;
            const std::wstring leftover = ExtendedPath(path + L"\\" + name);
            if (RemoveFile(leftover))
                ++m_removed;
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    m_ready.insert(path);
    return true;
}

}  // namespace wiraxui::actions
