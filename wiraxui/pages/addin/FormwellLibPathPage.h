// The configuration page on which the user chooses the catalog browser's library folder.
#pragma once

#include "host/HostRecord.h"
#include "pages/addin/FormwellAddInPageBase.h"

#include <HostPage.h>

extern "C" IConfigPage* FormwellLibPathPage(wiraxui::HostRecord* record);

namespace wiraxui {

class CFormwellLibPathPage : public CFormwellAddInPageBase<CFormwellLibPathPage> {
public:
    enum { IDD = IDD_FORMWELL_LIB_PATH_PAGE };
    static constexpr int kPathEditId = IDC_FORMWELL_LIB_PATH;

    using CFormwellAddInPageBase::CFormwellAddInPageBase;

    void OnPageInit();
    bool CommitPage();
    void PropertyChanged(const std::wstring&) {}
    void Browse();
    void PathEdited(const std::wstring& text);

    const std::wstring& Path() const { return m_path; }

private:
    // Validates the path in place; on refusal the user is told and the edit has the focus.
    bool ValidatePath();
};

}  // namespace wiraxui
