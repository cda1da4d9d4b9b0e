// LpEval against real language packs: advertised or installed Windows Installer products.
#include "FormwellFixture.h"
#include "MsiProducts.h"

#include "FormwellUIRes.h"

#include <msi.h>

namespace formwelltest {
namespace {

using testsupport::AdvertisedMsiProduct;
using testsupport::InstalledMsiProduct;

const wchar_t kFormwellBase[] = L"{7F4DD591-2564-0001-0000-7107D70F3DB4}";
const wchar_t kFormwellLtBase[] = L"{7F4DD591-2532-0002-0000-7107D70F3DB4}";

// The code of a family's language pack for one language.
std::wstring PackCode(const wchar_t* baseCode, int language)
{
    wchar_t group[8] = L"";
    swprintf(group, 8, L"%04d", language);
    std::wstring code = baseCode;
    return code.replace(20, 4, group);
}

const int kLanguages[] = {1033, 2052, 1028, 1029, 1031, 3082, 1036, 1040, 1041, 1042, 1045, 1046, 1049};

class LpEvalTest : public FormwellTest {
protected:
    void SetUp() override
    {
        FormwellTest::SetUp();
        lpEval = Export<formwell::LpEvalFunction>("LpEval");
        ASSERT_NE(lpEval, nullptr);
        // Packs another run left behind would decide these tests.
        for (const wchar_t* base : {kFormwellBase, kFormwellLtBase}) {
            for (int language : kLanguages)
                ASSERT_TRUE(testsupport::RemoveMsiProduct(PackCode(base, language)));
        }
    }

    CProduct* AddBaseProduct(const std::wstring& globalCode, const std::wstring& productCode)
    {
        CProduct* product = setup.AddProduct(QStringLiteral("FORMWELL"));
        product->SetMsiProperty(QStringLiteral("GLOBPRODUCTCODE"), QString::fromStdWString(globalCode));
        product->SetMsiProperty(QStringLiteral("ProductCode"), QString::fromStdWString(productCode));
        product->m_installState = Setup::INSTALLSTATE_AVAILABLE;
        return product;
    }

    // The five calls of a block, in the order the host receives them.
    static void ExpectBlocked(const QString& message, const QString& link, const QString& linkTitle)
    {
        const std::vector<HostCall> changes = Changes();
        ASSERT_EQ(changes.size(), 5u);
        EXPECT_EQ(changes[0].kind, HostCall::Kind::InstallStateSet);
        EXPECT_EQ(changes[0].number, 1);
        EXPECT_EQ(changes[1].kind, HostCall::Kind::InstallActionSet);
        EXPECT_EQ(changes[1].number, 11);
        EXPECT_TRUE(changes[1].detail.isEmpty()) << "no related product";
        EXPECT_FALSE(changes[1].flag);
        EXPECT_EQ(changes[2].kind, HostCall::Kind::MessageSet);
        EXPECT_EQ(changes[2].number, 7);
        EXPECT_EQ(changes[2].extra, 11);
        EXPECT_EQ(changes[2].text, message);
        EXPECT_EQ(changes[3].kind, HostCall::Kind::AlertUrlSet);
        EXPECT_EQ(changes[3].text, link);
        EXPECT_EQ(changes[4].kind, HostCall::Kind::AlertUrlTitleSet);
        EXPECT_EQ(changes[4].text, linkTitle);
    }

    formwell::LpEvalFunction* lpEval = nullptr;
};

TEST_F(LpEvalTest, AdvertisedPackBlocksTheBaseProductWithTheFamilyLink)
{
    AdvertisedMsiProduct pack({PackCode(kFormwellBase, 1041), L"Formwell Language Pack - Japanese", L"2021.0.0"});
    ASSERT_TRUE(pack.Registered()) << QString::fromStdWString(pack.Failure()).toStdString();
    ASSERT_EQ(MsiQueryProductStateW(pack.Product().productCode.c_str()), INSTALLSTATE_ADVERTISED);
    // The family is chosen without regard to case.
    CProduct* product = AddBaseProduct(QString::fromWCharArray(kFormwellBase).toLower().toStdWString(), kFormwellBase);

    EXPECT_TRUE(lpEval(nullptr, product));

    ExpectBlocked(ResourceText(IDS_LEFTOVER_LANGUAGE_PACK_HEADING) + QStringLiteral("\n\nFormwell Language Pack - Japanese"),
                  ResourceText(IDS_FORMWELL_LANGUAGE_PACK_LINK), ResourceText(IDS_ALERT_LINK_TITLE));
    EXPECT_FALSE(ResourceText(IDS_FORMWELL_LANGUAGE_PACK_LINK).isEmpty());
    EXPECT_EQ(product->m_installState, 1);
    EXPECT_EQ(product->m_installAction, 11);
}

TEST_F(LpEvalTest, InstalledPacksAreFoundInLanguageOrder)
{
    // Installed in the opposite order of the language list: the list decides which one is named.
    InstalledMsiProduct russian({PackCode(kFormwellLtBase, 1049), L"Formwell LT Language Pack - Russian", L"2021.0.0"});
    InstalledMsiProduct german({PackCode(kFormwellLtBase, 1031), L"Formwell LT Language Pack - German", L"2021.0.0"});
    ASSERT_TRUE(russian.Installed()) << QString::fromStdWString(russian.Failure()).toStdString();
    ASSERT_TRUE(german.Installed()) << QString::fromStdWString(german.Failure()).toStdString();
    ASSERT_EQ(MsiQueryProductStateW(german.Product().productCode.c_str()), INSTALLSTATE_DEFAULT);
    CProduct* product = AddBaseProduct(kFormwellLtBase, kFormwellLtBase);

    EXPECT_TRUE(lpEval(nullptr, product));

    ExpectBlocked(ResourceText(IDS_LEFTOVER_LANGUAGE_PACK_HEADING) + QStringLiteral("\n\nFormwell LT Language Pack - German"),
                  ResourceText(IDS_FORMWELLLT_LANGUAGE_PACK_LINK), ResourceText(IDS_ALERT_LINK_TITLE));
}

TEST_F(LpEvalTest, NoLeftoverPackLeavesTheProductUntouched)
{
    CProduct* product = AddBaseProduct(kFormwellBase, kFormwellBase);

    EXPECT_FALSE(lpEval(nullptr, product));

    EXPECT_TRUE(Changes().empty());
    EXPECT_EQ(product->m_installState, 1);
    EXPECT_EQ(product->m_installAction, 0);
    EXPECT_FALSE(product->Message().has_value());

    // The state asked is the product's own (an empty language), and only after both codes are read.
    std::vector<QString> asked;
    for (const HostCall& call : Journal().Calls()) {
        if (call.kind == HostCall::Kind::PropertyRead)
            asked.push_back(call.text);
        else if (call.kind == HostCall::Kind::InstallStateRead)
            asked.push_back(QStringLiteral("install state of '%1'").arg(call.text));
    }
    EXPECT_EQ(asked, (std::vector<QString>{QStringLiteral("GLOBPRODUCTCODE"), QStringLiteral("ProductCode"),
                                           QStringLiteral("install state of ''")}));
}

TEST_F(LpEvalTest, ProductsThatAreNotRefusedDespiteALeftoverPack)
{
    AdvertisedMsiProduct pack({PackCode(kFormwellBase, 1033), L"Formwell Language Pack - English", L"2021.0.0"});
    ASSERT_TRUE(pack.Registered());

    // The product evaluated is itself a language pack.
    CProduct* languagePack = AddBaseProduct(kFormwellBase, PackCode(kFormwellBase, 1036));
    EXPECT_FALSE(lpEval(nullptr, languagePack));
    // The product is not about to be installed.
    languagePack->SetMsiProperty(QStringLiteral("ProductCode"), QString::fromWCharArray(kFormwellBase));
    languagePack->m_installState = Setup::INSTALLSTATE_INSTALLED;
    EXPECT_FALSE(lpEval(nullptr, languagePack));
    // The product belongs to no known family: nothing else is even asked.
    CSetupManager other;
    CProduct* stranger = other.AddProduct(QStringLiteral("OTHER"));
    stranger->SetMsiProperty(QStringLiteral("GLOBPRODUCTCODE"), QStringLiteral("{00000000-2564-0001-0000-7107D70F3DB4}"));
    stranger->m_installState = Setup::INSTALLSTATE_AVAILABLE;
    Journal().Clear();
    EXPECT_FALSE(lpEval(nullptr, stranger));
    EXPECT_TRUE(Journal().Calls(HostCall::Kind::InstallStateRead).empty());

    EXPECT_FALSE(lpEval(nullptr, nullptr));
    EXPECT_TRUE(Changes().empty());
}

TEST_F(LpEvalTest, MissingResourceLibraryStillBlocksWithEmptyTexts)
{
    AdvertisedMsiProduct pack({PackCode(kFormwellBase, 1049), L"Formwell Language Pack - Russian", L"2021.0.0"});
    ASSERT_TRUE(pack.Registered());
    CSetupContext::Instance()->SetResourcePath(QStringLiteral("C:\\no\\such\\folder"));
    CProduct* product = AddBaseProduct(kFormwellBase, kFormwellBase);

    EXPECT_TRUE(lpEval(nullptr, product));

    ExpectBlocked(QStringLiteral("\n\nFormwell Language Pack - Russian"), QString(), QString());
}

}  // namespace
}  // namespace formwelltest
