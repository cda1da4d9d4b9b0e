// Small path and folder helpers of the install-time actions.
#pragma once

#include <string>

namespace wiraxui::actions {

std::wstring WithBackslash(std::wstring path);
// A path that names its drive or share: "X:\..." or "\\server\...". An empty, relative or
// drive-relative ("\folder") path depends on the host's current folder instead.
bool IsFullPath(const std::wstring& path);
bool FolderExists(const std::wstring& path);
bool FileExists(const std::wstring& path);
// Creates the folder and every missing parent; an existing folder is accepted. False when some
// level could not be made (or is a file).
bool CreateFolderChain(const std::wstring& path);
// The path without its last element, or empty when it has none.
std::wstring ParentOf(const std::wstring& path);
// Copies one file whole, replacing the destination (read-only or not), and clears the read-only
// attribute of the copy when asked. False when the copy could not be made; the destination is
// then what it was.
bool CopyReplacing(const std::wstring& from, const std::wstring& to, bool clearReadOnly);

}  // namespace wiraxui::actions
