// The DLL names a Windows binary imports, read from its file: the import table and the delay-load
// table, as the loader would follow them.
#pragma once

#include <string>
#include <vector>

namespace releasetests {

struct PeImports {
    std::vector<std::string> dlls;  // as the binary spells them
    std::string error;              // empty when the file was read as a valid 64-bit image
};

PeImports ReadPeImports(const std::wstring& path);

}  // namespace releasetests
