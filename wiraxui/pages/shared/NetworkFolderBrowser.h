// The shell's folder browser rooted at the Network folder, as the shared library page opens it.
#pragma once

#include <windows.h>

#include <string>

namespace wiraxui {

// Starts at folder; on OK folder becomes the chosen path (a shortcut's target when the chosen
// item is a shortcut) and the answer is true. On cancel folder is left as it was.
bool BrowseNetworkFolder(HWND owner, const std::wstring& title, std::wstring& folder);

// The target of a shortcut file; empty when path is no shortcut or has no file-system target.
std::wstring ShortcutTarget(const std::wstring& path);

}  // namespace wiraxui
