// Installer properties of host products, read and written the way every caller here does:
// a 1024-character buffer, an absent product or property reading as empty. A value that does not
// fit the buffer (the host answers "more data") reads as empty too, never as its first 1023
// characters.
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
