// Installer properties as the plug-in reads them from the host: a value that does not fit the
// 1024-character buffer is not silently cut to another one.
#include "HostFixture.h"
#include "host/Properties.h"

#include <gtest/gtest.h>

namespace {

TEST(HostProperties, AValueLongerThanTheBufferReadsAsEmptyNeverAsItsBeginning)
{
    testsupport::HostInstallation host;
    CProduct* main = host.Add(L"WIRAX_MAIN");
    const std::wstring fits = L"C:\\Share\\" + std::wstring(1023 - 9, L'a');
    main->SeedProperty(L"FITS", fits);
    EXPECT_EQ(wiraxui::ReadProperty(main, L"FITS"), fits);
    // Cut after 1023 characters this would be "C:\Share\", the root of the share.
    const std::wstring longer = L"C:\\Share\\" + std::wstring(1023 - 9, L'\\') + L"Libs\\private";
    main->SeedProperty(L"NETSHAREDSYMLIBPATH", longer);
    EXPECT_EQ(wiraxui::ReadProperty(main, L"NETSHAREDSYMLIBPATH"), L"");
    EXPECT_EQ(wiraxui::ReadProperty(main, L"UNSET"), L"");
    EXPECT_EQ(wiraxui::ReadProperty(nullptr, L"FITS"), L"");
}

}  // namespace
