#include "actions/InstallContext.h"

#include <PluginTrace.h>
#include <SetupHost.h>

namespace wiraxui::actions {

void ProgressReporter::Phase() { m_setup.ProgressUpdate(Setup::PROGRESS_TEXT, L"", nullptr); }

void ProgressReporter::Item(const std::wstring& name) { m_setup.ProgressUpdate(Setup::PROGRESS_TEXT, name.c_str(), nullptr); }

void ProgressReporter::Reset(int total)
{
    ProgressMessage record;
    record.kind = Setup::PROGRESS_RESET;
    record.value = total;
    m_setup.ProgressUpdate(Setup::PROGRESS_RECORD, L"", &record);
}

void ProgressReporter::Step(int size)
{
    ProgressMessage record;
    record.kind = Setup::PROGRESS_STEP;
    record.value = size;
    record.step = 1;
    m_setup.ProgressUpdate(Setup::PROGRESS_RECORD, L"", &record);
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
