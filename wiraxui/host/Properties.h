// Installer properties of host products, read and written the way every caller here does:
// a 1024-character buffer, an absent product or property reading as empty.
#pragma once

#include <string>

class CProduct;

namespace wiraxui {

constexpr unsigned kPropertyBufferChars = 1024;

std::wstring ReadProperty(const CProduct* product, const wchar_t* name);
void WriteProperty(CProduct* product, const wchar_t* name, const std::wstring& value);
// Flags are the exact one-character strings "1" and "0".
bool IsFlagSet(const CProduct* product, const wchar_t* name);

}  // namespace wiraxui
