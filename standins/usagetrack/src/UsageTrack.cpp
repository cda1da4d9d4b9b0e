#include "UsageTrack.h"

#include <mutex>

namespace UsageTrack {

namespace {

std::mutex g_lock;
std::vector<std::wstring> g_reports;
ReportListener g_listener = nullptr;

void Report(std::wstring line)
{
    ReportListener listener = nullptr;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        g_reports.push_back(line);
        listener = g_listener;
    }
    // Outside the lock: a listener may read the journal.
    if (listener)
        listener(line);
}

std::wstring Text(const wchar_t* text) { return text ? text : L"(null)"; }

}  // namespace

void Initialize(bool flag, const wchar_t* whitelistPath)
{
    Report(L"Initialize " + std::to_wstring(flag) + L" " + Text(whitelistPath));
}

void Destroy() { Report(L"Destroy"); }
void wpPageInit(const wchar_t* pageName) { Report(L"wpPageInit " + Text(pageName)); }
void wpPageDestroy(const wchar_t* pageName) { Report(L"wpPageDestroy " + Text(pageName)); }

void wpButtonClicked(const wchar_t* button, int buttonType, bool flag)
{
    Report(L"wpButtonClicked " + Text(button) + L" " + std::to_wstring(buttonType) + L" " + std::to_wstring(flag));
}

void wpDocumentationLinkClicked() { Report(L"wpDocumentationLinkClicked"); }
void wpSupportLinkClicked() { Report(L"wpSupportLinkClicked"); }
void wpRequirementLinkClicked() { Report(L"wpRequirementLinkClicked"); }

std::vector<std::wstring> Reports()
{
    std::lock_guard<std::mutex> lock(g_lock);
    return g_reports;
}

void ClearReports()
{
    std::lock_guard<std::mutex> lock(g_lock);
    g_reports.clear();
}

void SetReportListener(ReportListener listener)
{
    std::lock_guard<std::mutex> lock(g_lock);
    g_listener = listener;
}

}  // namespace UsageTrack
