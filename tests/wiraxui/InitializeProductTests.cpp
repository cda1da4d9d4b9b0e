#include "InitTestSupport.h"
#include "ResourceString.h"

#include <WiraxUIRes.h>

using namespace testsupport;

namespace {

constexpr long long kBase = 2705308172LL;
constexpr long long kJic = 109169893LL;
constexpr long long kIec = 414426737LL;
constexpr long long kIec6 = 212978754LL;
constexpr long long kGb = 207784423LL;
constexpr long long kNfpa = 112117238LL;

const wchar_t* const kLibraryProperties[] = {L"WXJIC1", L"WXJICDEMO", L"WXIEC2", L"WXIEC4", L"WXIECDEMO",
                                             L"WXIEC6", L"WXGB2",     L"WXGBDEMO", L"WXJIS2", L"WXJISDEMO",
                                             L"WXAS2",  L"WXNFPA",    L"WXNFPADEMO"};

struct LibraryCase {
    const wchar_t* symbolLibrary;
    const wchar_t* drawingStandard;
    const wchar_t* expectedSymbolLibrary;
    const char* expectedFlags;  // one character per library property, in write order
    long long expectedBytes;
};

class SymbolLibraryChoice : public WiraxInitTest, public ::testing::WithParamInterface<LibraryCase> {};

std::wstring LoadFromResourceLibrary(UINT id)
{
    return hostkit::ResourceString(L"WiraxUIRes.dll", id);
}

}  // namespace

TEST_P(SymbolLibraryChoice, WritesLibraryPropertiesAndCost)
{
    const LibraryCase& c = GetParam();
    Set(L"SYMBOLLIBRARY", c.symbolLibrary);
    Set(L"DRAWINGSTANDARD", c.drawingStandard);
    Set(L"M_AB", L"0");

    ASSERT_EQ(initialize(host.record.data()), 1);

    EXPECT_EQ(Get(L"SYMBOLLIBRARY"), c.expectedSymbolLibrary);
    for (size_t i = 0; i < std::size(kLibraryProperties); ++i)
        EXPECT_EQ(Get(kLibraryProperties[i]), std::wstring(1, c.expectedFlags[i])) << Narrow(kLibraryProperties[i]);
    // Nothing chosen among the manufacturers: the whole cost is the libraries'.
    EXPECT_EQ(CostOnC(), c.expectedBytes);
}

INSTANTIATE_TEST_SUITE_P(
    Standards, SymbolLibraryChoice,
    ::testing::Values(
        // An empty library list takes the drawing standard; JIC is installed but only costs when named.
        LibraryCase{L"", L"IEC", L"IEC", "1111100000000", kBase + kIec},
        // "IEC6" also selects the IEC libraries, and both are paid for.
        LibraryCase{L"IEC6", L"IEC6", L"IEC6", "1111110000000", kBase + kIec + kIec6},
        LibraryCase{L"JIC", L"", L"JIC", "1100000000000", kBase + kJic},
        // A list that lacks the standard is replaced by it, not extended.
        LibraryCase{L"GB;NFPA", L"JIS", L"JIS", "1100000011000", kBase + 200607478LL},
        LibraryCase{L"JIC;GB;NFPA", L"GB", L"JIC;GB;NFPA", "1100001100011", kBase + kJic + kGb + kNfpa},
        LibraryCase{L"AS2", L"", L"AS2", "1100000000100", kBase + 207294692LL}));

TEST_F(WiraxInitTest, WithoutMainProductNothingHappensAndTheFirstCallIsStillAhead)
{
    HostInstallation other;
    other.Add(L"WIRAX");
    EXPECT_EQ(initialize(other.record.data()), 0);
    EXPECT_TRUE(other.setup.Journal().Events().empty());

    Set(L"DRAWINGSTANDARD", L"GB");
    ASSERT_EQ(initialize(host.record.data()), 1);
    EXPECT_EQ(Get(L"SYMBOLLIBRARY"), L"GB");
    EXPECT_EQ(Get(L"WXGB2"), L"1");
}

TEST_F(WiraxInitTest, SecondCallKeepsFirstCallWorkButCostsManufacturersAgain)
{
    Set(L"DRAWINGSTANDARD", L"IEC");
    Set(L"M_SI", L"1");
    ASSERT_EQ(initialize(host.record.data()), 1);
    EXPECT_EQ(CostOnC(), kBase + kIec + 38981187LL);

    // The user changes the standard between calls: only the first call derives the libraries.
    Set(L"DRAWINGSTANDARD", L"GB");
    Set(L"M_A2", L"1");
    const size_t costsBefore = host.CountEvents(HostEvent::Kind::CostAdded);
    ASSERT_EQ(initialize(host.record.data()), 1);

    EXPECT_EQ(Get(L"SYMBOLLIBRARY"), L"IEC");
    EXPECT_EQ(Get(L"WXGB2"), L"0");
    EXPECT_EQ(host.CountEvents(HostEvent::Kind::CostAdded), costsBefore + 1);
    EXPECT_EQ(CostOnC(), kBase + kIec + 38981187LL + 38981187LL + 4575081LL);
}

TEST_F(WiraxInitTest, SecondCallRebuildsPlatformKeysForTheReadBack)
{
    host.setup.m_setupMode = ::Setup::SETUPMODE_MAINTENANCE;
    ASSERT_EQ(initialize(host.record.data()), 1);

    // The product's platform changes after the first call; the read-back must follow it.
    const std::wstring newVersion = version + L"b";
    Set(L"PLNDVERSION", newVersion);
    const std::wstring newKey = L"Software\\Tarvena\\Plandra\\" + newVersion + L"\\PLND-4101";
    ASSERT_TRUE(registry.SetString(HKEY_LOCAL_MACHINE, newKey, L"PublicWxFolder", L"P:\\Second\\"));
    ASSERT_TRUE(registry.SetString(HKEY_CURRENT_USER, newKey + L":1033", L"RoamingUserMyDocsWiraxFolder", L"U:\\Second\\"));

    ASSERT_EQ(initialize(host.record.data()), 1);
    EXPECT_EQ(Get(L"WXSYMLIBFOLDER"), L"P:\\Second\\");
    EXPECT_EQ(Get(L"ROAMINGUSERMYDOCSWIRAXFOLDER"), L"U:\\Second\\");
}

class ChangedInstallation : public WiraxInitTest, public ::testing::WithParamInterface<int> {};

TEST_P(ChangedInstallation, ReadsBackWhatTheInstalledProductRecorded)
{
    host.setup.m_setupMode = GetParam();
    Set(L"GLOBCONTENTPRODUCTCODE", L"{G-" + version + L"}");
    Set(L"LOCCONTENTPRODUCTCODE", L"{L-" + version + L"}");
    Set(L"M_SI", L"0");
    const std::wstring uninstall = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    // A long folder makes the registry read grow past its first 260 characters.
    const std::wstring longFolder = L"D:\\" + std::wstring(300, L'x') + L"\\Libs\\";
    ASSERT_TRUE(registry.SetDword(HKEY_LOCAL_MACHINE, PlatformKey() + L"\\Manufacturer", L"M_SI", 1));
    ASSERT_TRUE(registry.SetDword(HKEY_LOCAL_MACHINE, PlatformKey() + L"\\Manufacturer", L"M_AB", 0));
    ASSERT_TRUE(registry.SetDword(HKEY_LOCAL_MACHINE, PlatformKey() + L"\\Manufacturer", L"M_WE", 7));
    ASSERT_TRUE(registry.SetString(HKEY_LOCAL_MACHINE, PlatformKey(), L"PublicWxLibsFolder", longFolder));
    ASSERT_TRUE(registry.SetString(HKEY_LOCAL_MACHINE, PlatformKey(), L"PublicWxFolder", L"D:\\Public\\Wirax\\"));
    ASSERT_TRUE(registry.SetString(HKEY_CURRENT_USER, PlatformKey() + L":1033", L"RoamingUserMyDocsWiraxFolder", L"U:\\Docs\\"));
    ASSERT_TRUE(registry.SetString(HKEY_LOCAL_MACHINE, uninstall + L"{G-" + version + L"}", L"InstallSource", L"S:\\Global\\"));
    ASSERT_TRUE(registry.SetString(HKEY_LOCAL_MACHINE, uninstall + L"{L-" + version + L"}", L"InstallSource", L"S:\\Local\\"));

    ASSERT_EQ(initialize(host.record.data()), 1);

    EXPECT_EQ(Get(L"M_SI"), L"1");
    EXPECT_EQ(Get(L"M_AB"), L"0");
    EXPECT_EQ(Get(L"M_WE"), L"7");
    EXPECT_EQ(Get(L"M_TU"), L"0") << "a manufacturer the installation did not record is not chosen";
    EXPECT_EQ(Get(L"WXLIBSFOLDER"), longFolder);
    EXPECT_EQ(Get(L"WXSYMLIBFOLDER"), L"D:\\Public\\Wirax\\");
    EXPECT_EQ(Get(L"ROAMINGUSERMYDOCSWIRAXFOLDER"), L"U:\\Docs\\");
    EXPECT_EQ(Get(L"GLOBCONTENTSRCPATH"), L"S:\\Global\\");
    EXPECT_EQ(Get(L"MDBSRCPATH"), L"S:\\Local\\");
    // The recorded manufacturer is chosen content, so nothing is missing.
    EXPECT_TRUE(main->Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Modes, ChangedInstallation, ::testing::Values(2, 3));

TEST_F(WiraxInitTest, ReadBackKeepsDefaultFoldersWhenNothingWasRecorded)
{
    host.setup.m_setupMode = ::Setup::SETUPMODE_REMOVAL;
    ASSERT_EQ(initialize(host.record.data()), 1);
    EXPECT_EQ(Get(L"WXSYMLIBFOLDER"), Folder(CSIDL_COMMON_DOCUMENTS) + L"\\Tarvena\\Wirax\\");
    EXPECT_FALSE(main->HasProperty(L"GLOBCONTENTSRCPATH"));
    // No manufacturer recorded, yet mode 3 shows no missing-content warning.
    EXPECT_EQ(Get(L"M_SI"), L"0");
    EXPECT_TRUE(main->Messages().empty());
}

TEST_F(WiraxInitTest, MissingContentWarningUsesTheResourceTexts)
{
    Set(L"M_AB", L"0");
    Set(L"M_SI", L"yes");  // only the exact "1" selects
    ASSERT_EQ(initialize(host.record.data()), 1);

    ASSERT_EQ(main->Messages().count(2), 1u);
    const ProductMessage& message = main->Messages().at(2);
    EXPECT_EQ(message.text, LoadFromResourceLibrary(IDS_MISSING_CONTENT_TEXT));
    EXPECT_EQ(message.title, LoadFromResourceLibrary(IDS_MISSING_CONTENT_TITLE));
    EXPECT_FALSE(message.text.empty());
}

TEST_F(WiraxInitTest, NoWarningWhenSomeContentIsSelected)
{
    Set(L"M_WE", L"1");
    ASSERT_EQ(initialize(host.record.data()), 1);
    EXPECT_TRUE(main->Messages().empty());
}

TEST_F(WiraxInitTest, DataFoldersDefaultToTheUsersAndPublicDocuments)
{
    // Outside a deployment the network data paths are switched off and the folders are forced.
    Set(L"NETPERSONALWXDATAPATH", L"\\\\server\\data\\");
    Set(L"ROAMINGUSERMYDOCSWIRAXFOLDER", L"Q:\\Old\\");
    ASSERT_EQ(initialize(host.record.data()), 1);

    EXPECT_EQ(Get(L"NETPERSONALWXDATAPATH"), L"0");
    EXPECT_EQ(Get(L"NETDEFAULTSYMLIBPATH"), L"0");
    EXPECT_EQ(Get(L"ROAMINGUSERMYDOCSWIRAXFOLDER"), Folder(CSIDL_PERSONAL) + L"\\Wirax\\");
    EXPECT_EQ(Get(L"WXSYMLIBFOLDER"), Folder(CSIDL_COMMON_DOCUMENTS) + L"\\Tarvena\\Wirax\\");
    EXPECT_EQ(Get(L"WXLIBSFOLDER"), Folder(CSIDL_COMMON_DOCUMENTS) + L"\\Tarvena\\Wirax\\Libs\\");

    // Later calls recompute a folder only when it was emptied.
    Set(L"ROAMINGUSERMYDOCSWIRAXFOLDER", L"Q:\\Chosen\\");
    Set(L"WXSYMLIBFOLDER", L"");
    ASSERT_EQ(initialize(host.record.data()), 1);
    EXPECT_EQ(Get(L"ROAMINGUSERMYDOCSWIRAXFOLDER"), L"Q:\\Chosen\\");
    EXPECT_EQ(Get(L"WXSYMLIBFOLDER"), Folder(CSIDL_COMMON_DOCUMENTS) + L"\\Tarvena\\Wirax\\");
}

TEST_F(WiraxInitTest, DeploymentKeepsNetworkFoldersItSwitchedOff)
{
    host.setup.m_setupMode = ::Setup::SETUPMODE_DEPLOY_UPDATE;
    Set(L"NETPERSONALWXDATAPATH", L"0");
    Set(L"NETDEFAULTSYMLIBPATH", L"1");
    Set(L"ROAMINGUSERMYDOCSWIRAXFOLDER", L"\\\\server\\users\\");
    Set(L"WXSYMLIBFOLDER", L"\\\\server\\symbols\\");
    ASSERT_EQ(initialize(host.record.data()), 1);

    EXPECT_EQ(Get(L"NETPERSONALWXDATAPATH"), L"0");
    EXPECT_EQ(Get(L"NETDEFAULTSYMLIBPATH"), L"1");
    EXPECT_EQ(Get(L"ROAMINGUSERMYDOCSWIRAXFOLDER"), L"\\\\server\\users\\");
    EXPECT_EQ(Get(L"WXSYMLIBFOLDER"), Folder(CSIDL_COMMON_DOCUMENTS) + L"\\Tarvena\\Wirax\\");
}

TEST_F(WiraxInitTest, NetworkPathsFlagActsLikeADeploymentForTheDataPaths)
{
    host.setup.m_networkPaths = true;
    Set(L"NETDEFAULTSYMLIBPATH", L"0");
    Set(L"WXSYMLIBFOLDER", L"\\\\server\\symbols\\");
    ASSERT_EQ(initialize(host.record.data()), 1);
    EXPECT_FALSE(main->HasProperty(L"NETPERSONALWXDATAPATH"));
    EXPECT_EQ(Get(L"WXSYMLIBFOLDER"), L"\\\\server\\symbols\\");
}

TEST_F(WiraxInitTest, CostGoesToTheInstallDrive)
{
    host.setup.m_installPath = L"E:\\Apps\\Wirax\\";
    Set(L"M_AB", L"1");
    ASSERT_EQ(initialize(host.record.data()), 1);
    EXPECT_EQ(main->Costs().size(), 1u);
    EXPECT_EQ(main->Costs().at(L"E:"), kBase + 127013509LL);
}
