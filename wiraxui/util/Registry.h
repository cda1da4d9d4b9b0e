// Read-only registry access in the 64-bit view, the only way this plug-in reads the registry.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace wiraxui {

class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(HKEY root, const std::wstring& path) { Open(root, path); }
    ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool Open(HKEY root, const std::wstring& path);
    void Close();
    bool IsOpen() const { return m_key != nullptr; }

    std::optional<DWORD> ReadDword(const wchar_t* name) const;
    // Strings are read into 260 characters first, then once more into the size the registry
    // reports; the result is always terminated, whatever the stored data.
    std::optional<std::wstring> ReadString(const wchar_t* name) const;

private:
    HKEY m_key = nullptr;
};

}  // namespace wiraxui
