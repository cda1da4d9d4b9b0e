// A folder typed into an edit box or chosen with a browse button, as the data-folder pages
// (drawing standard, symbol libraries) share it: the text rules, the validation verdict, the
// folder dialog, and how the edit shows a folder that was accepted.
#pragma once

#include <windows.h>

#include <string>

class CSetupManager;

namespace wiraxui {

// The folder an edit's text stands for: blanks around it and enclosing double quotes removed
// and a trailing backslash added. An empty text stays empty.
std::wstring FolderFromEditText(const std::wstring& text);

std::wstring WindowText(HWND window);

// A shell special folder with a trailing backslash; empty when the system has none.
std::wstring SpecialFolder(int csidl);
// The same without the trailing backslash, as a part to look for inside other paths.
std::wstring SpecialFolderPath(int csidl);

// Case-insensitive: whether path has part anywhere in it (an empty part is in no path).
bool PathContains(const std::wstring& path, const std::wstring& part);

// The folder check of a data folder: a forward slash is refused whatever the folder looks
// like; a network path goes to the network check, anything else to the local one. The folder
// is normalised in place the way the check leaves it. Codes are FolderCheck's.
int CheckDataFolder(std::wstring& folder);

// An accepted folder that holds something already: its whole text is selected and scrolled
// into view, the caret put at its end, and the edit takes the focus.
void ShowAcceptedFolder(HWND edit);

// A string of module, at most 260 characters; empty when it has none of that number.
std::wstring LoadModuleText(HMODULE module, UINT id);
// A text of the installation's resource module; the product library when the host gave none.
std::wstring InstallationText(const CSetupManager* setup, UINT id, HMODULE productLibrary);

// The folder dialog of the data-folder pages, starting at folder. The default folder is made
// first when it is the current one and missing, so that the dialog can open there, and removed
// again afterwards when it is empty. True with folder replaced (trailing backslash) on OK.
bool BrowseDataFolder(HWND owner, std::wstring& folder, const std::wstring& defaultFolder, const CSetupManager* setup,
                      HMODULE productLibrary);

}  // namespace wiraxui
