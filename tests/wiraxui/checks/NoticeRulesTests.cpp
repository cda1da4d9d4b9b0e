// How a notice parameter is read and how texts land in the host's record, without host or platform.
#include "checks/CatalogBrowserRules.h"
#include "checks/NoticeRecord.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace wiraxui {
namespace {

using Pieces = std::vector<std::wstring>;

TEST(NoticeParameter, PiecesAreTrimmedInnerEmptyPiecesCountTrailingEmptyPieceDoesNot)
{
    EXPECT_EQ(SplitNoticeParameter(L"one"), (Pieces{L"one"}));
    EXPECT_EQ(SplitNoticeParameter(L"  a sentence ; http://x.example/a  "), (Pieces{L"a sentence", L"http://x.example/a"}));
    EXPECT_EQ(SplitNoticeParameter(L"a;;b"), (Pieces{L"a", L"", L"b"}));
    EXPECT_EQ(SplitNoticeParameter(L";a"), (Pieces{L"", L"a"}));
    EXPECT_EQ(SplitNoticeParameter(L"a;"), (Pieces{L"a"}));
    EXPECT_EQ(SplitNoticeParameter(L"a;;"), (Pieces{L"a", L""}));
    EXPECT_EQ(SplitNoticeParameter(L"a; \t"), (Pieces{L"a"}));
    EXPECT_TRUE(SplitNoticeParameter(L"").empty());
    EXPECT_TRUE(SplitNoticeParameter(L"   ").empty());
    EXPECT_EQ(SplitNoticeParameter(L";"), (Pieces{L""}));
}

TEST(NoticeRecordText, LongTextIsCutTo1023CharactersAndTheNextFieldIsUntouched)
{
    auto record = std::make_unique<NoticeRecord>();
    std::memset(record.get(), 0x5A, sizeof(NoticeRecord));
    CopyNoticeText(record->message, std::wstring(5000, L'm'));
    EXPECT_EQ(std::wstring(record->message), std::wstring(1023, L'm'));
    EXPECT_EQ(record->message[1023], L'\0');
    EXPECT_EQ(record->linkTitle[0], static_cast<wchar_t>(0x5A5A));
    EXPECT_EQ(record->firstText[1023], static_cast<wchar_t>(0x5A5A));

    CopyNoticeText(record->link, std::wstring(1023, L'l'));
    EXPECT_EQ(std::wstring(record->link).size(), 1023u);
    CopyNoticeText(record->link, L"");
    EXPECT_EQ(record->link[0], L'\0');
}

TEST(NoticeRecordText, PrefixTestsWithAndWithoutCase)
{
    EXPECT_TRUE(BeginsWith(L"http://a", L"http"));
    EXPECT_FALSE(BeginsWith(L"HTTP://a", L"http"));
    EXPECT_FALSE(BeginsWith(L"htt", L"http"));
    EXPECT_TRUE(BeginsWithIgnoringCase(L"HTTPS://a", L"http"));
    EXPECT_TRUE(BeginsWithIgnoringCase(L"PrDs", L"prds"));
    EXPECT_FALSE(BeginsWithIgnoringCase(L"prd", L"prds"));
}

TEST(CatalogNotice, PrdsInAnyCaseChoosesItsOwnMessageAndKeepsTheDefaultLink)
{
    for (const wchar_t* parameter : {L"PRDS", L"prds;http://x.example", L"PrDs server"}) {
        const CatalogNoticeChoice wizard = ChooseWizardCatalogNotice(parameter);
        EXPECT_EQ(wizard.message, CatalogMessage::Prds);
        EXPECT_TRUE(wizard.ownLink.empty());
        EXPECT_EQ(ChooseDeploymentCatalogNotice(parameter).message, CatalogMessage::Prds);
    }
    EXPECT_EQ(ChooseDeploymentCatalogNotice(L"prd").message, CatalogMessage::Default);
}

TEST(CatalogNotice, SentenceAndAddressReplaceMessageAndLink)
{
    const CatalogNoticeChoice choice = ChooseWizardCatalogNotice(L"Browse the new catalogs; https://x.example/cat");
    EXPECT_EQ(choice.message, CatalogMessage::Parameter);
    EXPECT_EQ(choice.ownMessage, L"Browse the new catalogs");
    EXPECT_EQ(choice.ownLink, L"https://x.example/cat");

    const CatalogNoticeChoice deployment = ChooseDeploymentCatalogNotice(L"Browse the new catalogs;HTTP://x.example");
    EXPECT_EQ(deployment.ownMessage, L"Browse the new catalogs");
    EXPECT_EQ(deployment.ownLink, L"HTTP://x.example");
}

TEST(CatalogNotice, PiecesThatDoNotQualifyKeepTheirDefaults)
{
    // Four characters are not more than four: only the link changes.
    CatalogNoticeChoice choice = ChooseWizardCatalogNotice(L"Four;http://x.example");
    EXPECT_EQ(choice.message, CatalogMessage::Default);
    EXPECT_EQ(choice.ownLink, L"http://x.example");

    // A first piece that is an address is no message; a second piece that is none is no link.
    choice = ChooseWizardCatalogNotice(L"http://first.example;Some words");
    EXPECT_EQ(choice.message, CatalogMessage::Default);
    EXPECT_TRUE(choice.ownLink.empty());

    // Without ";" a sentence is not taken.
    choice = ChooseWizardCatalogNotice(L"A whole sentence without separator");
    EXPECT_EQ(choice.message, CatalogMessage::Default);

    // Shorter than four characters: every default, in both forms.
    for (const wchar_t* parameter : {L"a;b", L"", L";;"}) {
        choice = ChooseWizardCatalogNotice(parameter);
        EXPECT_EQ(choice.message, CatalogMessage::Default);
        EXPECT_TRUE(choice.ownLink.empty());
        EXPECT_EQ(ChooseDeploymentCatalogNotice(parameter).message, CatalogMessage::Default);
    }

    // An empty first piece keeps the message; the address in the second piece still counts.
    choice = ChooseWizardCatalogNotice(L";http://x.example");
    EXPECT_EQ(choice.message, CatalogMessage::Default);
    EXPECT_EQ(choice.ownLink, L"http://x.example");
    // An address of fewer than four characters is none.
    EXPECT_TRUE(ChooseWizardCatalogNotice(L"Long enough;htt").ownLink.empty());
}

}  // namespace
}  // namespace wiraxui
