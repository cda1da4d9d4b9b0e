// The configuration page of a deployment on which the administrator decides whether clients use
// shared folders for the support data and the symbol libraries, and which folders.
#pragma once

#include "host/HostRecord.h"
#include "pages/framework/ConfigPageImpl.h"

#include <HostPage.h>
#include <WiraxUIRes.h>

#include <string>

class CFeature;

extern "C" IConfigPage* SharedLibraryPage(wiraxui::HostRecord* record);

namespace wiraxui {

class CSharedLibraryPage : public CConfigPageImpl<CSharedLibraryPage> {
public:
    enum { IDD = IDD_SHARED_LIBRARY_PAGE };

    using CConfigPageImpl::CConfigPageImpl;

    void DoDataExchange();
    void OnPageInit();
    bool CommitPage();
    void PropertyChanged(const std::wstring&) {}

protected:
    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

public:  // handlers, named by the message maps
    LRESULT OnSupportClicked(WORD, WORD, HWND, BOOL&);
    LRESULT OnSymbolClicked(WORD, WORD, HWND, BOOL&);
    LRESULT OnSupportBrowse(WORD, WORD, HWND, BOOL&);
    LRESULT OnSymbolBrowse(WORD, WORD, HWND, BOOL&);
    LRESULT OnSupportChanged(WORD, WORD, HWND, BOOL&);
    LRESULT OnSymbolChanged(WORD, WORD, HWND, BOOL&);

private:
    // One of the two choices: its check box, folder field and what it writes.
    struct SharedChoice {
        int checkBox;
        int edit;
        int browse;
        const wchar_t* flagProperty;
        const wchar_t* pathProperty;
        const wchar_t* feature;
        std::wstring path;
        HWND editWindow = nullptr;
        CFeature* featureOfProduct = nullptr;
    };

    CProduct* PageProduct() const;
    std::wstring StartPath(const wchar_t* property) const;
    void Clicked(SharedChoice& choice, bool& flag);
    void Browse(SharedChoice& choice);
    // Commits one choice; false when its folder is refused. joined collects the used folders.
    bool CommitChoice(SharedChoice& choice, bool flag, std::wstring& usedFolder);
    // The folder's text and the folder itself are fit for clients; cleaned is what to store.
    bool ValidateFolder(const std::wstring& text, HWND edit, std::wstring& cleaned);
    void Refuse(const std::wstring& text, HWND edit);

    SharedChoice m_support{IDC_SHARED_SUPPORT_CHECK, IDC_SHARED_SUPPORT_EDIT, IDC_SHARED_SUPPORT_BROWSE,
                           L"SHAREDSUPPORT", L"NETSHAREDSUPPORTPATH", L"WXDATA", {}};
    SharedChoice m_symbols{IDC_SHARED_SYMBOL_CHECK, IDC_SHARED_SYMBOL_EDIT, IDC_SHARED_SYMBOL_BROWSE,
                           L"SHAREDSYMBOL", L"NETSHAREDSYMLIBPATH", L"WXSYMBOLS", {}};
    std::wstring m_invalidPathText;    // 310
    std::wstring m_notWritableFormat;  // 524, with one "%s" for the folder
    std::wstring m_notCreatedText;     // 373
    std::wstring m_browseTitle;        // 394
};

}  // namespace wiraxui
