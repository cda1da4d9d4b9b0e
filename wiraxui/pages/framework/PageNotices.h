// What pages tell their host window: a property that other pages may depend on was written, or
// the page's height changed; and how a property name reaches a page.
#pragma once

#include <windows.h>

#include <string>

namespace wiraxui {

// WM_NOTIFY code of a page whose height changed.
constexpr int kPageHeightChangedCode = -610;

// WM_COPYDATA to parent: data word = characters of name with its terminator, the name as
// UTF-16 bytes. Answers what the parent answered.
LRESULT SendPropertyChangedNotice(HWND page, HWND parent, const std::wstring& name);

// WM_NOTIFY to parent from the page's window, control id 0.
LRESULT SendHeightChangedNotice(HWND page, HWND parent);

// The property name a host hands a page: a string, or a string number of library in the low
// 16 bits of the pointer; null reads as empty.
std::wstring ResolvePropertyName(const wchar_t* nameOrId, HMODULE library);

}  // namespace wiraxui
