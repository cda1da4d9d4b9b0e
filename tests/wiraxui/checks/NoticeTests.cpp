// The four notices through the plug-in's exports: the record the host passes, the product
// messages, and the previous version installed for real.
#include "ChecksFixture.h"
#include "MsiProducts.h"

#include <HostRes.h>
#include <WiraxUIRes.h>

#include <cstring>
#include <memory>

namespace checkstest {
namespace {

using wiraxui::NoticeRecord;

constexpr wchar_t kSentinel = static_cast<wchar_t>(0x2A2A);

class NoticeTest : public ChecksTest {
protected:
    void SetUp() override
    {
        ChecksTest::SetUp();
        depotra = Export<RecordNotice>("DisplayDepotraMessage");
        catalog = Export<RecordNotice>("CBCatalogBrowserMessage");
        deploymentCatalog = Export<ProductNotice>("VCCatalogBrowserMessage");
        sqlMigration = Export<ProductCheck>("VCSQLMigrationMessage");
        Reset();
    }

    // A record the host has not yet filled: every byte set, so that untouched fields show.
    void Reset() { std::memset(record.get(), 0x2A, sizeof(NoticeRecord)); }
    bool Call(RecordNotice* notice, const std::wstring& parameter)
    {
        Reset();
        this->parameter = parameter;
        host.record[PageRecord::kNoticeParameter] = reinterpret_cast<uintptr_t>(this->parameter.c_str());
        return notice(host.record.data(), record.get());
    }
    static bool Untouched(const wchar_t* field) { return field[0] == kSentinel && field[1023] == kSentinel; }
    static std::wstring Res(UINT id) { return LibraryString(L"WiraxUIRes.dll", id); }

    RecordNotice* depotra = nullptr;
    RecordNotice* catalog = nullptr;
    ProductNotice* deploymentCatalog = nullptr;
    ProductCheck* sqlMigration = nullptr;
    std::unique_ptr<NoticeRecord> record = std::make_unique<NoticeRecord>();
    std::wstring parameter;
};

TEST_F(NoticeTest, DepotraShowsNothingForNullFirstPieceOrEmptyParameter)
{
    for (const wchar_t* value : {L"NULL", L"NULL;http://depotra.example", L"", L"   "}) {
        EXPECT_TRUE(Call(depotra, value));
        EXPECT_EQ(record->kind, 0) << testing::PrintToString(std::wstring(value));
        EXPECT_TRUE(Untouched(record->message));
        EXPECT_TRUE(Untouched(record->link));
    }
}

TEST_F(NoticeTest, DepotraTakesAnHttpLastPieceAsItsLinkCaseSensitively)
{
    EXPECT_TRUE(Call(depotra, L"null;a"));
    EXPECT_EQ(record->kind, 1);
    EXPECT_EQ(std::wstring(record->message), Res(IDS_DEPOTRA_MESSAGE));
    EXPECT_FALSE(Res(IDS_DEPOTRA_MESSAGE).empty());
    EXPECT_TRUE(Untouched(record->linkTitle));

    EXPECT_TRUE(Call(depotra, L"Depotra 2027; 2027.1 ; http://depotra.example/get "));
    EXPECT_EQ(record->kind, 1);
    EXPECT_EQ(std::wstring(record->message), Res(IDS_DEPOTRA_MESSAGE));
    EXPECT_EQ(std::wstring(record->linkTitle), Res(IDS_DEPOTRA_LINK_TITLE));
    EXPECT_EQ(std::wstring(record->link), L"http://depotra.example/get");
    EXPECT_TRUE(Untouched(record->firstText));

    EXPECT_TRUE(Call(depotra, L"Depotra 2027;2027.1;HTTP://depotra.example/get"));
    EXPECT_EQ(record->kind, 1);
    EXPECT_EQ(std::wstring(record->message), Res(IDS_DEPOTRA_MESSAGE));
    EXPECT_TRUE(Untouched(record->linkTitle));
    EXPECT_TRUE(Untouched(record->link));
}

TEST_F(NoticeTest, LongLinkIsCutTo1023CharactersPlusTerminator)
{
    const std::wstring link = L"http://" + std::wstring(5000, L'x');
    EXPECT_TRUE(Call(depotra, L"Depotra;" + link));
    EXPECT_EQ(std::wstring(record->link), link.substr(0, 1023));
    EXPECT_EQ(record->link[1023], L'\0');

    EXPECT_TRUE(Call(catalog, std::wstring(5000, L'S') + L";" + link));
    EXPECT_EQ(std::wstring(record->message), std::wstring(1023, L'S'));
    EXPECT_EQ(std::wstring(record->link), link.substr(0, 1023));
}

TEST_F(NoticeTest, CatalogBrowserRecordFollowsTheParameter)
{
    EXPECT_TRUE(Call(catalog, L"PRDS-2027"));
    EXPECT_EQ(record->kind, 1);
    EXPECT_EQ(std::wstring(record->message), Res(IDS_CATALOG_PRDS_MESSAGE));
    EXPECT_EQ(std::wstring(record->linkTitle), Res(IDS_CATALOG_LINK_TITLE));
    EXPECT_EQ(std::wstring(record->link), Res(IDS_CATALOG_LINK));
    EXPECT_TRUE(Untouched(record->firstText));

    EXPECT_TRUE(Call(catalog, L"New catalogs are online; https://catalogs.example"));
    EXPECT_EQ(std::wstring(record->message), L"New catalogs are online");
    EXPECT_EQ(std::wstring(record->linkTitle), Res(IDS_CATALOG_LINK_TITLE));
    EXPECT_EQ(std::wstring(record->link), L"https://catalogs.example");

    EXPECT_TRUE(Call(catalog, L"Four;https://catalogs.example"));
    EXPECT_EQ(std::wstring(record->message), Res(IDS_CATALOG_MESSAGE));
    EXPECT_EQ(std::wstring(record->link), L"https://catalogs.example");

    EXPECT_TRUE(Call(catalog, L"abc"));
    EXPECT_EQ(record->kind, 1);
    EXPECT_EQ(std::wstring(record->message), Res(IDS_CATALOG_MESSAGE));
    EXPECT_EQ(std::wstring(record->link), Res(IDS_CATALOG_LINK));
}

TEST_F(NoticeTest, DeploymentCatalogNoticeIsAProductMessageOnlyInDeployments)
{
    for (int mode : {0, 1, 2, 3, 7})
        EXPECT_TRUE(deploymentCatalog(mode, product, 0, 0, L"prds"));
    EXPECT_TRUE(product->Messages().empty());

    EXPECT_TRUE(deploymentCatalog(4, product, 0, 0, L"Prds"));
    EXPECT_EQ(Message(1), Res(IDS_CATALOG_PRDS_MESSAGE) + L"\n\n" + Res(IDS_CATALOG_LINK));
    EXPECT_EQ(product->Messages().at(1).title, L"");
    EXPECT_TRUE(deploymentCatalog(6, product, 0, 0, L"New catalogs are online;http://c.example"));
    EXPECT_EQ(Message(1), L"New catalogs are online\n\nhttp://c.example");
    EXPECT_TRUE(deploymentCatalog(5, product, 0, 0, nullptr));
    EXPECT_EQ(Message(1), Res(IDS_CATALOG_MESSAGE) + L"\n\n" + Res(IDS_CATALOG_LINK));
}

TEST_F(NoticeTest, SqlMigrationRefusesOnlyWhileThePreviousVersionIsInstalled)
{
    EXPECT_TRUE(sqlMigration(2, product, &state, &action));
    EXPECT_EQ(state, kUntouched);
    EXPECT_EQ(action, kUntouched);

    testsupport::InstalledMsiProduct previous({testsupport::NewGuid(), L"Tarvena Wirax 2026", L"26.0.0"});
    ASSERT_TRUE(previous.Installed()) << testsupport::Narrow(previous.Failure());
    product->SeedProperty(L"PREVPRODUCTCODE", previous.Product().productCode);
    EXPECT_TRUE(sqlMigration(5, product, &state, &action));
    EXPECT_EQ(state, kUntouched);
    EXPECT_TRUE(product->Messages().empty());

    EXPECT_FALSE(sqlMigration(2, product, &state, &action));
    EXPECT_EQ(state, 7);
    EXPECT_EQ(action, 11);
    EXPECT_EQ(Message(128), LibraryString(L"HostRes.dll", IDS_PREVIOUS_VERSION_INSTALLED));
    EXPECT_FALSE(Message(128).empty());
    EXPECT_EQ(product->Messages().at(128).title, L"");
}

}  // namespace
}  // namespace checkstest
