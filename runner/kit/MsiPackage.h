// Small Windows Installer packages, written with the installer's own database API, for tests that
// need products the installer itself reports as installed.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// What a package registers: Windows Installer answers "VersionString" with productVersion and
// "InstalledProductName" with productName once it is installed.
struct MsiProductInfo {
    std::wstring productCode;     // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
    std::wstring productName;
    std::wstring productVersion;  // e.g. "10.0.1"
    std::wstring manufacturer = L"Tarvena";
    std::wstring language = L"1033";
    // Further rows of the package's Property table, which Windows Installer answers through
    // MsiGetProductPropertyW once the product is installed.
    std::vector<std::pair<std::wstring, std::wstring>> properties;
};

// A fresh GUID in registry form, upper case with braces.
std::wstring NewGuid();

// Writes a package with no files that registers the product when installed. Returns
// ERROR_SUCCESS, or the error of the installer call that failed with that call named in *failure.
UINT BuildMsiPackage(const std::wstring& path, const MsiProductInfo& product, std::wstring* failure);

// Runs "msiexec <arguments>" as a child process and waits for it (up to timeoutMs). Returns its
// exit code, or a Windows error code when it could not be started or did not finish.
DWORD RunMsiexec(const std::wstring& arguments, DWORD timeoutMs = 120000);

}  // namespace testsupport
