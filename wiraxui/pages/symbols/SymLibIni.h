// The symbol library marker file "SymLib.ini" in the "Libs" folder of a symbol library folder,
// read through the system's profile-file functions.
#pragma once

#include <string>

namespace wiraxui {

// "<folder>\Libs\SymLib.ini" for a folder with or without its trailing backslash.
std::wstring SymLibIniPath(const std::wstring& folder);

// Whether the file says that the folder holds the libraries of an installation: its "panel"
// key of section "Symbol Libraries" is "1". Nothing when the file is missing; the key's value
// (default "ERROR") otherwise.
bool FolderHoldsInstalledLibraries(const std::wstring& folder, bool* fileExists = nullptr);

}  // namespace wiraxui
