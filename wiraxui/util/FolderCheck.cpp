#include "util/FolderCheck.h"

#include "util/FolderText.h"

#include <windows.h>
#include <shlwapi.h>
#include <winnetwk.h>

#include <vector>

namespace wiraxui {

namespace {

constexpr size_t kLongestPath = 258;

// The canonical form of the text with a trailing backslash; nothing when it does not fit the
// MAX_PATH buffers of the shell path functions.
bool Canonicalise(const std::wstring& text, std::wstring& canonical)
{
    wchar_t withSlash[MAX_PATH] = L"";
    wchar_t result[MAX_PATH] = L"";
    // Room for the backslash that may still be added.
    if (text.size() + 1 >= MAX_PATH)
        return false;
    wcsncpy(withSlash, text.c_str(), MAX_PATH - 1);
    if (!PathAddBackslashW(withSlash) || !PathCanonicalizeW(result, withSlash))
        return false;
    canonical = result;
    return true;
}

std::wstring RootOf(const std::wstring& path)
{
    wchar_t root[MAX_PATH] = L"";
    wcsncpy(root, path.c_str(), MAX_PATH - 1);
    if (!PathStripToRootW(root))
        return std::wstring();
    return root;
}

std::wstring WithoutBackslash(const std::wstring& path)
{
    wchar_t buffer[MAX_PATH] = L"";
    wcsncpy(buffer, path.c_str(), MAX_PATH - 1);
    PathRemoveBackslashW(buffer);
    return buffer;
}

bool IsBareRoot(const std::wstring& path)
{
    // PathIsRootW takes "C:\" but a share root only without its trailing backslash.
    return PathIsRootW(path.c_str()) || PathIsRootW(WithoutBackslash(path).c_str());
}

// Creates a file in the folder and deletes it again: the only sure way to know that the
// installation will be able to write there.
int WriteTest(const std::wstring& folder)
{
    wchar_t file[MAX_PATH] = L"";
    if (!GetTempFileNameW(folder.c_str(), L"_AIA", 0, file))
        return GetLastError() == ERROR_ACCESS_DENIED ? FolderCheck::AccessDenied : FolderCheck::Invalid;
    // Some file systems report success for a file that was never made.
    if (!PathFileExistsW(file))
        return FolderCheck::AccessDenied;
    DeleteFileW(file);
    return FolderCheck::Usable;
}

// Creates the folder with every missing parent, then removes exactly the folders it created,
// deepest first. Returns 0 or the error of the first creation that failed; a file where a folder
// should be fails as ERROR_ALREADY_EXISTS.
DWORD CreateAndRemove(const std::wstring& folder)
{
    const size_t rootLength = WithoutBackslash(RootOf(folder)).size();
    std::vector<std::wstring> missing;  // deepest first
    for (std::wstring level = WithoutBackslash(folder);
         level.size() > rootLength && !PathIsDirectoryW(level.c_str());) {
        missing.push_back(level);
        const size_t slash = level.find_last_of(L'\\');
        if (slash == std::wstring::npos)
            break;
        level.resize(slash);
    }
    DWORD error = ERROR_SUCCESS;
    size_t created = 0;
    for (auto level = missing.rbegin(); level != missing.rend(); ++level, ++created) {
        if (!CreateDirectoryW(level->c_str(), nullptr)) {
            error = GetLastError();
            break;
        }
    }
    // A folder that the test did not create is never removed.
    for (size_t i = missing.size() - created; i < missing.size(); ++i)
        RemoveDirectoryW(missing[i].c_str());
    return error;
}

// The folder test shared by both checks; they differ in the code for "cannot be written or
// created for another reason".
int TestFolder(const std::wstring& folder, int otherFailure)
{
    if (PathIsRelativeW(folder.c_str()))
        return FolderCheck::Invalid;
    if (IsBareRoot(folder))
        return FolderCheck::Root;
    if (PathIsDirectoryW(folder.c_str())) {
        const int written = WriteTest(folder);
        if (written == FolderCheck::Invalid)
            return otherFailure;
        if (written != FolderCheck::Usable)
            return written;
        return PathIsDirectoryEmptyW(folder.c_str()) ? FolderCheck::Usable : FolderCheck::NotEmpty;
    }
    const DWORD error = CreateAndRemove(folder);
    if (error == ERROR_SUCCESS)
        return FolderCheck::Usable;
    if (error == ERROR_ACCESS_DENIED || error == ERROR_PATH_NOT_FOUND)
        return FolderCheck::AccessDenied;
    return otherFailure;
}

bool IsSuitableDrive(const std::wstring& root)
{
    switch (GetDriveTypeW(root.c_str())) {
    case DRIVE_FIXED:
    case DRIVE_REMOVABLE:
    case DRIVE_REMOTE:
    case DRIVE_RAMDISK:
        return true;
    default:
        return false;
    }
}

bool ConnectShare(const std::wstring& path)
{
    std::wstring share = RootOf(path);
    NETRESOURCEW resource{};
    resource.dwType = RESOURCETYPE_DISK;
    resource.lpRemoteName = share.data();
    // Current user's credentials; the system may ask for others.
    return WNetAddConnection3W(nullptr, &resource, nullptr, nullptr, CONNECT_INTERACTIVE) == NO_ERROR;
}

}  // namespace

int CheckLocalFolder(std::wstring& path)
{
    try {
        const std::wstring text = UnquoteAndTrim(path);
        if (text.empty())
            return FolderCheck::Empty;
        std::wstring canonical;
        if (!Canonicalise(text, canonical)) {
            path = text;
            return FolderCheck::TooLong;
        }
        path = RebuildFromElements(canonical);
        if (RootOf(path).size() <= 2)
            return FolderCheck::Invalid;
        if (path.size() > kLongestPath)
            return FolderCheck::TooLong;
        if (PathGetDriveNumberW(path.c_str()) < 0)
            return FolderCheck::NoDrive;
        if (!IsSuitableDrive(RootOf(path)))
            return FolderCheck::UnsuitableDrive;
        return TestFolder(path, FolderCheck::Invalid);
    } catch (...) {
        return FolderCheck::Invalid;
    }
}

int CheckNetworkFolder(std::wstring& path)
{
    try {
        if (path.find(L';') != std::wstring::npos)
            return FolderCheck::Invalid;
        const std::wstring text = UnquoteAndTrim(path);
        if (text.empty())
            return FolderCheck::Empty;
        if (!HasValidFolderNames(text))
            return FolderCheck::Invalid;
        std::wstring canonical;
        if (!Canonicalise(text, canonical)) {
            path = text;
            return FolderCheck::TooLong;
        }
        path = canonical;
        if (!PathIsUNCW(path.c_str()))
            return FolderCheck::NotNetworkPath;
        if (!ConnectShare(path))
            return FolderCheck::Unreachable;
        return TestFolder(path, FolderCheck::Unreachable);
    } catch (...) {
        return FolderCheck::Invalid;
    }
}

}  // namespace wiraxui
