#include "FileBytes.h"

#include "KernelHandle.h"

#include <windows.h>

namespace hostkit {

bool ReadFileBytes(const std::wstring& path, std::string& bytes)
{
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE)
        return false;
    char buffer[8192];
    DWORD read = 0;
    while (ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read)
        bytes.append(buffer, read);
    return true;
}

}  // namespace hostkit
