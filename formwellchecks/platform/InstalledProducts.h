// What Windows Installer knows about a product on this machine.
#pragma once

#include <optional>
#include <string>

namespace formwell {

// Windows Installer's information is read through buffers of this many characters.
constexpr unsigned kInstallerInfoBufferSize = 260;

// The product's state (MsiQueryProductStateW); unknown (-1) for an empty code, which is never
// asked about.
int InstallerProductState(const std::wstring& productCode);

// The product's information for attribute ("VersionString", "InstalledProductName"); nothing when
// Windows Installer does not answer with success.
std::optional<std::wstring> InstallerProductInfo(const std::wstring& productCode, const wchar_t* attribute);

}  // namespace formwell
