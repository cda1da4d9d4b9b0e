// Puts registry values in place (64-bit view) and removes the keys it created again.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace hostkit {

// "HKLM"/"HKEY_LOCAL_MACHINE", "HKCU"/"HKEY_CURRENT_USER"; null for anything else.
HKEY RootFromName(const std::wstring& name);

class RegistryArranger {
public:
    RegistryArranger() = default;
    ~RegistryArranger() { RemoveAll(); }
    RegistryArranger(const RegistryArranger&) = delete;
    RegistryArranger& operator=(const RegistryArranger&) = delete;

    // Each returns false (and leaves a Windows error code in LastError()) when the write failed.
    bool SetDword(HKEY root, const std::wstring& path, const std::wstring& name, DWORD value);
    bool SetString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& value);
    // Removes every key this arranger created, deepest first.
    void RemoveAll();
    LONG LastError() const { return m_lastError; }

private:
    bool Create(HKEY root, const std::wstring& path, HKEY* key);
    struct CreatedKey {
        HKEY root;
        std::wstring path;
    };
    std::vector<CreatedKey> m_created;
    LONG m_lastError = ERROR_SUCCESS;
};

}  // namespace hostkit
