// CustomPlatformCheck: hands the host a notice for 64-bit Windows 8 and 8.1 workstations.
#include "exports/ExportGuard.h"
#include "exports/Exports.h"

#include "core/PlatformRules.h"
#include "host/ResourceTexts.h"
#include "platform/SystemPlatform.h"

#include "FormwellUIRes.h"

namespace formwell {
namespace {

void FillPlatformNotice(PlatformNotice* notice)
{
    const bool applies = PlatformNoticeApplies(SystemIs64Bit(), IsWorkstationVersion);
    HMODULE texts = KeptFormwellLibrary();
    if (!applies || !notice)
        return;
    notice->kind = kPlatformNoticeKind;
    LoadText(texts, IDS_PLATFORM_NOTICE_HEADING, notice->heading, kTextBufferSize);
    LoadText(texts, IDS_PLATFORM_NOTICE_MESSAGE, notice->message, kTextBufferSize);
    LoadText(texts, IDS_PLATFORM_NOTICE_LINK_TITLE, notice->linkTitle, kTextBufferSize);
    LoadText(texts, IDS_PLATFORM_NOTICE_LINK, notice->link, kTextBufferSize);
}

}  // namespace
}  // namespace formwell

extern "C" bool CustomPlatformCheck(void* /*hostValue*/, formwell::PlatformNotice* notice)
{
    return formwell::GuardedExport(L"CustomPlatformCheck", true, [&] {
        formwell::FillPlatformNotice(notice);
        return true;
    });
}
