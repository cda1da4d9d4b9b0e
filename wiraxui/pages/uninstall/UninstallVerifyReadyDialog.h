// The last wizard page before the product is removed: what will go, whether the symbol libraries
// stay, and, when the host asks for it, whether the additional language packs go too.
#pragma once

#include "host/HostRecord.h"
#include "pages/controls/SeparatorStatic.h"
#include "pages/framework/WizardPageImpl.h"

extern "C" int UninstallVerifyReadyDialog(wiraxui::HostRecord* record);

namespace wiraxui {

// What the export answers when the setup mode is not the removal mode: the page is not shown.
constexpr int kUninstallPageNotShown = 5;

class CUninstallVerifyReadyDialog : public CWizardPageImpl<CUninstallVerifyReadyDialog> {
public:
    enum { IDD = IDD_UNINSTALL_VERIFY_READY };
    static constexpr const wchar_t* kPageName = L"CUninstallVerifyReadyDialog";

    using CWizardPageImpl::CWizardPageImpl;
    // The window goes before the controls and the font it draws with.
    ~CUninstallVerifyReadyDialog() override
    {
        if (m_hWnd)
            ::DestroyWindow(m_hWnd);
    }

    void DoDataExchange();
    void OnPageInit();
    // Back keeps nothing: the choice matters only when the removal starts.
    void SaveChoice() {}
    // Tells the uninstaller whether to keep the symbol libraries, then asks about the language
    // packs when the host wants that; false keeps the user here.
    bool ApplyNext();

private:
    std::wstring ProductCode() const;

    bool m_sharedSymbols = false;
    COwnerDrawButton m_keepBox;
    CTransparentStatic m_text;
    CFontHandle m_headingFont;
    CSeparatorStatic m_separator;
};

}  // namespace wiraxui
