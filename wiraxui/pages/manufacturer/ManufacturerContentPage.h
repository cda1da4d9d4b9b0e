// The configuration page on which the user picks the manufacturers whose content is installed.
#pragma once

#include "host/HostRecord.h"
#include "pages/framework/ConfigPageImpl.h"
#include "pages/manufacturer/ManufacturerList.h"

#include <HostPage.h>

extern "C" IConfigPage* ManufacturerContentPage(wiraxui::HostRecord* record);

namespace wiraxui {

class CManufacturerContentPage : public CConfigPageImpl<CManufacturerContentPage> {
public:
    enum { IDD = IDD_MANUFACTURER_CONTENT_PAGE };

    using CConfigPageImpl::CConfigPageImpl;

    void DoDataExchange();
    void OnPageInit();
    bool CommitPage();
    void PropertyChanged(const std::wstring&) {}

protected:
    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

public:  // handlers, named by the message maps
    LRESULT OnCheckAll(WORD, WORD, HWND, BOOL&);
    LRESULT OnClearAll(WORD, WORD, HWND, BOOL&);
    LRESULT OnEndScroll(int, NMHDR*, BOOL&);

private:
    void UpdateMissingContentMessage(bool anyChecked) const;

    HWND m_list = nullptr;
    CManufacturerList m_manufacturers;
    long long m_costAdded = 0;  // what this page has added to the product's cost so far
};

}  // namespace wiraxui
