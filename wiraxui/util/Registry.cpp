#include "util/Registry.h"

#include <vector>

namespace wiraxui {

bool RegistryKey::Open(HKEY root, const std::wstring& path)
{
    Close();
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
        return false;
    m_key = key;
    return true;
}

void RegistryKey::Close()
{
    if (m_key) {
        RegCloseKey(m_key);
        m_key = nullptr;
    }
}

std::optional<DWORD> RegistryKey::ReadDword(const wchar_t* name) const
{
    if (!m_key)
        return std::nullopt;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegQueryValueExW(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS
        || type != REG_DWORD || size != sizeof(value))
        return std::nullopt;
    return value;
}

std::optional<std::wstring> RegistryKey::ReadString(const wchar_t* name) const
{
    if (!m_key)
        return std::nullopt;
    constexpr DWORD kFirstTryChars = 260;
    // One spare character so that data stored without a terminator still ends.
    std::vector<wchar_t> buffer(kFirstTryChars + 1, L'\0');
    DWORD type = 0;
    DWORD size = kFirstTryChars * sizeof(wchar_t);
    LONG result = RegQueryValueExW(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (result == ERROR_MORE_DATA) {
        buffer.assign(size / sizeof(wchar_t) + 2, L'\0');
        size = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
        result = RegQueryValueExW(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    }
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    const size_t chars = size / sizeof(wchar_t);
    buffer[chars < buffer.size() ? chars : buffer.size() - 1] = L'\0';
    return std::wstring(buffer.data());
}

}  // namespace wiraxui
