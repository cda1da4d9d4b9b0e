#include "AppMgrHost.h"

#include <shlwapi.h>

CSetupContext::CSetupContext()
{
    wchar_t path[MAX_PATH] = L"";
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH && PathRemoveFileSpecW(path))
        m_resourcePath = QString::fromWCharArray(path);
}

CSetupContext* CSetupContext::Instance()
{
    static CSetupContext context;
    return &context;
}

QString CSetupContext::GetResourcePath() const { return m_resourcePath; }
void CSetupContext::SetResourcePath(const QString& folder) { m_resourcePath = folder; }

void CSetupContext::SetSSE2Answer(std::optional<bool> answer) { m_sse2Answer = answer; }
bool CSetupContext::SSE2Answer() const
{
    return m_sse2Answer ? *m_sse2Answer : IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) != FALSE;
}

CHostJournal& CSetupContext::Journal() { return m_journal; }
