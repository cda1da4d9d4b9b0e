#include "RegistryArranger.h"

#include <algorithm>

namespace hostkit {

HKEY RootFromName(const std::wstring& name)
{
    if (name == L"HKLM" || name == L"HKEY_LOCAL_MACHINE")
        return HKEY_LOCAL_MACHINE;
    if (name == L"HKCU" || name == L"HKEY_CURRENT_USER")
        return HKEY_CURRENT_USER;
    return nullptr;
}

bool RegistryArranger::Create(HKEY root, const std::wstring& path, HKEY* key)
{
    // Remember the first missing ancestor, so that removing it takes everything created below.
    std::wstring existing = path;
    std::wstring firstCreated;
    while (!existing.empty()) {
        HKEY probe = nullptr;
        if (RegOpenKeyExW(root, existing.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &probe) == ERROR_SUCCESS) {
            RegCloseKey(probe);
            break;
        }
        firstCreated = existing;
        const size_t slash = existing.find_last_of(L'\\');
        existing = slash == std::wstring::npos ? std::wstring() : existing.substr(0, slash);
    }
    m_lastError = RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE | KEY_WOW64_64KEY, nullptr, key, nullptr);
    if (m_lastError != ERROR_SUCCESS)
        return false;
    if (!firstCreated.empty())
        m_created.push_back({root, firstCreated});
    return true;
}

bool RegistryArranger::SetDword(HKEY root, const std::wstring& path, const std::wstring& name, DWORD value)
{
    HKEY key = nullptr;
    if (!Create(root, path, &key))
        return false;
    m_lastError = RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
    return m_lastError == ERROR_SUCCESS;
}

bool RegistryArranger::SetString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value)
{
    HKEY key = nullptr;
    if (!Create(root, path, &key))
        return false;
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    m_lastError = RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
    RegCloseKey(key);
    return m_lastError == ERROR_SUCCESS;
}

void RegistryArranger::RemoveAll()
{
    std::sort(m_created.begin(), m_created.end(),
              [](const CreatedKey& a, const CreatedKey& b) { return a.path.size() > b.path.size(); });
    for (const CreatedKey& created : m_created) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(created.root, created.path.c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &key) == ERROR_SUCCESS) {
            RegDeleteTreeW(key, nullptr);
            RegCloseKey(key);
        }
        RegDeleteKeyExW(created.root, created.path.c_str(), KEY_WOW64_64KEY, 0);
    }
    m_created.clear();
}

}  // namespace hostkit
