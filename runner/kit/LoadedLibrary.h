// A DLL loaded for as long as this object lives. The runner loads plug-ins with it, and the
// tests load each plug-in afresh per test, so that its process-wide state starts new.
#pragma once

#include <windows.h>

namespace hostkit {

class LoadedLibrary {
public:
    explicit LoadedLibrary(const wchar_t* name) : m_module(LoadLibraryW(name)) {}
    ~LoadedLibrary()
    {
        if (m_module)
            FreeLibrary(m_module);
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    bool Loaded() const { return m_module != nullptr; }
    HMODULE Module() const { return m_module; }

    template <typename Function>
    Function* Export(const char* name) const
    {
        return m_module ? reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(m_module, name)))
                        : nullptr;
    }

private:
    HMODULE m_module;
};

}  // namespace hostkit
