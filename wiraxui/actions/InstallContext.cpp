#include "actions/InstallContext.h"

#include <PluginTrace.h>
#include <SetupHost.h>

namespace wiraxui::actions {

namespace {
constexpr int kTextMessage = 9;
constexpr int kRecordMessage = 12;
}  // namespace

void ProgressReporter::Phase() { m_setup.ProgressUpdate(kTextMessage, L"", nullptr); }

void ProgressReporter::Item(const std::wstring& name) { m_setup.ProgressUpdate(kTextMessage, name.c_str(), nullptr); }

void ProgressReporter::Reset(int total)
{
    ProgressMessage record;
    record.kind = 0;
    record.value = total;
    m_setup.ProgressUpdate(kRecordMessage, L"", &record);
}

void ProgressReporter::Step(int size)
{
    ProgressMessage record;
    record.kind = 2;
    record.value = size;
    record.step = 1;
    m_setup.ProgressUpdate(kRecordMessage, L"", &record);
}

int InstallContext::ReportFailure(const std::wstring& text)
{
    progress.Item(text);
    plugins::Trace(L"failed", text);
    return kFailed;
}

bool InstallContext::Cancelled() const { return setup.m_cancelFlag; }

int InstallContext::SelectedCount() const
{
    int count = 0;
    for (int flag : selected)
        count += flag == 1;
    return count;
}

void Pause() { Sleep(1000); }

}  // namespace wiraxui::actions
