// The notices the host shows around the installation.
#pragma once

#include "checks/NoticeRecord.h"
#include "host/HostRecord.h"

#include <string>

class CProduct;

extern "C" {
bool DisplayDepotraMessage(wiraxui::HostRecord* hostRecord, wiraxui::NoticeRecord* notice);
bool CBCatalogBrowserMessage(wiraxui::HostRecord* hostRecord, wiraxui::NoticeRecord* notice);
bool VCCatalogBrowserMessage(int setupMode, CProduct* product, int unused1, int unused2, const wchar_t* parameter);
bool VCSQLMigrationMessage(int setupMode, CProduct* product, int* stateResult, int* actionResult);
}

namespace wiraxui {

// Word 1 of the host's record: the notice parameter, a wide text (none reads as empty).
constexpr size_t kRecordNoticeParameter = 1;

inline std::wstring NoticeParameterOf(const HostRecord* record)
{
    const auto* parameter = record ? reinterpret_cast<const wchar_t*>(record[kRecordNoticeParameter]) : nullptr;
    return parameter ? parameter : L"";
}

}  // namespace wiraxui
