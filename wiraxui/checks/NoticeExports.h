// The notices the host shows around the installation.
#pragma once

#include "checks/NoticeRecord.h"
#include "host/HostRecord.h"

#include <HostVocabulary.h>
#include <string>

class CProduct;

extern "C" {
bool DisplayDepotraMessage(wiraxui::HostRecord* hostRecord, wiraxui::NoticeRecord* notice);
bool CBCatalogBrowserMessage(wiraxui::HostRecord* hostRecord, wiraxui::NoticeRecord* notice);
bool VCCatalogBrowserMessage(int setupMode, CProduct* product, int unused1, int unused2, const wchar_t* parameter);
bool VCSQLMigrationMessage(int setupMode, CProduct* product, int* stateResult, int* actionResult);
}

namespace wiraxui {

// The notice parameter of the host's record, a wide text (none reads as empty).
inline std::wstring NoticeParameterOf(const HostRecord* record)
{
    const auto* parameter = record ? reinterpret_cast<const wchar_t*>(record[PageRecord::kNoticeParameter]) : nullptr;
    return parameter ? parameter : L"";
}

}  // namespace wiraxui
