#include "FileTree.h"

#include "KernelHandle.h"
#include "UnixLink.h"

#include "util/FinalPath.h"
#include "util/Handle.h"

#include <windows.h>
#include <shlobj.h>

namespace hostkit {

namespace {

bool Gone(const std::wstring& path) { return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES; }

// A link is removed as a name, never through it. Windows' RemoveDirectoryW and DeleteFileW take
// a junction or symbolic link itself; Wine's follow it (a linked empty folder, a linked file is
// deleted, the link stays), so there the Unix host's unlink takes the name.
void RemoveLink(const std::wstring& path, DWORD attributes)
{
    if (UnderWine()) {
        UnlinkFromUnixSide(path);
    } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryW(path.c_str());
    } else {
        DeleteFileW(path.c_str());
    }
}

// A link by its attributes, or a file that opens another file than itself: Wine shows a linked
// file as a plain one (a linked folder it marks). A file that cannot be opened counts as a link
// too, so that it is removed as a name.
bool IsLinkAt(const std::wstring& path, DWORD attributes)
{
    return IsLink(attributes) || (!(attributes & FILE_ATTRIBUTE_DIRECTORY) && wiraxui::LeadsElsewhere(path));
}

void RemoveBelow(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    wiraxui::UniqueFindHandle search(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (search.Get() == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring path = folder + L"\\" + name;
        if (IsLinkAt(path, found.dwFileAttributes)) {
            RemoveLink(path, found.dwFileAttributes);
        } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveBelow(path);
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_DIRECTORY);
            RemoveDirectoryW(path.c_str());
        } else {
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        }
    } while (FindNextFileW(search.Get(), &found));
}

}  // namespace

std::wstring TemporaryFolder()
{
    wchar_t temp[MAX_PATH + 1] = L"";
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    return length > 0 && length <= MAX_PATH ? std::wstring(temp, length) : std::wstring();
}

bool IsLink(unsigned long attributes)
{
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool RemoveTree(const std::wstring& folder)
{
    if (folder.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    // The tree itself may be a link: then only the link goes.
    if (IsLinkAt(folder, attributes)) {
        RemoveLink(folder, attributes);
        return !Listed(folder);
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(folder.c_str());
        return Gone(folder);
    }
    RemoveBelow(folder);
    RemoveDirectoryW(folder.c_str());
    return !Listed(folder);
}

ScratchFolder::ScratchFolder(const std::wstring& name)
    : m_path(TemporaryFolder() + name + L"-" + std::to_wstring(GetCurrentProcessId()))
{
    RemoveTree(m_path);
    CreateDirectoryW(m_path.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { RemoveTree(m_path); }

bool ScratchFolder::Put(const std::wstring& relative, const std::string& content) const
{
    const std::wstring path = *this / relative;
    const size_t slash = path.find_last_of(L'\\');
    const std::wstring folder = path.substr(0, slash);
    const int made = SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    if (made != ERROR_SUCCESS && made != ERROR_ALREADY_EXISTS && made != ERROR_FILE_EXISTS)
        return false;
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    return WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr)
        && written == content.size();
}

}  // namespace hostkit
