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
    // Data stored as given, of any type: a string without its terminator, a binary value, ...
    bool SetRaw(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type, const void* data, DWORD bytes);
    // Removes the value if it is there; RemoveAll gives it back. True when it is gone.
    bool RemoveValue(HKEY root, const std::wstring& path, const std::wstring& name);
    // Removes every key this arranger created, deepest first, and gives values it wrote into keys
    // that were already there their earlier data back (or removes them).
    void RemoveAll();
    LONG LastError() const { return m_lastError; }

private:
    bool Create(HKEY root, const std::wstring& path, HKEY* key, const std::wstring& valueName);
    bool Write(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type, const void* data, DWORD bytes);
    struct CreatedKey {
        HKEY root;
        std::wstring path;
    };
    struct ReplacedValue {
        HKEY root;
        std::wstring path;
        std::wstring name;
        bool existed = false;
        DWORD type = 0;
        std::vector<BYTE> data;
    };
    std::vector<CreatedKey> m_created;
    std::vector<ReplacedValue> m_replaced;
    LONG m_lastError = ERROR_SUCCESS;
};

}  // namespace hostkit
