#include "checks/CatalogBrowserRules.h"

#include "checks/NoticeRecord.h"

namespace wiraxui {

namespace {

// "sentence;address": a sentence of more than four characters replaces the message, an address
// replaces the link. Everything else keeps its default.
CatalogNoticeChoice ChooseFromPieces(const std::wstring& parameter)
{
    CatalogNoticeChoice choice;
    if (parameter.find(L';') == std::wstring::npos)
        return choice;
    const std::vector<std::wstring> pieces = SplitNoticeParameter(parameter);
    if (!pieces.empty()) {
        const std::wstring& first = pieces[0];
        if (!first.empty() && !BeginsWithIgnoringCase(first, L"http") && first.size() > 4) {
            choice.message = CatalogMessage::Parameter;
            choice.ownMessage = first;
        }
    }
    if (pieces.size() > 1) {
        const std::wstring& second = pieces[1];
        if (second.size() >= 4 && BeginsWithIgnoringCase(second, L"http"))
            choice.ownLink = second;
    }
    return choice;
}

}  // namespace

CatalogNoticeChoice ChooseWizardCatalogNotice(const std::wstring& parameter)
{
    if (parameter.size() < 4)
        return CatalogNoticeChoice();
    if (BeginsWithIgnoringCase(parameter, L"prds")) {
        CatalogNoticeChoice choice;
        choice.message = CatalogMessage::Prds;
        return choice;
    }
    return ChooseFromPieces(parameter);
}

CatalogNoticeChoice ChooseDeploymentCatalogNotice(const std::wstring& parameter)
{
    if (parameter.empty())
        return CatalogNoticeChoice();
    // A parameter shorter than four characters is compared whole, so it never matches.
    if (BeginsWithIgnoringCase(parameter, L"prds")) {
        CatalogNoticeChoice choice;
        choice.message = CatalogMessage::Prds;
        return choice;
    }
    return ChooseFromPieces(parameter);
}

}  // namespace wiraxui
