#include "pages/sqlserver/SQLServerConfigPage.h"

#include "host/Properties.h"
#include "pages/framework/PageExports.h"
#include "pages/sqlserver/SqlNames.h"
#include "util/FolderText.h"

#include <SetupHost.h>

#include <vector>

extern "C" IConfigPage* SQLServerConfigPage(wiraxui::HostRecord* record)
{
    return wiraxui::GuardedExport<IConfigPage*>(L"SQLServerConfigPage", nullptr, [&] { return wiraxui::CreateConfigPage<wiraxui::CSQLServerConfigPage>(record, L"WiraxUiRes.dll"); });
}

namespace wiraxui {

namespace {

constexpr CommandEntry<CSQLServerConfigPage> kCommands[] = {
    {IDC_SQL_ENABLE, BN_CLICKED, &CSQLServerConfigPage::OnSqlClicked},
    {IDC_SQL_WINDOWS_AUTH, BN_CLICKED, &CSQLServerConfigPage::OnWindowsAuthClicked},
    {IDC_SQL_SERVER_AUTH, BN_CLICKED, &CSQLServerConfigPage::OnServerAuthClicked},
    {IDC_SQL_SERVER, EN_CHANGE, &CSQLServerConfigPage::OnServerChanged},
    {IDC_SQL_CATALOG_DB, EN_CHANGE, &CSQLServerConfigPage::OnCatalogChanged},
    {IDC_SQL_FOOTPRINT_DB, EN_CHANGE, &CSQLServerConfigPage::OnFootprintChanged},
};

constexpr int kDetailControls[] = {IDC_SQL_SERVER, IDC_SQL_WINDOWS_AUTH, IDC_SQL_SERVER_AUTH, IDC_SQL_CATALOG_DB,
                                   IDC_SQL_FOOTPRINT_DB};

std::wstring WindowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::vector<wchar_t> text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return text.data();
}

bool SameName(const std::wstring& a, const wchar_t* b)
{
    return CompareStringOrdinal(a.c_str(), -1, b, -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

BOOL CSQLServerConfigPage::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (RouteCommand(this, kCommands, message, wParam, lParam, result))
        return TRUE;
    return CConfigPageImpl::ProcessWindowMessage(window, message, wParam, lParam, result);
}

void CSQLServerConfigPage::DoDataExchange()
{
    BindControl(IDC_SQL_ENABLE, m_sqlCheck);
    BindControl(IDC_SQL_SERVER, m_serverEdit);
    BindControl(IDC_SQL_CATALOG_DB, m_catalogEdit);
    BindControl(IDC_SQL_FOOTPRINT_DB, m_footprintEdit);
}

std::wstring CSQLServerConfigPage::PageText(UINT id) const
{
    CResourceInstanceScope scope(m_library.Module());
    return LoadResString(id);
}

void CSQLServerConfigPage::OnPageInit()
{
    // The SQL settings belong to the main product, whichever product the host opened the page for.
    m_main = m_setup ? m_setup->FindProduct(L"WIRAX_MAIN") : nullptr;
    SetWindowTextW(m_serverEdit, ReadProperty(m_main, L"WRXSQLSERVERPATH").c_str());
    ShowAuthMode(ReadProperty(m_main, L"WRXSQLAUTHMODE"));
    SetWindowTextW(m_catalogEdit, ReadProperty(m_main, L"WRXSQLDBCATALOG").c_str());
    SetWindowTextW(m_footprintEdit, ReadProperty(m_main, L"WRXSQLDBFOOTPRINT").c_str());
    m_sqlConfig = IsFlagSet(m_main, L"WRXSQLCONFIG");
    SendMessageW(m_sqlCheck, BM_SETCHECK, m_sqlConfig ? BST_CHECKED : BST_UNCHECKED, 0);
    EnableDetails(m_sqlConfig);
    ::SetFocus(m_sqlCheck);
}

void CSQLServerConfigPage::EnableDetails(bool enable)
{
    for (int id : kDetailControls)
        EnableWindow(GetDlgItem(m_hWnd, id), enable);
}

void CSQLServerConfigPage::ShowAuthMode(const std::wstring& mode)
{
    CheckRadioButton(m_hWnd, IDC_SQL_WINDOWS_AUTH, IDC_SQL_SERVER_AUTH,
                     mode == L"1" ? IDC_SQL_SERVER_AUTH : IDC_SQL_WINDOWS_AUTH);
}

void CSQLServerConfigPage::PropertyChanged(const std::wstring& name)
{
    if (SameName(name, L"WRXSQLCONFIG"))
        EnableDetails(IsFlagSet(m_main, L"WRXSQLCONFIG"));
    else if (SameName(name, L"WRXSQLAUTHMODE"))
        ShowAuthMode(ReadProperty(m_main, L"WRXSQLAUTHMODE"));
}

LRESULT CSQLServerConfigPage::OnSqlClicked(WORD, WORD, HWND, BOOL&)
{
    m_sqlConfig = !m_sqlConfig;
    WriteProperty(m_main, L"WRXSQLCONFIG", m_sqlConfig ? L"1" : L"0");
    NotifyPropertyChanged(L"WRXSQLCONFIG");
    return 0;
}

LRESULT CSQLServerConfigPage::OnWindowsAuthClicked(WORD, WORD, HWND, BOOL&)
{
    WriteProperty(m_main, L"WRXSQLAUTHMODE", L"0");
    NotifyPropertyChanged(L"WRXSQLAUTHMODE");
    return 0;
}

LRESULT CSQLServerConfigPage::OnServerAuthClicked(WORD, WORD, HWND, BOOL&)
{
    WriteProperty(m_main, L"WRXSQLAUTHMODE", L"1");
    NotifyPropertyChanged(L"WRXSQLAUTHMODE");
    return 0;
}

LRESULT CSQLServerConfigPage::OnServerChanged(WORD, WORD, HWND, BOOL&)
{
    m_server = WithoutEnclosingQuotes(WindowText(m_serverEdit));
    return 0;
}

LRESULT CSQLServerConfigPage::OnCatalogChanged(WORD, WORD, HWND, BOOL&)
{
    m_catalog = WindowText(m_catalogEdit);
    return 0;
}

LRESULT CSQLServerConfigPage::OnFootprintChanged(WORD, WORD, HWND, BOOL&)
{
    m_footprint = WindowText(m_footprintEdit);
    return 0;
}

bool CSQLServerConfigPage::RefuseField(UINT textId, HWND edit)
{
    const std::wstring text = PageText(textId) + L"\n\n" + PageText(IDS_SQL_SWITCH_OFF_QUESTION);
    const std::wstring caption = m_setup ? m_setup->m_titleText : std::wstring();
    if (MessageBoxW(m_hWnd, text.c_str(), caption.c_str(), MB_YESNO | MB_ICONEXCLAMATION) == IDYES) {
        WriteProperty(m_main, L"WRXSQLCONFIG", L"0");
        // The page shows what it has just written: SQL Server off.
        m_sqlConfig = false;
        SendMessageW(m_sqlCheck, BM_SETCHECK, BST_UNCHECKED, 0);
        EnableDetails(false);
        return true;
    }
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    ::SetFocus(edit);
    return false;
}

bool CSQLServerConfigPage::CommitPage()
{
    if (!m_main || !m_sqlConfig)
        return true;
    if (!IsValidSqlServerName(m_server))
        return RefuseField(IDS_SQL_SERVER_INVALID, m_serverEdit);
    WriteProperty(m_main, L"WRXSQLSERVERPATH", m_server);
    if (IsDlgButtonChecked(m_hWnd, IDC_SQL_WINDOWS_AUTH) == BST_CHECKED)
        WriteProperty(m_main, L"WRXSQLAUTHMODE", L"0");
    else if (IsDlgButtonChecked(m_hWnd, IDC_SQL_SERVER_AUTH) == BST_CHECKED)
        WriteProperty(m_main, L"WRXSQLAUTHMODE", L"1");
    if (!IsValidSqlDatabaseName(m_catalog))
        return RefuseField(IDS_SQL_CATALOG_INVALID, m_catalogEdit);
    WriteProperty(m_main, L"WRXSQLDBCATALOG", m_catalog);
    if (!IsValidSqlDatabaseName(m_footprint))
        return RefuseField(IDS_SQL_FOOTPRINT_INVALID, m_footprintEdit);
    WriteProperty(m_main, L"WRXSQLDBFOOTPRINT", m_footprint);
    return true;
}

}  // namespace wiraxui
