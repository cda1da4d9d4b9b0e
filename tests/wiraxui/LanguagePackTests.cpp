#include "InitTestSupport.h"

using namespace testsupport;

namespace {
constexpr long long kFullContent = 1085473258LL;
}

class StandaloneLanguagePack : public WiraxInitTest {
protected:
    void AddPacks(int productState, int languagePackState)
    {
        product = host.Add(L"WIRAX", productState);
        languagePack = host.Add(L"WIRAX_LP", languagePackState);
        contentPack = host.Add(L"WIRAXCONTENT_LP");
        // "PLND_LP" is left out: only products that exist are marked.
    }
    void RecordInstalledManufacturers()
    {
        ASSERT_TRUE(registry.SetDword(HKEY_LOCAL_MACHINE, PlatformKey() + L"\\Manufacturer", L"M_SI", 1));
        ASSERT_TRUE(registry.SetDword(HKEY_LOCAL_MACHINE, PlatformKey() + L"\\Manufacturer", L"M_AB", 0));
    }
    size_t Marked() const
    {
        size_t count = 0;
        for (const auto& p : host.setup.Products())
            count += p->Property(L"STANDALONE_LP") == L"1";
        return count;
    }
    CProduct* product = nullptr;
    CProduct* languagePack = nullptr;
    CProduct* contentPack = nullptr;
};

TEST_F(StandaloneLanguagePack, IsMarkedAndFilledFromTheInstalledProduct)
{
    AddPacks(5, 3);
    RecordInstalledManufacturers();
    const size_t before = host.setup.Journal().Events().size();

    EXPECT_EQ(validateLP(host.record.data()), 1);

    EXPECT_EQ(Marked(), 3u);
    EXPECT_EQ(Get(L"STANDALONE_LP", languagePack), L"1");
    EXPECT_EQ(Get(L"M_SI"), L"1");
    EXPECT_EQ(Get(L"M_AB"), L"0");
    EXPECT_EQ(Get(L"M_WE"), L"0") << "every manufacturer is written, recorded or not";
    EXPECT_EQ(CostOnC(), kFullContent);
    // The marking comes first, in product order, then the 47 manufacturers, then the cost.
    const auto& events = host.setup.Journal().Events();
    ASSERT_EQ(events.size(), before + 3 + 47 + 1);
    EXPECT_EQ(events[before].product, L"WIRAX_MAIN");
    EXPECT_EQ(events[before + 1].product, L"WIRAX_LP");
    EXPECT_EQ(events[before + 2].product, L"WIRAXCONTENT_LP");
    EXPECT_EQ(events[before + 3].name, L"M_AB");
}

TEST_F(StandaloneLanguagePack, NotStandaloneWhenTheProductIsNotInstalledOrThePackIs)
{
    for (auto [productState, packState] : {std::pair{3, 3}, std::pair{0, 1}, std::pair{4, 2}, std::pair{2, 5}}) {
        HostInstallation other;
        other.Add(L"WIRAX_MAIN");
        other.Add(L"WIRAX", productState);
        other.Add(L"WIRAX_LP", packState);
        EXPECT_EQ(validateLP(other.record.data()), 1);
        EXPECT_TRUE(other.setup.Journal().Events().empty()) << productState << "/" << packState;
    }
}

TEST_F(StandaloneLanguagePack, MissingProductsEndQuietly)
{
    HostInstallation noProduct;
    noProduct.Add(L"WIRAX_MAIN");
    noProduct.Add(L"WIRAX_LP", 3);
    EXPECT_EQ(validateLP(noProduct.record.data()), 1);
    EXPECT_TRUE(noProduct.setup.Journal().Events().empty());

    HostInstallation noMain;
    noMain.Add(L"WIRAX", 4);
    noMain.Add(L"WIRAX_LP", 3);
    EXPECT_EQ(initializeLP(noMain.record.data()), 0);
    // Without the main product there is nothing to fill, but the packs are still marked.
    EXPECT_EQ(validateLP(noMain.record.data()), 1);
    EXPECT_EQ(noMain.CountEvents(HostEvent::Kind::CostAdded), 0u);
    EXPECT_EQ(noMain.setup.FindProduct(L"WIRAX_LP")->Property(L"STANDALONE_LP"), L"1");

    EXPECT_EQ(validateLP(nullptr), 1);
    EXPECT_EQ(initializeLP(nullptr), 0);
    EXPECT_EQ(initialize(nullptr), 0);
}

TEST_F(StandaloneLanguagePack, InitializeProductRecognisesItToo)
{
    AddPacks(4, 3);
    RecordInstalledManufacturers();
    Set(L"DRAWINGSTANDARD", L"IEC");

    ASSERT_EQ(initialize(host.record.data()), 1);

    EXPECT_EQ(Marked(), 3u);
    EXPECT_EQ(Get(L"M_SI"), L"1");
    // Libraries, then no manufacturer chosen yet (0 bytes), then the full content.
    EXPECT_EQ(CostOnC(), 2705308172LL + 414426737LL + kFullContent);
}

TEST_F(StandaloneLanguagePack, InitializeProductLeavesAnInstalledPackAlone)
{
    AddPacks(3, 3);
    ASSERT_EQ(initialize(host.record.data()), 1);
    EXPECT_EQ(Marked(), 0u);
}

TEST_F(StandaloneLanguagePack, LanguagePackInitialisationAlwaysAnswersZero)
{
    RecordInstalledManufacturers();
    EXPECT_EQ(initializeLP(host.record.data()), 0);
    EXPECT_EQ(Get(L"M_SI"), L"1");
    EXPECT_EQ(CostOnC(), kFullContent);
}
