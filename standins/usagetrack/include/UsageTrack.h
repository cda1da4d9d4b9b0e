// The host's usage reporting: pages report what the user did, fire-and-forget.
//
// The stand-in keeps every report in a journal, one line each, so that a runner or a test can
// see what a page reported.
#pragma once

#include <string>
#include <vector>

#ifdef USAGETRACK_BUILD
#define USAGETRACK_API __declspec(dllexport)
#else
#define USAGETRACK_API __declspec(dllimport)
#endif

namespace UsageTrack {

USAGETRACK_API void Initialize(bool flag, const wchar_t* whitelistPath);
USAGETRACK_API void Destroy();
USAGETRACK_API void wpPageInit(const wchar_t* pageName);
USAGETRACK_API void wpPageDestroy(const wchar_t* pageName);
// button: "First", "Back", "Next" or "Cancel".
USAGETRACK_API void wpButtonClicked(const wchar_t* button, int buttonType, bool flag);
USAGETRACK_API void wpDocumentationLinkClicked();
USAGETRACK_API void wpSupportLinkClicked();
USAGETRACK_API void wpRequirementLinkClicked();

// The stand-in's journal: "wpButtonClicked Next 0 0", "Initialize 0 C:\Setup\whitelist.xml", ...
USAGETRACK_API std::vector<std::wstring> Reports();
USAGETRACK_API void ClearReports();

// Called with each report as it arrives, on the reporting thread, after it is in the journal,
// so that a runner can place it among the other things a page does. Null: no one listens.
using ReportListener = void (*)(const std::wstring& report);
USAGETRACK_API void SetReportListener(ReportListener listener);

}  // namespace UsageTrack
