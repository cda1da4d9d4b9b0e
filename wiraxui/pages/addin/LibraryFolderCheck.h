// Whether a folder can take the catalog browser's library.
#pragma once

#include <string>

namespace wiraxui {

// The folder check's code for the text: a text with "/" gets 16 at once; one that starts with
// "\\" goes through the network check, any other through the local check. Both normalise the
// text in place.
int CheckLibraryFolder(std::wstring& folder);

// Codes 0 (usable) and 32 (an existing writable folder with content) let the page go on.
bool LibraryFolderPasses(int code);

}  // namespace wiraxui
