// The wizard page on which the user picks the manufacturers whose content is installed.
#pragma once

#include "host/HostRecord.h"
#include "pages/manufacturer/ManufacturerList.h"
#include "pages/controls/SeparatorStatic.h"
#include "pages/framework/WizardPageImpl.h"

extern "C" int ManufacturerContentDialog(wiraxui::HostRecord* record);

namespace wiraxui {

class CManufacturerContentDialog : public CWizardPageImpl<CManufacturerContentDialog> {
public:
    enum { IDD = IDD_MANUFACTURER_CONTENT_DIALOG };
    static constexpr const wchar_t* kPageName = L"CManufacturerContentDialog";

    using CWizardPageImpl::CWizardPageImpl;

    void DoDataExchange();
    void OnPageInit();
    void SaveChoice();

protected:
    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

public:  // handlers, named by the message maps
    LRESULT OnCheckAll(WORD, WORD, HWND, BOOL&);
    LRESULT OnClearAll(WORD, WORD, HWND, BOOL&);
    LRESULT OnItemChanged(int, NMHDR*, BOOL&);
    LRESULT OnEndScroll(int, NMHDR*, BOOL&);

private:
    HWND m_list = nullptr;
    CSeparatorStatic m_separator;
    CManufacturerList m_manufacturers;
};

}  // namespace wiraxui
