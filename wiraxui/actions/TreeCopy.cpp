#include "actions/TreeCopy.h"

#include "actions/LinkGuard.h"
#include "actions/Paths.h"
#include "actions/WholeFile.h"

#include <windows.h>
#include <shellapi.h>

namespace wiraxui::actions {

namespace {

constexpr size_t kMaxCopyPath = MAX_PATH - 1;

void ListFolder(const std::wstring& root, const std::wstring& relative, TreeListing& listing)
{
    listing.folders.push_back(relative);
    const std::wstring folder = root + relative;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((WithBackslash(folder) + L"*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        // A linked folder of the media is not entered: a link to one of its own parents would
        // list the tree without end, one to elsewhere would copy that into the share.
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        const std::wstring child = relative.empty() ? name : relative + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListFolder(root, child, listing);
        else
            listing.files.push_back(relative + L"\\" + name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// The shell's copy, silent and without questions.
bool ShellCopy(const std::wstring& from, const std::wstring& to)
{
    if (from.size() > kMaxCopyPath || to.size() > kMaxCopyPath)
        return false;  // the shell refuses such paths
    std::wstring source = from + L'\0';
    std::wstring target = to + L'\0';
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_COPY;
    operation.pFrom = source.c_str();
    operation.pTo = target.c_str();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
    return SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
}

// Takes a temporary name by creating it: an empty plain file of this copy's own. A name that is
// already there is never written into: a folder or a link there is a failure, a plain file (a
// leftover that could not be removed) makes the copy take the next free name.
bool TakeTemporary(const std::wstring& folder, std::wstring& temporary)
{
    temporary = TemporaryPath(folder);
    for (int attempt = 0; attempt < 2; ++attempt) {
        HANDLE file = CreateFileW(ExtendedPath(temporary).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return true;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return false;
        const DWORD attributes = GetFileAttributesW(ExtendedPath(temporary).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
            return false;
        temporary = FreeTemporaryPath(folder);
    }
    return false;
}

std::wstring Join(const std::wstring& root, const std::wstring& relative)
{
    std::wstring path = WithBackslash(root);
    path += relative.size() && relative.front() == L'\\' ? relative.substr(1) : relative;
    return path;
}

}  // namespace

bool ShellCopyWhole(const std::wstring& from, const std::wstring& to)
{
    // The folder was prepared, so the first temporary name is normally free; the shell replaces
    // the empty file taken there.
    std::wstring temporary;
    if (!TakeTemporary(ParentOf(to), temporary))
        return false;
    if (!ShellCopy(from, temporary)) {
        RemoveFile(temporary);  // whatever part of it the shell wrote
        return false;
    }
    return CommitFile(temporary, to);
}

TreeListing ListTree(const std::wstring& source)
{
    TreeListing listing;
    if (FolderExists(source))
        ListFolder(WithBackslash(source), L"", listing);
    return listing;
}

int CopyFolderTree(InstallContext& context, const std::wstring& source, const std::wstring& destination)
{
    context.progress.Phase();
    context.progress.Reset(100);
    Pause();
    const TreeListing listing = ListTree(source);
    context.progress.Reset(static_cast<int>(listing.files.size()));
    FolderPreparer folders;
    for (const std::wstring& folder : listing.folders) {
        // A link below the shared root damages the whole destination: nothing is copied.
        const std::wstring target = Join(destination, folder);
        if (!folders.Prepare(target) && !LinkFreeBelowRoots(target))
            return kFailed;
    }
    for (const std::wstring& file : listing.files) {
        if (context.Cancelled())
            return kCancelled;
        const std::wstring target = Join(destination, file);
        if (!ShellCopyWhole(Join(source, file), target))
            context.copyFailures.Record(target);
        context.progress.Item(file);
        context.progress.Step();
    }
    return kDone;
}

}  // namespace wiraxui::actions
