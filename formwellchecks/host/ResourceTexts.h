// Texts of FormwellUIRes.dll, found in the host's resource folder.
#pragma once

#include <windows.h>

#include <string>

namespace formwell {

// Strings are read through a buffer of this many characters.
constexpr int kTextBufferSize = 1024;

// The library's path: the host's resource folder joined with name as PathAppendW joins them;
// empty when the result would not fit MAX_PATH.
std::wstring ResourceLibraryPath(const wchar_t* name);

// A loaded resource library, freed when the holder goes.
class CResourceLibrary {
public:
    CResourceLibrary() = default;
    explicit CResourceLibrary(const std::wstring& path);
    ~CResourceLibrary();
    CResourceLibrary(const CResourceLibrary&) = delete;
    CResourceLibrary& operator=(const CResourceLibrary&) = delete;

    HMODULE Module() const { return m_module; }
    const std::wstring& Path() const { return m_path; }
    // Frees the library held and loads the one at path instead.
    void Reset(const std::wstring& path);

private:
    std::wstring m_path;
    HMODULE m_module = nullptr;
};

// String id of the module into buffer, terminated; an empty string when the module or the string
// is missing.
void LoadText(HMODULE module, UINT id, wchar_t* buffer, int size);

// One string of "FormwellUIres.dll": the library is loaded for the call and freed again. Empty
// when the library or the string is missing.
std::wstring LoadFormwellText(UINT id);

// "FormwellUIRes.dll", loaded on first use and kept loaded while the plug-in is; null when it
// cannot be loaded.
HMODULE KeptFormwellLibrary();

}  // namespace formwell
