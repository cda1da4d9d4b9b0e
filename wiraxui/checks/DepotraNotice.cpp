// The notice about the data-management product beside the electrical product.
#include "checks/NoticeExports.h"

#include "checks/NoticeRecord.h"
#include "checks/NoticeTexts.h"
#include "exports/ExportGuard.h"

#include <WiraxUIRes.h>

namespace wiraxui {

namespace {

void FillDepotraNotice(const std::wstring& parameter, NoticeRecord* record)
{
    if (!record)
        return;
    record->kind = kNoticeNothing;
    std::vector<std::wstring> pieces = SplitNoticeParameter(parameter);
    if (pieces.empty() || pieces.front() == L"NULL")
        return;
    std::wstring link;
    if (BeginsWith(pieces.back(), L"http")) {
        link = pieces.back();
        pieces.pop_back();
    }
    record->kind = kNoticeShow;
    const std::vector<std::wstring> texts = LoadNoticeTexts(L"WiraxuiRes.dll", {IDS_DEPOTRA_MESSAGE, IDS_DEPOTRA_LINK_TITLE});
    CopyNoticeText(record->message, texts[0]);
    if (!link.empty()) {
        CopyNoticeText(record->linkTitle, texts[1]);
        CopyNoticeText(record->link, link);
    }
}

}  // namespace

}  // namespace wiraxui

bool DisplayDepotraMessage(wiraxui::HostRecord* hostRecord, wiraxui::NoticeRecord* notice)
{
    return wiraxui::GuardedExport(L"DisplayDepotraMessage", true, [&] {
        wiraxui::FillDepotraNotice(wiraxui::NoticeParameterOf(hostRecord), notice);
        return true;
    });
}
