// Electrical products that Windows Installer reports as installed, and what their packages say.
#pragma once

#include "init/CatalogLocation.h"

#include <windows.h>
#include <msi.h>

#include <functional>
#include <optional>
#include <string>

namespace wiraxui {

// Windows Installer shows no user interface of its own while this lives; the level it had before
// comes back when it ends, whichever way the caller leaves.
class CInstallerUiSilenced {
public:
    CInstallerUiSilenced();
    ~CInstallerUiSilenced();
    CInstallerUiSilenced(const CInstallerUiSilenced&) = delete;
    CInstallerUiSilenced& operator=(const CInstallerUiSilenced&) = delete;

private:
    INSTALLUILEVEL m_previous;
};

// A product opened for reading its package's properties; open only when the product is installed
// (state 5) and its package could be opened. The handle is closed with the object.
class CInstalledProduct {
public:
    explicit CInstalledProduct(const std::wstring& productCode);
    ~CInstalledProduct();
    CInstalledProduct(const CInstalledProduct&) = delete;
    CInstalledProduct& operator=(const CInstalledProduct&) = delete;

    bool IsOpen() const { return m_handle != 0; }
    // A property of the package, read into 1024 characters; empty when it is missing.
    std::wstring Property(const wchar_t* name) const;

private:
    MSIHANDLE m_handle = 0;
};

// Where the installed product of the second code keeps its personal data: the page and the
// finalisation ask for it in different places.
using UserDataFolderSource = std::function<std::optional<std::wstring>(const CInstalledProduct& product)>;

// Reads the installed electrical products of both codes. The caller keeps the installer silenced.
InstalledCatalogFacts ReadInstalledCatalogFacts(const std::wstring& sharedProductCode,
                                                const std::wstring& languageProductCode,
                                                const UserDataFolderSource& userDataFolder);

// The personal data folder that the installed product recorded for the current user under its
// platform user key "SOFTWARE\<Manufacturer>\Plandra\<version>\PLND-<product id>:<locale id>".
std::optional<std::wstring> RecordedUserDataFolder(const CInstalledProduct& product);

// The personal data folder the installed product's package names.
std::optional<std::wstring> PackageUserDataFolder(const CInstalledProduct& product);

bool FileExistsOnDisk(const std::wstring& path);

}  // namespace wiraxui
