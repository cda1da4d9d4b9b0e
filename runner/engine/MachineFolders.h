// Folders whose paths differ from one machine to the next (they carry the user's name or a
// temporary name): facts name them by their role instead, so that two machines agree.
#pragma once

#include <string>

namespace runner {

// The text with every path below a user folder written from the folder's role:
// "C:\users\ann\Documents\Wirax\" becomes "<documents>\Wirax\".
std::wstring WithFolderRoles(const std::wstring& text);

// A temporary folder the runner made for this run (sample media, say): named by its role too.
void AddFolderRole(const std::wstring& path, const std::wstring& role);

}  // namespace runner
