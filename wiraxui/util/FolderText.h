// Text rules for typed folder paths, apart from any file system access.
#pragma once

#include <string>

namespace wiraxui {

// Removes one pair of enclosing double quotes, and nothing else.
std::wstring WithoutEnclosingQuotes(const std::wstring& text);

// Removes one pair of enclosing double quotes, then spaces and tabs at both ends.
std::wstring UnquoteAndTrim(const std::wstring& text);

// Splits at "\", trims white space around each element, drops empty elements and joins the rest,
// each followed by "\": "C:\Data\ Sub \\Deep\" becomes "C:\Data\Sub\Deep\".
std::wstring RebuildFromElements(const std::wstring& path);

// True for a UNC text whose server, share and further elements are all present and valid, or for
// a drive text ("C:" first) whose further elements are. A single trailing separator is allowed.
bool HasValidFolderNames(const std::wstring& text);

// The text before the first "*..*", the file pattern that keeps the folder dialog's list empty
// of files.
std::wstring CutBeforeFilePattern(const std::wstring& text);

}  // namespace wiraxui
