#include "pages/uninstall/UninstallChoices.h"

#include "init/PlatformKeys.h"
#include "util/Registry.h"

#include <WiraxUIRes.h>

namespace wiraxui {

namespace {

constexpr wchar_t kProductNamePlaceholder[] = L"[ProductName]";
constexpr wchar_t kSettingsFileName[] = L"SymLib.ini";

bool IsDriveAbsolute(const std::wstring& path)
{
    return path.size() > 3 && iswalpha(path[0]) && path[1] == L':' && path[2] == L'\\';
}

// "\\server\share\..." but not the device and long-path forms "\\.\" and "\\?\".
bool IsShareAbsolute(const std::wstring& path)
{
    return path.size() > 4 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'.' && path[2] != L'?' &&
           path[2] != L'\\';
}

}  // namespace

std::wstring UninstallHeading(const std::wstring& pattern, const std::wstring& title)
{
    std::wstring heading = pattern;
    const size_t length = wcslen(kProductNamePlaceholder);
    for (size_t at = heading.find(kProductNamePlaceholder); at != std::wstring::npos;
         at = heading.find(kProductNamePlaceholder, at + title.size()))
        heading.replace(at, length, title);
    return heading;
}

const wchar_t* SkipSymbolLibrariesValue(bool keepChecked, bool sharedSymbols)
{
    return keepChecked || sharedSymbols ? L"1" : L"0";
}

bool ReadSharedSymbols(const std::wstring& productCode)
{
    if (productCode.empty())
        return false;
    RegistryKey key(HKEY_LOCAL_MACHINE, UninstallKey(productCode));
    const auto shared = key.ReadDword(L"SharedSymbol");
    return shared && *shared == 1;
}

std::wstring ReadSymLibIni(const std::wstring& productCode)
{
    if (productCode.empty())
        return std::wstring();
    RegistryKey key(HKEY_LOCAL_MACHINE, UninstallKey(productCode));
    return key.ReadString(L"SymLibIni").value_or(std::wstring());
}

bool IsSymbolLibrarySettingsFile(const std::wstring& path)
{
    if (path.size() >= MAX_PATH || path.find(L'/') != std::wstring::npos || (!IsDriveAbsolute(path) && !IsShareAbsolute(path)))
        return false;
    const size_t slash = path.find_last_of(L'\\');
    if (_wcsicmp(path.c_str() + slash + 1, kSettingsFileName) != 0)
        return false;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteSkipSymbolLibraries(const std::wstring& path, const wchar_t* value)
{
    if (!IsSymbolLibrarySettingsFile(path))
        return false;
    return WritePrivateProfileStringW(L"Uninstall", L"Skip Symbol Libraries", value, path.c_str()) != FALSE;
}

LangPackAnswer ClassifyLangPackAnswer(INT_PTR code)
{
    switch (code) {
    case IDC_REMOVE_LANGUAGE_PACKS:
        return LangPackAnswer::Remove;
    case IDOK:
        return LangPackAnswer::Keep;
    case IDCANCEL:
        return LangPackAnswer::StayOnPage;
    default:
        return LangPackAnswer::Other;
    }
}

}  // namespace wiraxui
