#include "SetupHost.h"

#include <shlwapi.h>

CSetupContext::CSetupContext()
{
    wchar_t path[MAX_PATH] = L"";
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH && PathRemoveFileSpecW(path))
        m_resourceFolder = path;
}

CSetupContext* CSetupContext::Instance()
{
    static CSetupContext context;
    return &context;
}

std::wstring CSetupContext::GetResDllPath(const wchar_t* name) const
{
    wchar_t path[MAX_PATH] = L"";
    if (!name || !PathCombineW(path, m_resourceFolder.c_str(), name))
        return std::wstring();
    return path;
}

void CSetupContext::SetResourceFolder(const std::wstring& folder) { m_resourceFolder = folder; }
std::wstring CSetupContext::ResourceFolder() const { return m_resourceFolder; }
