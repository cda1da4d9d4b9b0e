#include "host/Properties.h"

#include <SetupHost.h>

namespace wiraxui {

std::wstring ReadProperty(const CProduct* product, const wchar_t* name)
{
    if (!product)
        return std::wstring();
    wchar_t buffer[kPropertyBufferChars] = L"";
    DWORD size = kPropertyBufferChars;
    // A value longer than the buffer comes back cut short, and a cut path or list is another one:
    // such a property counts as unreadable, which reads as empty.
    if (product->GetMsiProperty(name, buffer, &size) == ERROR_MORE_DATA)
        return std::wstring();
    buffer[kPropertyBufferChars - 1] = L'\0';  // whatever the host did, the text ends here
    return buffer;
}

void WriteProperty(CProduct* product, const wchar_t* name, const std::wstring& value)
{
    if (product)
        product->SetMsiProperty(name, value.c_str(), false);
}

bool IsFlagSet(const CProduct* product, const wchar_t* name) { return ReadProperty(product, name) == L"1"; }

}  // namespace wiraxui
