#include "actions/Paths.h"

#include "actions/LinkGuard.h"
#include "actions/WholeFile.h"

#include <windows.h>

namespace wiraxui::actions {

std::wstring WithBackslash(std::wstring path)
{
    if (path.empty() || path.back() != L'\\')
        path += L'\\';
    return path;
}

bool IsFullPath(const std::wstring& path)
{
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\')
        return (path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z');
    return path.size() > 2 && path[0] == L'\\' && path[1] == L'\\';
}

bool FolderExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring ParentOf(const std::wstring& path)
{
    std::wstring trimmed = path;
    while (!trimmed.empty() && trimmed.back() == L'\\')
        trimmed.pop_back();
    const size_t slash = trimmed.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : trimmed.substr(0, slash);
}

bool CreateFolderChain(const std::wstring& path)
{
    std::wstring trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == L'\\')
        trimmed.pop_back();
    if (trimmed.empty())
        return false;
    // An existing level below a shared root that is a link is neither entered nor created in.
    if (FolderExists(trimmed))
        return LinkFreeBelowRoots(trimmed);
    const std::wstring parent = ParentOf(trimmed);
    // A drive root ("C:") or a share root cannot be made; it either exists or the chain fails.
    if (!parent.empty() && parent.back() != L':' && !CreateFolderChain(parent))
        return false;
    if (CreateDirectoryW(trimmed.c_str(), nullptr))
        return true;
    return GetLastError() == ERROR_ALREADY_EXISTS && FolderExists(trimmed) && LinkFreeBelowRoots(trimmed);
}

bool CopyReplacing(const std::wstring& from, const std::wstring& to, bool clearReadOnly)
{
    return CopyWhole(from, to, clearReadOnly);
}

}  // namespace wiraxui::actions
