#include "watch/ImportHook.h"

#include <cstring>

namespace runner {

namespace {

void Write(void** slot, void* value)
{
    DWORD old = 0;
    if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old))
        return;
    *slot = value;
    VirtualProtect(slot, sizeof *slot, old, &old);
}

}  // namespace

ImportHook::ImportHook(HMODULE module, const char* dll, const char* function, void* replacement)
{
    if (!module)
        return;
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE)
        return;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!directory.VirtualAddress)
        return;
    // Without the names of its imports the module is matched by the function's address.
    HMODULE exporter = GetModuleHandleA(dll);
    void* exported = exporter ? reinterpret_cast<void*>(GetProcAddress(exporter, function)) : nullptr;
    for (auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress); import->Name; ++import) {
        if (_stricmp(reinterpret_cast<const char*>(base + import->Name), dll) != 0)
            continue;
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
        const auto* names = import->OriginalFirstThunk ? reinterpret_cast<const IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk) : nullptr;
        for (size_t i = 0; slots[i].u1.Function; ++i) {
            bool match = false;
            if (names && !IMAGE_SNAP_BY_ORDINAL(names[i].u1.Ordinal)) {
                const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names[i].u1.AddressOfData);
                match = std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0;
            } else if (!names) {
                match = exported && reinterpret_cast<void*>(slots[i].u1.Function) == exported;
            }
            if (!match)
                continue;
            m_slot = reinterpret_cast<void**>(&slots[i].u1.Function);
            m_original = *m_slot;
            Write(m_slot, replacement);
            return;
        }
    }
}

ImportHook::~ImportHook()
{
    if (m_slot)
        Write(m_slot, m_original);
}

}  // namespace runner
