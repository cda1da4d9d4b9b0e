#include "RegistryArranger.h"

#include <algorithm>
#include <cwchar>

namespace hostkit {

HKEY RootFromName(const std::wstring& name)
{
    if (name == L"HKLM" || name == L"HKEY_LOCAL_MACHINE")
        return HKEY_LOCAL_MACHINE;
    if (name == L"HKCU" || name == L"HKEY_CURRENT_USER")
        return HKEY_CURRENT_USER;
    return nullptr;
}

bool RegistryArranger::Create(HKEY root, const std::wstring& path, HKEY* key, const std::wstring& valueName)
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
    m_lastError = RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE | KEY_READ | KEY_WOW64_64KEY, nullptr, key, nullptr);
    if (m_lastError != ERROR_SUCCESS)
        return false;
    if (!firstCreated.empty()) {
        m_created.push_back({root, firstCreated});
        return true;
    }
    // The key was there before: remember what the value held, once, so that it can be put back.
    for (const ReplacedValue& replaced : m_replaced) {
        if (replaced.root == root && _wcsicmp(replaced.path.c_str(), path.c_str()) == 0
            && _wcsicmp(replaced.name.c_str(), valueName.c_str()) == 0)
            return true;
    }
    ReplacedValue replaced{root, path, valueName};
    DWORD bytes = 0;
    if (RegQueryValueExW(*key, valueName.c_str(), nullptr, &replaced.type, nullptr, &bytes) == ERROR_SUCCESS) {
        replaced.data.resize(bytes);
        replaced.existed = RegQueryValueExW(*key, valueName.c_str(), nullptr, &replaced.type,
                                            replaced.data.empty() ? nullptr : replaced.data.data(), &bytes)
                           == ERROR_SUCCESS;
        replaced.data.resize(bytes);
    }
    m_replaced.push_back(std::move(replaced));
    return true;
}

bool RegistryArranger::Write(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type, const void* data,
                             DWORD bytes)
{
    HKEY key = nullptr;
    if (!Create(root, path, &key, name))
        return false;
    m_lastError = RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes);
    RegCloseKey(key);
    return m_lastError == ERROR_SUCCESS;
}

bool RegistryArranger::SetDword(HKEY root, const std::wstring& path, const std::wstring& name, DWORD value)
{
    return Write(root, path, name, REG_DWORD, &value, sizeof value);
}

bool RegistryArranger::SetString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value)
{
    return Write(root, path, name, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

bool RegistryArranger::SetRaw(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type, const void* data,
                              DWORD bytes)
{
    return Write(root, path, name, type, data, bytes);
}

bool RegistryArranger::RemoveValue(HKEY root, const std::wstring& path, const std::wstring& name)
{
    HKEY key = nullptr;
    m_lastError = RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | KEY_SET_VALUE | KEY_WOW64_64KEY, &key);
    if (m_lastError == ERROR_FILE_NOT_FOUND) {
        m_lastError = ERROR_SUCCESS;
        return true;  // no key, no value
    }
    if (m_lastError != ERROR_SUCCESS)
        return false;
    // What the value holds, once, so that it can be put back.
    bool known = false;
    for (const ReplacedValue& replaced : m_replaced) {
        known = known || (replaced.root == root && _wcsicmp(replaced.path.c_str(), path.c_str()) == 0
                          && _wcsicmp(replaced.name.c_str(), name.c_str()) == 0);
    }
    if (!known) {
        ReplacedValue replaced{root, path, name};
        DWORD bytes = 0;
        if (RegQueryValueExW(key, name.c_str(), nullptr, &replaced.type, nullptr, &bytes) == ERROR_SUCCESS) {
            replaced.data.resize(bytes);
            replaced.existed = RegQueryValueExW(key, name.c_str(), nullptr, &replaced.type,
                                                replaced.data.empty() ? nullptr : replaced.data.data(), &bytes)
                               == ERROR_SUCCESS;
            replaced.data.resize(bytes);
        }
        m_replaced.push_back(std::move(replaced));
    }
    m_lastError = RegDeleteValueW(key, name.c_str());
    RegCloseKey(key);
    if (m_lastError == ERROR_FILE_NOT_FOUND)
        m_lastError = ERROR_SUCCESS;
    return m_lastError == ERROR_SUCCESS;
}

void RegistryArranger::RemoveAll()
{
    for (auto replaced = m_replaced.rbegin(); replaced != m_replaced.rend(); ++replaced) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(replaced->root, replaced->path.c_str(), 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
            continue;
        if (replaced->existed)
            RegSetValueExW(key, replaced->name.c_str(), 0, replaced->type, replaced->data.data(),
                           static_cast<DWORD>(replaced->data.size()));
        else
            RegDeleteValueW(key, replaced->name.c_str());
        RegCloseKey(key);
    }
    m_replaced.clear();
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
