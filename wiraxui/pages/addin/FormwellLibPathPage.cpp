#include "pages/addin/FormwellLibPathPage.h"

#include "host/Properties.h"
#include "init/CatalogLocation.h"
#include "pages/addin/LibraryFolderCheck.h"
#include "pages/framework/PageExports.h"
#include "util/SelectFolderDlg.h"

#include <SetupHost.h>
#include <shlobj.h>

extern "C" IConfigPage* FormwellLibPathPage(wiraxui::HostRecord* record)
{
    return wiraxui::GuardedExport<IConfigPage*>(L"FormwellLibPathPage", nullptr, [&] { return wiraxui::CreateConfigPage<wiraxui::CFormwellLibPathPage>(record, L"WiraxUiRes.dll"); });
}

namespace wiraxui {

namespace {

std::wstring PublicDocuments()
{
    wchar_t path[MAX_PATH + 1] = L"";
    if (!SHGetSpecialFolderPathW(nullptr, path, CSIDL_COMMON_DOCUMENTS, FALSE))
        return std::wstring();
    return WithBackslash(path);
}

}  // namespace

void CFormwellLibPathPage::OnPageInit()
{
    m_browseTitle = PageText(IDS_FORMWELL_BROWSE_TITLE);
    m_path = ReadProperty(m_product, L"WRXLIBLOCATION");
    if (m_path.empty()) {
        m_path = PublicDocuments() + ReadProperty(m_product, L"Manufacturer") + L"\\" +
                 ReadProperty(m_product, L"WRXLIBFOLDERNAME") + L"\\";
        WriteProperty(m_product, L"WRXLIBLOCATION", m_path);
    }
    ShowPath(m_path);
}

void CFormwellLibPathPage::PathEdited(const std::wstring& text) { m_path = WithBackslash(WithoutEnclosingQuotes(text)); }

void CFormwellLibPathPage::Browse()
{
    const std::wstring start = PublicDocuments() + ReadProperty(m_product, L"Manufacturer") + L"\\" +
                               ReadProperty(m_product, L"WIRAXDEFAULTFOLDER") + L"\\";
    // The dialog takes its template texts from the module's resources: the product library.
    CResourceInstanceScope scope(m_library.Module());
    CSelectFolderDlg dialog(m_hWnd, start.c_str(), OFN_HIDEREADONLY);
    const std::wstring okText = LoadResString(IDS_SELECT_FOLDER_OK);
    const std::wstring labelText = LoadResString(IDS_SELECT_FOLDER_LABEL);
    dialog.SetTexts(m_browseTitle.c_str(), okText.c_str(), labelText.c_str());
    if (!dialog.DoModal())
        return;
    m_path = WithBackslash(CSelectFolderDlg::ChosenFolder());
    ShowPath(m_path);
}

bool CFormwellLibPathPage::ValidatePath()
{
    if (LibraryFolderPasses(CheckLibraryFolder(m_path)))
        return true;
    const std::wstring text = PageText(IDS_FORMWELL_LIB_FOLDER_INVALID);
    MessageBoxW(m_hWnd, text.c_str(), Caption().c_str(), MB_OK | MB_ICONSTOP);
    ::SetFocus(m_pathEdit);
    return false;
}

bool CFormwellLibPathPage::CommitPage()
{
    if (!ValidatePath())
        return false;
    WriteProperty(m_product, L"WRXLIBLOCATION", m_path);
    return true;
}

}  // namespace wiraxui
