// A string of a resource library as the user would read it: the library is mapped as data, so
// none of its code runs. Empty when the library or the string is not there.
#pragma once

#include <windows.h>

#include <string>

namespace hostkit {

inline std::wstring ResourceString(const std::wstring& library, UINT id)
{
    HMODULE module = LoadLibraryExW(library.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return {};
    const wchar_t* text = nullptr;
    const int length = LoadStringW(module, id, reinterpret_cast<wchar_t*>(&text), 0);
    std::wstring result = length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
    FreeLibrary(module);
    return result;
}

}  // namespace hostkit
