// The configuration page on which the user chooses the catalog browser's catalog database.
#pragma once

#include "host/HostRecord.h"
#include "pages/addin/FormwellAddInPageBase.h"

#include <HostPage.h>

extern "C" IConfigPage* FormwellMDBContentPage(wiraxui::HostRecord* record);

namespace wiraxui {

class CFormwellMDBContentPage : public CFormwellAddInPageBase<CFormwellMDBContentPage> {
public:
    enum { IDD = IDD_FORMWELL_MDB_CONTENT_PAGE };
    static constexpr int kPathEditId = IDC_FORMWELL_MDB_PATH;

    using CFormwellAddInPageBase::CFormwellAddInPageBase;

    void OnPageInit();
    bool CommitPage();
    void PropertyChanged(const std::wstring& name);
    void Browse();
    void PathEdited(const std::wstring& text);

private:
    // The database the page starts with: a custom choice that names a file, or the search's.
    std::wstring StartingDatabase() const;
    // Shows a value the page settled itself; the edit's change notice does not mark it.
    void ShowOwnValue(const std::wstring& value);

    bool m_starting = false;
    bool m_changeSeen = false;
};

}  // namespace wiraxui
