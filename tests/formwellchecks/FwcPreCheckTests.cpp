// FwcPreCheck against companion products installed with msiexec.
#include "FormwellFixture.h"
#include "MsiProducts.h"

#include "FormwellUIRes.h"

#include <memory>

namespace formwelltest {
namespace {

using testsupport::InstalledMsiProduct;

class FwcPreCheckTest : public FormwellTest {
protected:
    void SetUp() override
    {
        FormwellTest::SetUp();
        fwcPreCheck = Export<formwell::FwcPreCheckFunction>("FwcPreCheck");
        ASSERT_NE(fwcPreCheck, nullptr);
        main = setup.AddProduct(QStringLiteral("FORMWELL"));
    }

    // Installs a companion in installedVersion and offers it in offeredVersion with action.
    CProduct* Companion(const QString& key, const std::wstring& name, const std::wstring& installedVersion,
                        const QString& offeredVersion, int action, bool requisite = false)
    {
        installed.push_back(std::make_unique<InstalledMsiProduct>(
            testsupport::MsiProductInfo{testsupport::NewGuid(), name, installedVersion}));
        EXPECT_TRUE(installed.back()->Installed()) << QString::fromStdWString(installed.back()->Failure()).toStdString();
        return Offered(key, installed.back()->Product().productCode, offeredVersion, action, requisite);
    }

    CProduct* Offered(const QString& key, const std::wstring& productCode, const QString& offeredVersion, int action,
                      bool requisite = false)
    {
        CProduct* product = requisite ? setup.AddRequisite(key) : setup.AddProduct(key);
        product->SetMsiProperty(QStringLiteral("ProductCode"), QString::fromStdWString(productCode));
        if (!offeredVersion.isEmpty())
            product->SetMsiProperty(QStringLiteral("ProductVersion"), offeredVersion);
        product->m_installAction = action;
        return product;
    }

    formwell::FwcPreCheckFunction* fwcPreCheck = nullptr;
    CProduct* main = nullptr;
    std::vector<std::unique_ptr<InstalledMsiProduct>> installed;
};

TEST_F(FwcPreCheckTest, OutdatedCompanionsBlockTheVerdictInListOrder)
{
    // Added to the installation in another order than the companion list examines them.
    Companion(QStringLiteral("MATLIBRARY"), L"Material Library 2020", L"1.5.0", QStringLiteral("2.0.0"), 4, true);
    Companion(QStringLiteral("SCANLINK"), L"Scan Link 2021", L"2021.1", QStringLiteral("2021.0"), 2);
    // Older by number although not by text.
    Companion(QStringLiteral("DWGVIEWER"), L"DWG Viewer 9", L"9.5.0", QStringLiteral("10.0.0"), 5);
    Companion(QStringLiteral("PARTLIBRARY"), L"Part Library 3", L"3.0.0", QStringLiteral("3.0.0"), 2);
    CProduct* verdict = setup.AddProduct(QStringLiteral("FWCPRECHECK"));

    EXPECT_TRUE(fwcPreCheck(nullptr, main));

    const QString message = ResourceText(IDS_OUTDATED_COMPANIONS_HEADING) +
                            QStringLiteral("\n\n - DWG Viewer 9 [9.5.0]\n\n - Material Library 2020 [1.5.0]\n\n");
    const std::vector<HostCall> changes = Changes();
    ASSERT_EQ(changes.size(), 5u);
    for (const HostCall& change : changes)
        EXPECT_EQ(change.product, QStringLiteral("FWCPRECHECK"));
    EXPECT_EQ(changes[0].kind, HostCall::Kind::InstallStateSet);
    EXPECT_EQ(changes[0].number, 7);
    EXPECT_EQ(changes[1].kind, HostCall::Kind::InstallActionSet);
    EXPECT_EQ(changes[1].number, 11);
    EXPECT_TRUE(changes[1].detail.isEmpty());
    EXPECT_FALSE(changes[1].flag);
    EXPECT_EQ(changes[2].kind, HostCall::Kind::MessageSet);
    EXPECT_EQ(changes[2].number, 7);
    EXPECT_EQ(changes[2].extra, 11);
    EXPECT_EQ(changes[2].text, message);
    EXPECT_EQ(changes[3].text, ResourceText(IDS_OUTDATED_COMPANIONS_LINK));
    EXPECT_EQ(changes[4].text, ResourceText(IDS_ALERT_LINK_TITLE));
    EXPECT_EQ(verdict->m_installState, 7);
}

TEST_F(FwcPreCheckTest, CompanionsThatAreNotListed)
{
    // Outdated, but not part of this run's work.
    Companion(QStringLiteral("DEPOTRA"), L"Depotra 5", L"5.0.0", QStringLiteral("6.0.0"), 3);
    // Outdated and examined, but without the version this installation brings.
    Companion(QStringLiteral("WRXFWLADDIN"), L"Add-in 1", L"1.0.0", QString(), 2);
    // Examined, but not installed on this machine.
    Offered(QStringLiteral("PRODCONFIGADDIN"), testsupport::NewGuid(), QStringLiteral("9.0.0"), 4);
    // Examined, installed, and newer by number although older by text.
    Companion(QStringLiteral("TARVENA_SCANSUITE"), L"Scan Suite", L"10.0.1", QStringLiteral("9.0.0"), 5);
    CProduct* verdict = setup.AddProduct(QStringLiteral("FWCPRECHECK"));

    EXPECT_TRUE(fwcPreCheck(nullptr, main));

    const std::vector<HostCall> changes = Changes();
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].kind, HostCall::Kind::InstallStateSet);
    EXPECT_EQ(changes[0].number, 1);
    EXPECT_EQ(changes[1].kind, HostCall::Kind::InstallActionSet);
    EXPECT_EQ(changes[1].number, 6);
    EXPECT_FALSE(verdict->Message().has_value());
}

TEST_F(FwcPreCheckTest, WithoutTheVerdictProductNothingIsSet)
{
    CProduct* viewer = Companion(QStringLiteral("DWGVIEWER"), L"DWG Viewer 8", L"8.0.0", QStringLiteral("9.0.0"), 2);

    EXPECT_TRUE(fwcPreCheck(nullptr, main));

    EXPECT_TRUE(Changes().empty());
    EXPECT_FALSE(viewer->Message().has_value());
    // The companion was still looked at: the list is computed even when nobody receives it.
    bool versionRead = false;
    for (const HostCall& call : Journal().Calls(HostCall::Kind::PropertyRead))
        versionRead |= call.product == QStringLiteral("DWGVIEWER") && call.text == QStringLiteral("ProductVersion");
    EXPECT_TRUE(versionRead);
    EXPECT_TRUE(fwcPreCheck(nullptr, nullptr));
}

}  // namespace
}  // namespace formwelltest
