#include "actions/TreeCopy.h"

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

void Discard(const std::wstring& path)
{
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
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
    const std::wstring folder = ParentOf(to);
    // The folder was prepared, so the first temporary name is free; only a leftover that could not
    // be removed makes the copy look for another.
    std::wstring temporary = TemporaryPath(folder);
    bool copied = ShellCopy(from, temporary);
    if (!copied) {
        Discard(temporary);  // whatever part of it the shell wrote
        if (!FileExists(temporary))
            return false;
        temporary = FreeTemporaryPath(folder);
        copied = ShellCopy(from, temporary);
        if (!copied) {
            Discard(temporary);
            return false;
        }
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
    for (const std::wstring& folder : listing.folders)
        folders.Prepare(Join(destination, folder));
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
