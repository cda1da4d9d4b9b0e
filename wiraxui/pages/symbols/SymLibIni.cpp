#include "pages/symbols/SymLibIni.h"

#include <windows.h>

namespace wiraxui {

std::wstring SymLibIniPath(const std::wstring& folder)
{
    std::wstring path = folder;
    if (path.empty() || path.back() != L'\\')
        path += L'\\';
    return path + L"Libs\\SymLib.ini";
}

bool FolderHoldsInstalledLibraries(const std::wstring& folder, bool* fileExists)
{
    const std::wstring path = SymLibIniPath(folder);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (fileExists)
        *fileExists = exists;
    if (!exists)
        return false;
    wchar_t panel[260] = L"";
    GetPrivateProfileStringW(L"Symbol Libraries", L"panel", L"ERROR", panel, 260, path.c_str());
    return wcscmp(panel, L"1") == 0;
}

}  // namespace wiraxui
