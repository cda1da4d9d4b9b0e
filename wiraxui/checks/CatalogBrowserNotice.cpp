// The catalog browser notice: in the host's wizard as a notice record, in a deployment as a
// product message.
#include "checks/CatalogBrowserRules.h"
#include "checks/CheckResults.h"
#include "checks/NoticeExports.h"
#include "checks/NoticeTexts.h"
#include "exports/ExportGuard.h"

#include <SetupHost.h>
#include <WiraxUIRes.h>

namespace wiraxui {

namespace {

struct CatalogTexts {
    std::wstring message;
    std::wstring linkTitle;
    std::wstring link;
};

CatalogTexts ResolveChoice(const CatalogNoticeChoice& choice, const std::vector<std::wstring>& loaded)
{
    // loaded: default message, "prds" message, link title, default link
    CatalogTexts texts{loaded[0], loaded[2], loaded[3]};
    if (choice.message == CatalogMessage::Prds)
        texts.message = loaded[1];
    else if (choice.message == CatalogMessage::Parameter)
        texts.message = choice.ownMessage;
    if (!choice.ownLink.empty())
        texts.link = choice.ownLink;
    return texts;
}

std::vector<std::wstring> LoadCatalogTexts()
{
    return LoadNoticeTexts(L"WIRAXUIRES.DLL", {IDS_CATALOG_MESSAGE, IDS_CATALOG_PRDS_MESSAGE, IDS_CATALOG_LINK_TITLE,
                                               IDS_CATALOG_LINK});
}

void FillWizardNotice(const std::wstring& parameter, NoticeRecord* record)
{
    if (!record)
        return;
    const CatalogTexts texts = ResolveChoice(ChooseWizardCatalogNotice(parameter), LoadCatalogTexts());
    record->kind = kNoticeShow;
    CopyNoticeText(record->message, texts.message);
    CopyNoticeText(record->linkTitle, texts.linkTitle);
    CopyNoticeText(record->link, texts.link);
}

void PostDeploymentNotice(int setupMode, CProduct* product, const std::wstring& parameter)
{
    if (!Setup::IsDeploymentMode(setupMode))
        return;
    const CatalogTexts texts = ResolveChoice(ChooseDeploymentCatalogNotice(parameter), LoadCatalogTexts());
    if (product)
        product->SetMessage(Setup::MESSAGE_NOTICE, (texts.message + L"\n\n" + texts.link).c_str(), L"");
}

}  // namespace

}  // namespace wiraxui

bool CBCatalogBrowserMessage(wiraxui::HostRecord* hostRecord, wiraxui::NoticeRecord* notice)
{
    return wiraxui::GuardedExport(L"CBCatalogBrowserMessage", true, [&] {
        wiraxui::FillWizardNotice(wiraxui::NoticeParameterOf(hostRecord), notice);
        return true;
    });
}

bool VCCatalogBrowserMessage(int setupMode, CProduct* product, int, int, const wchar_t* parameter)
{
    return wiraxui::GuardedExport(L"VCCatalogBrowserMessage", true, [&] {
        wiraxui::PostDeploymentNotice(setupMode, product, parameter ? parameter : L"");
        return true;
    });
}
