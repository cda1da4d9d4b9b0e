#include "platform/InstalledProducts.h"

#include <windows.h>

#include <msi.h>

namespace formwell {

int InstallerProductState(const std::wstring& productCode)
{
    if (productCode.empty())
        return INSTALLSTATE_UNKNOWN;
    return MsiQueryProductStateW(productCode.c_str());
}

std::optional<std::wstring> InstallerProductInfo(const std::wstring& productCode, const wchar_t* attribute)
{
    if (productCode.empty())
        return std::nullopt;
    wchar_t buffer[kInstallerInfoBufferSize] = L"";
    DWORD size = kInstallerInfoBufferSize;
    if (MsiGetProductInfoW(productCode.c_str(), attribute, buffer, &size) != ERROR_SUCCESS)
        return std::nullopt;
    buffer[kInstallerInfoBufferSize - 1] = L'\0';
    return std::wstring(buffer);
}

}  // namespace formwell
