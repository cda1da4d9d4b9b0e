#include "MsiProducts.h"

#include <msi.h>

namespace testsupport {

namespace {

// Where Windows Installer looks for a per-machine product: the product key (its presence makes the
// product known) and the install properties of the machine's user data.
std::wstring MachineProductKey(const std::wstring& squashed)
{
    return L"Software\\Classes\\Installer\\Products\\" + squashed;
}
std::wstring MachineUserDataKey(const std::wstring& squashed)
{
    return L"Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Products\\" + squashed;
}

class RegKey {
public:
    RegKey() = default;
    ~RegKey()
    {
        if (m_key)
            RegCloseKey(m_key);
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    HKEY* Receive() { return &m_key; }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

LONG SetString(HKEY key, const wchar_t* name, const std::wstring& value)
{
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

LONG CreateKey(const std::wstring& path, RegKey& key)
{
    return RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE | KEY_WOW64_64KEY, nullptr,
                           key.Receive(), nullptr);
}

void DeleteTree(const std::wstring& path)
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, path.c_str());
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), KEY_WOW64_64KEY, 0);
}

void RemoveAdvertisedRegistration(const std::wstring& productCode)
{
    const std::wstring squashed = SquashedGuid(productCode);
    if (squashed.empty())
        return;
    DeleteTree(MachineUserDataKey(squashed));
    DeleteTree(MachineProductKey(squashed));
}

std::wstring TemporaryPackagePath()
{
    wchar_t folder[MAX_PATH] = L"";
    const DWORD length = GetTempPathW(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH)
        return std::wstring();
    std::wstring guid = NewGuid();
    return std::wstring(folder) + L"pkg" + guid.substr(1, 8) + L".msi";
}

}  // namespace

std::wstring SquashedGuid(const std::wstring& productCode)
{
    if (productCode.size() != 38 || productCode.front() != L'{' || productCode.back() != L'}')
        return std::wstring();
    const std::wstring& g = productCode;
    std::wstring out;
    for (int i = 8; i >= 1; --i)
        out += g[i];
    for (int i = 13; i >= 10; --i)
        out += g[i];
    for (int i = 18; i >= 15; --i)
        out += g[i];
    for (int i : {20, 22, 25, 27, 29, 31, 33, 35}) {
        out += g[i + 1];
        out += g[i];
    }
    return out;
}

bool RemoveMsiProduct(const std::wstring& productCode)
{
    if (MsiQueryProductStateW(productCode.c_str()) == INSTALLSTATE_DEFAULT)
        RunMsiexec(L"/x " + productCode + L" /qn");
    if (MsiQueryProductStateW(productCode.c_str()) == INSTALLSTATE_ADVERTISED)
        RemoveAdvertisedRegistration(productCode);
    return MsiQueryProductStateW(productCode.c_str()) == INSTALLSTATE_UNKNOWN;
}

InstalledMsiProduct::InstalledMsiProduct(MsiProductInfo product) : m_product(std::move(product))
{
    const std::wstring path = TemporaryPackagePath();
    if (path.empty()) {
        m_failure = L"no temporary folder";
        return;
    }
    if (BuildMsiPackage(path, m_product, &m_failure) != ERROR_SUCCESS)
        return;
    const DWORD exitCode = RunMsiexec(L"/i \"" + path + L"\" /qn");
    // The installer keeps its own copy of the package; ours is no longer needed.
    DeleteFileW(path.c_str());
    m_installed = exitCode == ERROR_SUCCESS;
    if (!m_installed)
        m_failure = L"msiexec /i exited with " + std::to_wstring(exitCode);
}

InstalledMsiProduct::~InstalledMsiProduct()
{
    if (m_installed)
        RemoveMsiProduct(m_product.productCode);
}

AdvertisedMsiProduct::AdvertisedMsiProduct(MsiProductInfo product) : m_product(std::move(product))
{
    const std::wstring squashed = SquashedGuid(m_product.productCode);
    if (squashed.empty()) {
        m_failure = L"not a product code: " + m_product.productCode;
        return;
    }
    RegKey productKey;
    RegKey properties;
    LONG result = CreateKey(MachineProductKey(squashed), productKey);
    if (result == ERROR_SUCCESS)
        result = SetString(productKey.Get(), L"ProductName", m_product.productName);
    // Without a "WindowsInstaller" value the installer counts the product as advertised only.
    if (result == ERROR_SUCCESS)
        result = CreateKey(MachineUserDataKey(squashed) + L"\\InstallProperties", properties);
    if (result == ERROR_SUCCESS)
        result = SetString(properties.Get(), L"DisplayName", m_product.productName);
    if (result == ERROR_SUCCESS)
        result = SetString(properties.Get(), L"DisplayVersion", m_product.productVersion);
    if (result == ERROR_SUCCESS)
        result = SetString(properties.Get(), L"Publisher", m_product.manufacturer);
    m_registered = result == ERROR_SUCCESS;
    if (!m_registered) {
        m_failure = L"registry write failed (" + std::to_wstring(result) + L")";
        RemoveAdvertisedRegistration(m_product.productCode);
    }
}

AdvertisedMsiProduct::~AdvertisedMsiProduct() { RemoveAdvertisedRegistration(m_product.productCode); }

}  // namespace testsupport
