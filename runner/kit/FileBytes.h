// A file's bytes as they are now, read while other processes may still write or remove it (a
// tool's journal, a settings file the plug-in just wrote).
#pragma once

#include <string>

namespace hostkit {

// False when the file cannot be opened; `bytes` then stays as it was.
bool ReadFileBytes(const std::wstring& path, std::string& bytes);

}  // namespace hostkit
