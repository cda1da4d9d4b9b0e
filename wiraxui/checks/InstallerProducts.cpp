#include "checks/CheckResults.h"

#include <windows.h>
#include <msi.h>

namespace wiraxui {

bool IsInstallerProductInstalled(const std::wstring& productCode)
{
    return MsiQueryProductStateW(productCode.c_str()) == INSTALLSTATE_DEFAULT;
}

}  // namespace wiraxui
