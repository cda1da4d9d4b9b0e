// The configuration page on which the administrator keeps the catalog data in SQL Server.
#pragma once

#include "host/HostRecord.h"
#include "pages/framework/ConfigPageImpl.h"

#include <HostPage.h>
#include <WiraxUIRes.h>

#include <string>

extern "C" IConfigPage* SQLServerConfigPage(wiraxui::HostRecord* record);

namespace wiraxui {

class CSQLServerConfigPage : public CConfigPageImpl<CSQLServerConfigPage> {
public:
    enum { IDD = IDD_SQL_SERVER_CONFIG_PAGE };

    using CConfigPageImpl::CConfigPageImpl;

    void DoDataExchange();
    void OnPageInit();
    bool CommitPage();
    void PropertyChanged(const std::wstring& name);

protected:
    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

public:  // handlers, named by the message map
    LRESULT OnSqlClicked(WORD, WORD, HWND, BOOL&);
    LRESULT OnWindowsAuthClicked(WORD, WORD, HWND, BOOL&);
    LRESULT OnServerAuthClicked(WORD, WORD, HWND, BOOL&);
    LRESULT OnServerChanged(WORD, WORD, HWND, BOOL&);
    LRESULT OnCatalogChanged(WORD, WORD, HWND, BOOL&);
    LRESULT OnFootprintChanged(WORD, WORD, HWND, BOOL&);

private:
    // Asks whether to go on without SQL Server after the text about a refused field. Yes:
    // the configuration is switched off and the apply succeeds. No: the field has the focus and
    // the apply fails.
    bool RefuseField(UINT textId, HWND edit);
    void EnableDetails(bool enable);
    void ShowAuthMode(const std::wstring& mode);
    std::wstring PageText(UINT id) const;

    CProduct* m_main = nullptr;
    bool m_sqlConfig = false;
    std::wstring m_server;
    std::wstring m_catalog;
    std::wstring m_footprint;
    HWND m_sqlCheck = nullptr;
    HWND m_serverEdit = nullptr;
    HWND m_catalogEdit = nullptr;
    HWND m_footprintEdit = nullptr;
};

}  // namespace wiraxui
