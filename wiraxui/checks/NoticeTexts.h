// Texts of a notice, loaded from a resource library of the host's.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace wiraxui {

// One text per number, in order. When the library cannot be loaded (its loader has told the
// user), every text is empty and the notice still goes out.
std::vector<std::wstring> LoadNoticeTexts(const wchar_t* library, std::initializer_list<UINT> ids);

}  // namespace wiraxui
