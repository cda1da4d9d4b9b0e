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

// Folders are made first, then files are copied (replacing) with a cancel check before each one.
// Returns kDone or kCancelled; single files that fail to copy are not reported.
int CopyFolderTree(InstallContext& context, const std::wstring& source, const std::wstring& destination);

}  // namespace wiraxui::actions
