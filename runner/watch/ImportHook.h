// The runner watching a plug-in's calls into the system: an entry of the plug-in's import table
// pointed at a function of the runner's for as long as the hook lives.
#pragma once

#include <windows.h>

namespace runner {

class ImportHook {
public:
    // Replaces what module imports as function from dll (compared without regard to case).
    // Original() is null when the module imports no such function.
    ImportHook(HMODULE module, const char* dll, const char* function, void* replacement);
    ~ImportHook();
    ImportHook(const ImportHook&) = delete;
    ImportHook& operator=(const ImportHook&) = delete;

    void* Original() const { return m_original; }

private:
    void** m_slot = nullptr;
    void* m_original = nullptr;
};

}  // namespace runner
