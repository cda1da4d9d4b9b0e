// The configuration page on which the user picks the symbol libraries and their folder.
#pragma once

#include "host/HostRecord.h"
#include "pages/framework/ConfigPageImpl.h"
#include "pages/symbols/SymbolLibraryPageBase.h"

#include <HostPage.h>
#include <WiraxUIRes.h>

#include <string>

extern "C" IConfigPage* SymbolLibraryPage(wiraxui::HostRecord* record);

namespace wiraxui {

class CSymbolLibraryPage : public CSymbolLibraryPageBase<CSymbolLibraryPage, CConfigPageImpl> {
public:
    enum { IDD = IDD_SYMBOL_LIBRARY_PAGE };

    using CSymbolLibraryPageBase::CSymbolLibraryPageBase;

    void DoDataExchange();
    void OnPageInit();
    bool CommitPage();
    void PropertyChanged(const std::wstring& name);

    void WriteChoiceProperty(const wchar_t* name, const std::wstring& value);
    void AddChoiceCost(long long bytes);

protected:
    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

public:  // handlers, named by the message maps
    LRESULT OnFolderChanged(WORD, WORD, HWND, BOOL&);
    LRESULT OnBrowse(WORD, WORD, HWND, BOOL&);

private:
    void ShowFolderControls();
    // The page ends at the browse button, or at the unnamed static while the folder is hidden.
    void FitHeight();
    std::wstring DefaultFolder() const;
    bool ValidateFolder();
    void AskAboutInstalledLibraries();

    std::wstring m_folder;
    HWND m_folderEdit = nullptr;
    std::wstring m_folderDialogTitle;  // string 400
    std::wstring m_overwriteQuestion;  // string 701
    long long m_costAdded = 0;         // what this page has added to the product's cost so far
};

}  // namespace wiraxui
