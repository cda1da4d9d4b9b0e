// CheckForGlobalProduct, CheckForFormwell and CheckBeforeInstall through the plug-in's exports,
// with required products installed for real and the warning box answered like a user would.
#include "ChecksFixture.h"
#include "DialogAnswerer.h"
#include "MsiProducts.h"

#include "init/ManufacturerTable.h"

#include <WiraxUIRes.h>

namespace checkstest {
namespace {

class PresenceTest : public ChecksTest {
protected:
    void SetUp() override
    {
        ChecksTest::SetUp();
        checkGlobal = Export<ProductCheck>("CheckForGlobalProduct");
        checkFormwell = Export<ProductCheck>("CheckForFormwell");
        checkBeforeInstall = Export<RecordCheck>("CheckBeforeInstall");
    }

    size_t PropertiesWritten() const { return host.CountEvents(HostEvent::Kind::PropertySet); }

    ProductCheck* checkGlobal = nullptr;
    ProductCheck* checkFormwell = nullptr;
    RecordCheck* checkBeforeInstall = nullptr;
};

TEST_F(PresenceTest, DeploymentModesPassWithoutWritingTheResultWords)
{
    for (int mode : {4, 5, 6}) {
        EXPECT_TRUE(checkGlobal(mode, product, &state, &action));
        EXPECT_TRUE(checkFormwell(mode, product, &state, &action));
    }
    EXPECT_EQ(state, kUntouched);
    EXPECT_EQ(action, kUntouched);
    EXPECT_TRUE(product->Messages().empty());
}

TEST_F(PresenceTest, AMissingOrUnknownRequiredProductIsRefused)
{
    EXPECT_FALSE(checkGlobal(2, product, &state, &action));
    EXPECT_EQ(state, 7);
    EXPECT_EQ(action, 11);
    EXPECT_EQ(Message(128), LibraryString(L"WiraxUIRes.dll", IDS_BASE_PRODUCT_MISSING));
    EXPECT_FALSE(Message(128).empty());
    EXPECT_EQ(product->Messages().at(128).title, L"");

    state = action = kUntouched;
    product->SeedProperty(L"FORMWELLPRODUCTCODE", testsupport::NewGuid());
    EXPECT_FALSE(checkFormwell(1, product, &state, &action));
    EXPECT_EQ(state, 7);
    EXPECT_EQ(action, 11);
    EXPECT_EQ(Message(128), LibraryString(L"WiraxUIRes.dll", IDS_FORMWELL_MISSING));
}

TEST_F(PresenceTest, AnInstalledRequiredProductPassesWithoutWritingTheResultWords)
{
    testsupport::InstalledMsiProduct base({testsupport::NewGuid(), L"Tarvena Plandra 2027", L"27.0.1"});
    ASSERT_TRUE(base.Installed()) << testsupport::Narrow(base.Failure());
    product->SeedProperty(L"GLOBPRODUCTCODE", base.Product().productCode);
    product->SeedProperty(L"FORMWELLPRODUCTCODE", base.Product().productCode);
    EXPECT_TRUE(checkGlobal(2, product, &state, &action));
    EXPECT_TRUE(checkFormwell(2, product, &state, &action));
    EXPECT_EQ(state, kUntouched);
    EXPECT_EQ(action, kUntouched);
    EXPECT_TRUE(product->Messages().empty());
}

TEST_F(PresenceTest, WithoutTheMainProductNothingIsShownAndTheAnswerIsZero)
{
    testsupport::HostInstallation other;
    other.Add(L"WIRAX_LP");
    hostkit::DialogAnswerer boxes({}, IDOK);
    EXPECT_EQ(checkBeforeInstall(other.record.data()), 0);
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(PresenceTest, AMainProductThatIsNotInstalledInThisRunPassesUnchanged)
{
    product->m_actionWord = 2;
    hostkit::DialogAnswerer boxes({}, IDOK);
    EXPECT_EQ(checkBeforeInstall(host.record.data()), 1);
    EXPECT_EQ(PropertiesWritten(), 0u);
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(PresenceTest, OnlyAnExactOneCountsAsSelectedAndTheLastRowIsRead)
{
    product->m_actionWord = ::Setup::INSTALLACTION_INSTALL;
    product->SeedProperty(L"LANG2LONG", L"German");
    for (size_t row = 0; row + 1 < wiraxui::kManufacturerCount; ++row)
        product->SeedProperty(wiraxui::kManufacturers[row].property, row % 2 ? L"true" : L"01");
    product->SeedProperty(wiraxui::kManufacturers[wiraxui::kManufacturerCount - 1].property, L"1");
    hostkit::DialogAnswerer boxes({}, IDOK);
    EXPECT_EQ(checkBeforeInstall(host.record.data()), 1);
    // Product initialisation ran again on the selection.
    EXPECT_GT(PropertiesWritten(), 0u);
    EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(PresenceTest, NoSelectedManufacturerShowsOneWarningAndRecomputesNothing)
{
    product->m_actionWord = ::Setup::INSTALLACTION_INSTALL;
    for (size_t row = 0; row < wiraxui::kManufacturerCount; ++row)
        product->SeedProperty(wiraxui::kManufacturers[row].property, row == 3 ? L"true" : L"01");
    const std::wstring caption = LibraryString(L"WiraxUIRes.dll", IDS_MISSING_CONTENT_TITLE);
    hostkit::DialogAnswerer boxes({caption}, IDOK);
    EXPECT_EQ(checkBeforeInstall(host.record.data()), 2);
    ASSERT_EQ(boxes.Seen().size(), 1u);
    EXPECT_NE(boxes.Seen()[0].text.find(LibraryString(L"WiraxUIRes.dll", IDS_MISSING_CONTENT_TEXT)), std::wstring::npos);
    EXPECT_EQ(PropertiesWritten(), 0u);
}

}  // namespace
}  // namespace checkstest
