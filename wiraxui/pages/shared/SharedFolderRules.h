// Whether a shared folder typed for a deployment can be used: the rules of its text, and the
// test that the folder can be written (made for the test when it is missing, and removed again).
#pragma once

#include <string>

namespace wiraxui {

enum class SharedPathText {
    Usable,
    Empty,       // nothing but blanks: refused without a word
    NotRooted,   // does not start at a drive root or a network share
    Invalid,     // a character or a part that no folder path may have
};

// Looks at text with its surrounding white space removed (put into cleaned).
SharedPathText CheckSharedPathText(const std::wstring& text, std::wstring& cleaned);

enum class SharedFolderAccess {
    Writable,
    NotWritable,  // exists, but no file can be made in it
    NotCreated,   // missing and cannot be made
};

// Makes the folder if it is missing, then creates and deletes a temporary file "DEP..." in it.
// Every folder level made here is removed again before the answer.
SharedFolderAccess TestSharedFolder(const std::wstring& folder);

// "NETSHAREDPATH": the support folder, the symbol folder, both joined by ";" (support first),
// or "o" when neither is used (an empty folder means not used).
std::wstring JoinSharedPaths(const std::wstring& support, const std::wstring& symbols);

}  // namespace wiraxui
