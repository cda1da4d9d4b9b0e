// Loads a plug-in DLL for one test and unloads it afterwards, so that every test starts with the
// plug-in's process-wide state fresh.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace testsupport {

class PluginLibrary {
public:
    explicit PluginLibrary(const wchar_t* name) : m_module(LoadLibraryW(name)) {}
    ~PluginLibrary()
    {
        if (m_module)
            FreeLibrary(m_module);
    }
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

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

// True when the module is no longer mapped in this process.
inline bool IsUnloaded(const wchar_t* name) { return GetModuleHandleW(name) == nullptr; }

}  // namespace testsupport
