// Registry keys of the host CAD platform and of installed packages, built from installer properties.
#pragma once

#include <string>

class CSetupManager;
class CProduct;

namespace wiraxui {

std::wstring PlatformKey(const std::wstring& version, const std::wstring& productId);
std::wstring PlatformUserKey(const std::wstring& platformKey, const std::wstring& localeId);
std::wstring ManufacturerKey(const std::wstring& platformKey);
std::wstring UninstallKey(const std::wstring& productCode);

// The drive that receives a product's extra disk cost: the install path's root without
// backslashes ("C:\Program Files\" gives "C:").
std::wstring CostDrive(const std::wstring& installPath);
std::wstring CostDrive(const CSetupManager& setup);

}  // namespace wiraxui
