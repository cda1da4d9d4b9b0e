#include "checks/DriverMachine.h"

#include "checks/CheckResults.h"

namespace wiraxui {

namespace {

constexpr DWORD kShortStringChars = 255;  // 254 characters and the terminator

class CReadKey {
public:
    CReadKey(HKEY root, const wchar_t* path)
    {
        if (RegOpenKeyExW(root, path, 0, KEY_READ | KEY_WOW64_64KEY, &m_key) != ERROR_SUCCESS)
            m_key = nullptr;
    }
    ~CReadKey()
    {
        if (m_key)
            RegCloseKey(m_key);
    }
    CReadKey(const CReadKey&) = delete;
    CReadKey& operator=(const CReadKey&) = delete;
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

}  // namespace

bool CDriverMachine::IsInstalled(const wchar_t* productCode) { return IsInstallerProductInstalled(productCode); }

bool CDriverMachine::IsSkipSwitchSet() { return ReadSkipSwitch(); }

std::wstring CDriverMachine::ReadOfficeValue(const OfficeBitnessRow& row)
{
    return ReadShortRegistryString(HKEY_LOCAL_MACHINE, row.key, row.value);
}

bool ReadSkipSwitch()
{
    wchar_t value[2] = L"";
    // A longer value does not fit: the call answers the size it would need and copies nothing.
    const DWORD length = GetEnvironmentVariableW(L"SkipAccessDriverCheck", value, 2);
    return length == 1 && value[0] == L'1';
}

std::wstring ReadShortRegistryString(HKEY root, const wchar_t* key, const wchar_t* value)
{
    CReadKey opened(root, key);
    if (!opened.Get())
        return std::wstring();
    wchar_t data[kShortStringChars] = L"";
    DWORD type = 0;
    DWORD bytes = sizeof data;
    if (RegQueryValueExW(opened.Get(), value, nullptr, &type, reinterpret_cast<BYTE*>(data), &bytes) != ERROR_SUCCESS)
        return std::wstring();
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return std::wstring();
    // Stored data need not end with a terminator; such a value is not trusted at all.
    if (bytes < sizeof(wchar_t) || bytes % sizeof(wchar_t) != 0 || data[bytes / sizeof(wchar_t) - 1] != L'\0')
        return std::wstring();
    return data;
}

}  // namespace wiraxui
