// One installation of the stand-in host and the record an export receives for it.
#pragma once

#include <SetupHost.h>

#include <array>
#include <cstdint>
#include <string>

namespace testsupport {

struct HostInstallation {
    CSetupManager setup;
    std::array<uintptr_t, PageRecord::kWords> record{};

    HostInstallation()
    {
        record[PageRecord::kSetupManager] = reinterpret_cast<uintptr_t>(&setup);
        setup.m_installPath = L"C:\\Program Files\\Tarvena\\Wirax\\";
    }

    CProduct* Add(const std::wstring& key, int installState = 0, int actionWord = 0)
    {
        CProduct* product = setup.AddProduct(key);
        product->m_installState = installState;
        product->m_actionWord = actionWord;
        return product;
    }

    size_t CountEvents(HostEvent::Kind kind) const
    {
        size_t count = 0;
        for (const HostEvent& event : setup.Journal().Events())
            count += event.kind == kind;
        return count;
    }
};

// A wide string from a narrow one, for messages in assertions.
inline std::string Narrow(const std::wstring& text)
{
    std::string result;
    for (wchar_t c : text)
        result += c < 128 ? static_cast<char>(c) : '?';
    return result;
}

}  // namespace testsupport
