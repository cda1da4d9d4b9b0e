#include "init/InstalledProducts.h"

#include "host/Properties.h"
#include "util/Registry.h"

#include <shlwapi.h>

namespace wiraxui {

CInstallerUiSilenced::CInstallerUiSilenced() : m_previous(MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr)) {}

CInstallerUiSilenced::~CInstallerUiSilenced() { MsiSetInternalUI(m_previous, nullptr); }

CInstalledProduct::CInstalledProduct(const std::wstring& productCode)
{
    if (productCode.empty() || MsiQueryProductStateW(productCode.c_str()) != INSTALLSTATE_DEFAULT)
        return;
    MSIHANDLE handle = 0;
    if (MsiOpenProductW(productCode.c_str(), &handle) == ERROR_SUCCESS)
        m_handle = handle;
    else if (handle)
        MsiCloseHandle(handle);
}

CInstalledProduct::~CInstalledProduct()
{
    if (m_handle)
        MsiCloseHandle(m_handle);
}

std::wstring CInstalledProduct::Property(const wchar_t* name) const
{
    if (!m_handle)
        return std::wstring();
    wchar_t buffer[kPropertyBufferChars] = L"";
    DWORD size = kPropertyBufferChars;
    if (MsiGetProductPropertyW(m_handle, name, buffer, &size) != ERROR_SUCCESS)
        return std::wstring();
    buffer[kPropertyBufferChars - 1] = L'\0';
    return buffer;
}

InstalledCatalogFacts ReadInstalledCatalogFacts(const std::wstring& sharedProductCode,
                                                const std::wstring& languageProductCode,
                                                const UserDataFolderSource& userDataFolder)
{
    InstalledCatalogFacts facts;
    {
        CInstalledProduct product(sharedProductCode);
        if (product.IsOpen() && CompareStringOrdinal(product.Property(L"SHAREDSUPPORT").c_str(), -1, L"1", -1, TRUE) == CSTR_EQUAL) {
            // A shared installation without a location has nothing to point at.
            std::wstring path = product.Property(L"NETSHAREDSUPPORTPATH");
            if (!path.empty())
                facts.sharedSupportPath = path;
        }
    }
    CInstalledProduct product(languageProductCode);
    if (product.IsOpen()) {
        facts.languageProductInstalled = true;
        facts.installedLanguage = product.Property(L"LANG2LONG");
        if (userDataFolder)
            facts.userDataFolder = userDataFolder(product);
    }
    return facts;
}

std::optional<std::wstring> RecordedUserDataFolder(const CInstalledProduct& product)
{
    const std::wstring key = L"SOFTWARE\\" + product.Property(L"Manufacturer") + L"\\Plandra\\" +
                             product.Property(L"PLNDVERSION") + L"\\PLND-" + product.Property(L"PLNDPRODUCTID") +
                             L":" + product.Property(L"PLNDLOCALEID");
    RegistryKey userKey(HKEY_CURRENT_USER, key);
    if (!userKey.IsOpen())
        return std::nullopt;
    std::optional<std::wstring> folder = userKey.ReadString(L"RoamingUserMyDocsWiraxFolder");
    if (!folder || folder->empty())
        return std::nullopt;
    return folder;
}

std::optional<std::wstring> PackageUserDataFolder(const CInstalledProduct& product)
{
    std::wstring folder = product.Property(L"ROAMINGUSERMYDOCSWIRAXFOLDER");
    if (folder.empty())
        return std::nullopt;
    return folder;
}

bool FileExistsOnDisk(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace wiraxui
