#include "host/HostProduct.h"

namespace formwell {

std::wstring ReadProperty(const CProduct& product, const wchar_t* name)
{
    wchar_t buffer[kPropertyBufferSize] = L"";
    if (!product.GetMsiProperty(QString::fromWCharArray(name), buffer, kPropertyBufferSize))
        return std::wstring();
    buffer[kPropertyBufferSize - 1] = L'\0';
    return buffer;
}

}  // namespace formwell
