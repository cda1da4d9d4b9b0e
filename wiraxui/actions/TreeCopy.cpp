#include "actions/TreeCopy.h"

#include "actions/Paths.h"

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

// The shell's copy, silent and without questions; its result is not looked at by the caller.
void ShellCopy(const std::wstring& from, const std::wstring& to)
{
    if (from.size() > kMaxCopyPath || to.size() > kMaxCopyPath)
        return;  // the shell refuses such paths; the file is left out like any failed copy
    std::wstring source = from + L'\0';
    std::wstring target = to + L'\0';
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_COPY;
    operation.pFrom = source.c_str();
    operation.pTo = target.c_str();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
    SHFileOperationW(&operation);
}

std::wstring Join(const std::wstring& root, const std::wstring& relative)
{
    std::wstring path = WithBackslash(root);
    path += relative.size() && relative.front() == L'\\' ? relative.substr(1) : relative;
    return path;
}

}  // namespace

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
    for (const std::wstring& folder : listing.folders) {
        const std::wstring target = Join(destination, folder);
        if (!FolderExists(target))
            CreateFolderChain(target);
    }
    for (const std::wstring& file : listing.files) {
        if (context.Cancelled())
            return kCancelled;
        ShellCopy(Join(source, file), Join(destination, file));
        context.progress.Item(file);
        context.progress.Step();
    }
    return kDone;
}

}  // namespace wiraxui::actions
