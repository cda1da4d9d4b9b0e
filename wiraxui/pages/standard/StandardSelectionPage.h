// The configuration page on which the user picks the drawing standard and the folder of the
// personal product data.
#pragma once

#include "host/HostRecord.h"
#include "pages/framework/ConfigPageImpl.h"

#include <HostPage.h>
#include <WiraxUIRes.h>

#include <string>

extern "C" IConfigPage* StandardSelectionPage(wiraxui::HostRecord* record);

namespace wiraxui {

class CStandardSelectionPage : public CConfigPageImpl<CStandardSelectionPage> {
public:
    enum { IDD = IDD_STANDARD_SELECTION_PAGE };

    using CConfigPageImpl::CConfigPageImpl;

    void DoDataExchange();
    void OnPageInit();
    bool CommitPage();
    void PropertyChanged(const std::wstring& name);

protected:
    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

public:  // handlers, named by the message maps
    LRESULT OnStandardClicked(WORD, WORD id, HWND, BOOL&);
    LRESULT OnFolderChanged(WORD, WORD, HWND, BOOL&);
    LRESULT OnBrowse(WORD, WORD, HWND, BOOL&);

private:
    CProduct* PageProduct() const;
    // Shows or hides the folder controls as "SHAREDSUPPORT" asks.
    void ShowFolderControls();
    // The page ends at the browse button, or at the unnamed static while the folder is hidden.
    void FitHeight();
    std::wstring DefaultFolder() const;
    bool ValidateFolder();

    std::wstring m_folder;
    HWND m_folderEdit = nullptr;
};

}  // namespace wiraxui
