// Whether a typed or chosen folder can take the data an installation will write there.
// Both checks normalise the caller's text in place and answer with exactly one code.
#pragma once

#include <string>

namespace wiraxui {

namespace FolderCheck {
constexpr int Usable = 0;              // a new folder that can be created, or an empty writable one
constexpr int Empty = 1;               // nothing left after unquoting and trimming
constexpr int TooLong = 2;             // the normalised path has 259 characters or more
constexpr int NoDrive = 4;
constexpr int UnsuitableDrive = 8;     // not a fixed, removable, RAM or network drive
constexpr int Invalid = 16;            // relative, an invalid element, or not creatable otherwise
constexpr int NotEmpty = 32;           // exists, writable, holds something
constexpr int NotNetworkPath = 64;
constexpr int Unreachable = 128;       // share not connected, or neither writable nor creatable
constexpr int AccessDenied = 256;
constexpr int Root = 512;              // a drive root or a share root
}  // namespace FolderCheck

// For a path with a drive. On return the path holds the normalised text (canonical, elements
// trimmed, trailing backslash) unless the text was empty.
int CheckLocalFolder(std::wstring& path);

// For a UNC path. On return the path holds the canonical text whenever its names were valid.
int CheckNetworkFolder(std::wstring& path);

}  // namespace wiraxui
