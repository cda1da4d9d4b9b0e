#include "init/PlatformKeys.h"

#include <SetupHost.h>
#include <shlwapi.h>

#include <algorithm>
#include <vector>

namespace wiraxui {

std::wstring PlatformKey(const std::wstring& version, const std::wstring& productId)
{
    return L"Software\\Tarvena\\Plandra\\" + version + L"\\PLND-" + productId;
}

std::wstring PlatformUserKey(const std::wstring& platformKey, const std::wstring& localeId)
{
    return platformKey + L":" + localeId;
}

std::wstring ManufacturerKey(const std::wstring& platformKey) { return platformKey + L"\\Manufacturer"; }

std::wstring UninstallKey(const std::wstring& productCode)
{
    return L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + productCode;
}

std::wstring CostDrive(const std::wstring& installPath)
{
    std::vector<wchar_t> root(installPath.begin(), installPath.end());
    root.push_back(L'\0');
    PathStripToRootW(root.data());
    std::wstring drive(root.data());
    drive.erase(std::remove(drive.begin(), drive.end(), L'\\'), drive.end());
    return drive;
}

std::wstring CostDrive(const CSetupManager& setup) { return CostDrive(setup.m_installPath); }

}  // namespace wiraxui
