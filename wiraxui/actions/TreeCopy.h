// Copies a folder tree into another folder, file by file, reporting each file to the host.
#pragma once

#include "actions/InstallContext.h"

#include <string>
#include <vector>

namespace wiraxui::actions {

struct TreeListing {
    std::vector<std::wstring> folders;  // relative to the source; the source itself is ""
    std::vector<std::wstring> files;    // folder's relative path, a backslash, the name
};

// Depth first, in the order the file system lists each folder.
TreeListing ListTree(const std::wstring& source);

// The shell's copy of one file into a temporary name beside `to` that this copy created itself,
// then the move over `to`. False when the copy failed or the temporary name is a folder or link.
bool ShellCopyWhole(const std::wstring& from, const std::wstring& to);

// Folders are made first (and cleared of leftovers of an interrupted run), then files are copied
// whole (replacing) with a cancel check before each one. Returns kDone or kCancelled; a file that
// could not be copied does not stop the others and is recorded in the context's copy failures.
// kFailed, before any file is copied, when a destination folder is a link below a guarded shared
// root (LinkGuard.h). Linked folders of the source are not entered.
int CopyFolderTree(InstallContext& context, const std::wstring& source, const std::wstring& destination);

}  // namespace wiraxui::actions
