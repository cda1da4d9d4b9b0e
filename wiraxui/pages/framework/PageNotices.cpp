#include "pages/framework/PageNotices.h"

#include <cstdint>

namespace wiraxui {

LRESULT SendPropertyChangedNotice(HWND page, HWND parent, const std::wstring& name)
{
    if (!parent)
        return 0;
    const DWORD characters = static_cast<DWORD>(name.size() + 1);
    COPYDATASTRUCT data{};
    data.dwData = characters;
    data.cbData = characters * sizeof(wchar_t);
    data.lpData = const_cast<wchar_t*>(name.c_str());
    return SendMessageW(parent, WM_COPYDATA, reinterpret_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&data));
}

LRESULT SendHeightChangedNotice(HWND page, HWND parent)
{
    if (!parent)
        return 0;
    NMHDR header{};
    header.hwndFrom = page;
    header.idFrom = 0;
    header.code = static_cast<UINT>(kPageHeightChangedCode);
    return SendMessageW(parent, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
}

std::wstring ResolvePropertyName(const wchar_t* nameOrId, HMODULE library)
{
    if (!nameOrId)
        return std::wstring();
    const auto value = reinterpret_cast<uintptr_t>(nameOrId);
    if (value >> 16 != 0)
        return nameOrId;
    const wchar_t* text = nullptr;
    const int length = library ? LoadStringW(library, static_cast<UINT>(value), reinterpret_cast<wchar_t*>(&text), 0) : 0;
    return length > 0 && text ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

}  // namespace wiraxui
