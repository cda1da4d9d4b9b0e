#include "SetupHost.h"

void CHostJournal::Add(HostEvent event) { m_events.push_back(std::move(event)); }

CSetupManager::CSetupManager() = default;
CSetupManager::~CSetupManager() = default;

CProduct* CSetupManager::FindProduct(const wchar_t* key) const
{
    if (!key)
        return nullptr;
    for (const auto& product : m_products) {
        if (_wcsicmp(product->Key().c_str(), key) == 0)
            return product.get();
    }
    return nullptr;
}

CProduct* CSetupManager::AddProduct(const std::wstring& key)
{
    if (CProduct* existing = FindProduct(key.c_str()))
        return existing;
    m_products.push_back(std::make_unique<CProduct>(this, key));
    return m_products.back().get();
}

UINT CSetupManager::SetMsiProperty(const wchar_t* name, const wchar_t* value, bool flag)
{
    if (!name)
        return ERROR_INVALID_PARAMETER;
    SetProperty(name, value);
    (void)flag;
    return ERROR_SUCCESS;
}

void CSetupManager::SetProperty(const wchar_t* name, const wchar_t* value)
{
    if (!name)
        return;
    HostEvent event;
    event.kind = HostEvent::Kind::InstallPropertySet;
    event.name = name;
    auto found = m_installProperties.find(name);
    event.hadBefore = found != m_installProperties.end();
    if (event.hadBefore)
        event.before = found->second;
    event.after = value ? value : L"";
    m_installProperties[name] = event.after;
    m_journal.Add(std::move(event));
}

std::wstring CSetupManager::InstallProperty(const std::wstring& name) const
{
    auto found = m_installProperties.find(name);
    return found == m_installProperties.end() ? std::wstring() : found->second;
}

void CSetupManager::EnableCancelling(bool enable)
{
    HostEvent event;
    event.kind = HostEvent::Kind::CancellingEnabled;
    event.number = enable;
    m_journal.Add(std::move(event));
}

void CSetupManager::OnCancel(bool confirmed)
{
    HostEvent event;
    event.kind = HostEvent::Kind::CancelConfirmed;
    event.number = confirmed;
    m_journal.Add(std::move(event));
}

void CSetupManager::CancelDeployment()
{
    HostEvent event;
    event.kind = HostEvent::Kind::DeploymentCancelled;
    m_journal.Add(std::move(event));
}

int CSetupManager::ResetSetupMode()
{
    HostEvent event;
    event.kind = HostEvent::Kind::SetupModeReset;
    event.number = m_resetSetupModeResult;
    m_journal.Add(std::move(event));
    return m_resetSetupModeResult;
}

std::wstring CSetupManager::GetHostResPath() const { return m_hostResPath; }
std::wstring CSetupManager::GetSourceResPath() const { return m_sourceResPath; }
bool CSetupManager::IsDisplayMUIUninstallDialog() const
{
    HostEvent event;
    event.name = L"IsDisplayMUIUninstallDialog";
    event.number = m_displayMUIUninstallDialog;
    m_journal.Add(std::move(event));
    return m_displayMUIUninstallDialog;
}

bool CUiManager::IsWindowPosSaved() const { return m_saved; }
RECT CUiManager::GetWindowPos() const { return m_rect; }
void CUiManager::SetWindowPos(const RECT& rect)
{
    m_rect = rect;
    m_saved = true;
}
