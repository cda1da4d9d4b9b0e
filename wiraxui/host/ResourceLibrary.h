// The host's resource libraries (texts, dialog templates, icons) and the module's resource
// instance: every resource lookup of this module goes to the library that is current.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace wiraxui {

// Holds one loaded resource library. Loading retries, since a host may still be copying the
// library into place when the plug-in first asks for it.
class CResourceLibraryLoader {
public:
    static constexpr int kAttempts = 6;
    static constexpr DWORD kRetryDelayMs = 1000;

    CResourceLibraryLoader() = default;
    ~CResourceLibraryLoader() { Free(); }
    CResourceLibraryLoader(const CResourceLibraryLoader&) = delete;
    CResourceLibraryLoader& operator=(const CResourceLibraryLoader&) = delete;

    // Six attempts one second apart; after the last failure an "Error" box names the path and
    // the system error code. Loading the path already held succeeds at once. A path that is not
    // absolute is never loaded: it fails at once, with the box and ERROR_BAD_PATHNAME (161).
    bool Load(const std::wstring& path);
    void Free();

    HMODULE Module() const { return m_module; }
    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path;
    HMODULE m_module = nullptr;
};

// "X:\..." or "\\server\..." (or "\\?\..."): a path that does not depend on the current folder or
// the search path.
bool IsAbsolutePath(const std::wstring& path);

// A relative library name is the host's copy of it (CSetupContext::GetResDllPath).
std::wstring ResolveResourceLibrary(const wchar_t* name);

// The module's resource instance: its own module until an export switches it.
HINSTANCE ResourceInstance();
HINSTANCE ExchangeResourceInstance(HINSTANCE instance);
void SetPluginModule(HINSTANCE module);
HINSTANCE PluginModule();

// Makes a library the resource instance for a scope and restores the previous one after it.
class CResourceInstanceScope {
public:
    explicit CResourceInstanceScope(HINSTANCE instance) : m_previous(ExchangeResourceInstance(instance)) {}
    ~CResourceInstanceScope() { ExchangeResourceInstance(m_previous); }
    CResourceInstanceScope(const CResourceInstanceScope&) = delete;
    CResourceInstanceScope& operator=(const CResourceInstanceScope&) = delete;

private:
    HINSTANCE m_previous;
};

// A string of the current resource instance; empty when it has none of that number.
std::wstring LoadResString(UINT id);

// Loads the named library, reads the strings while it is the resource instance and releases it.
// Nothing when the library cannot be loaded (the loader has said so to the user).
std::optional<std::vector<std::wstring>> LoadLibraryTexts(const wchar_t* library, std::initializer_list<UINT> ids);

}  // namespace wiraxui
