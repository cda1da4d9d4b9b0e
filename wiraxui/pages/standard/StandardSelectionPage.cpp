#include "pages/standard/StandardSelectionPage.h"

#include "host/Properties.h"
#include "init/DrawingStandards.h"
#include "pages/controls/ControlLayout.h"
#include "pages/controls/FolderField.h"
#include "pages/framework/PageExports.h"
#include "pages/standard/StandardSelection.h"
#include "util/FolderCheck.h"

#include <SetupHost.h>
#include <shlobj.h>

extern "C" IConfigPage* StandardSelectionPage(wiraxui::HostRecord* record)
{
    return wiraxui::GuardedExport<IConfigPage*>(L"StandardSelectionPage", nullptr, [&] { return wiraxui::CreateConfigPage<wiraxui::CStandardSelectionPage>(record, L"WiraxUiRes.dll"); });
}

namespace wiraxui {

namespace {

using Page = CStandardSelectionPage;

constexpr CommandEntry<Page> kCommands[] = {
    {IDC_STANDARD_JIC, BN_CLICKED, &Page::OnStandardClicked},
    {IDC_STANDARD_IEC, BN_CLICKED, &Page::OnStandardClicked},
    {IDC_STANDARD_IEEE, BN_CLICKED, &Page::OnStandardClicked},
    {IDC_STANDARD_GB, BN_CLICKED, &Page::OnStandardClicked},
    {IDC_STANDARD_JIS, BN_CLICKED, &Page::OnStandardClicked},
    {IDC_STANDARD_NFPA, BN_CLICKED, &Page::OnStandardClicked},
    {IDC_DATA_FOLDER_EDIT, EN_CHANGE, &Page::OnFolderChanged},
    {IDC_PERSONAL_FOLDER_BROWSE, BN_CLICKED, &Page::OnBrowse},
};

constexpr int kUnnamedStatic = -1;

const DrawingStandard* StandardOfRadio(int id)
{
    for (const DrawingStandard& standard : kDrawingStandards) {
        if (standard.radioButton && standard.radioButton == id)
            return &standard;
    }
    return nullptr;
}

}  // namespace

BOOL CStandardSelectionPage::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                  LRESULT& result)
{
    if (RouteCommand(this, kCommands, message, wParam, lParam, result))
        return TRUE;
    return CConfigPageImpl::ProcessWindowMessage(window, message, wParam, lParam, result);
}

CProduct* CStandardSelectionPage::PageProduct() const
{
    if (m_product)
        return m_product;
    return m_setup ? m_setup->FindProduct(L"WIRAX_MAIN") : nullptr;
}

void CStandardSelectionPage::DoDataExchange() { BindControl(IDC_DATA_FOLDER_EDIT, m_folderEdit); }

void CStandardSelectionPage::OnPageInit()
{
    CProduct* product = PageProduct();
    const std::wstring folder = ReadProperty(product, L"ROAMINGUSERMYDOCSWIRAXFOLDER");
    m_folder = folder;
    SetWindowTextW(m_folderEdit, folder.c_str());
    ShowFolderControls();
    // Without its folder the page would show an empty band at its foot.
    if (!IsShown(GetDlgItem(m_hWnd, IDC_PERSONAL_FOLDER_BROWSE)))
        FitHeight();

    if (const DrawingStandard* standard = FindOfferedStandard(ReadProperty(product, L"DRAWINGSTANDARD")))
        CheckDlgButton(m_hWnd, standard->radioButton, BST_CHECKED);

    if (folder.empty()) {
        m_folder = DefaultFolder();
        WriteProperty(product, L"ROAMINGUSERMYDOCSWIRAXFOLDER", m_folder);
        SetWindowTextW(m_folderEdit, m_folder.c_str());
    }

    if (IsFlagSet(product, L"STANDALONE_LP")) {
        // A language pack on its own keeps the standard and folder of the product it joins.
        for (const DrawingStandard& standard : kDrawingStandards) {
            if (standard.radioButton)
                EnableWindow(GetDlgItem(m_hWnd, standard.radioButton), FALSE);
        }
        EnableControls(m_hWnd, {IDC_DATA_FOLDER_EDIT, IDC_PERSONAL_FOLDER_BROWSE}, false);
    }
}

void CStandardSelectionPage::ShowFolderControls()
{
    const bool show = ReadProperty(PageProduct(), L"SHAREDSUPPORT") != L"1";
    ShowControls(m_hWnd, {IDC_DATA_FOLDER_EDIT, IDC_PERSONAL_FOLDER_BROWSE, IDC_PERSONAL_FOLDER_LABEL}, show);
}

void CStandardSelectionPage::FitHeight()
{
    const int height = FitClientHeight(m_hWnd, IDC_PERSONAL_FOLDER_BROWSE, kUnnamedStatic);
    if (height >= 0)
        m_height = height;
}

std::wstring CStandardSelectionPage::DefaultFolder() const
{
    return SpecialFolder(CSIDL_PERSONAL) + ReadProperty(PageProduct(), L"WIRAXDEFAULTFOLDER") + L"\\";
}

LRESULT CStandardSelectionPage::OnStandardClicked(WORD, WORD id, HWND, BOOL&)
{
    // The other pages follow the standard at once, before any commit.
    if (const DrawingStandard* standard = StandardOfRadio(id)) {
        WriteProperty(PageProduct(), L"DRAWINGSTANDARD", standard->code);
        NotifyPropertyChanged(L"DRAWINGSTANDARD");
    }
    return 0;
}

LRESULT CStandardSelectionPage::OnFolderChanged(WORD, WORD, HWND, BOOL&)
{
    m_folder = FolderFromEditText(WindowText(m_folderEdit));
    return 0;
}

LRESULT CStandardSelectionPage::OnBrowse(WORD, WORD, HWND, BOOL&)
{
    if (BrowseDataFolder(m_hWnd, m_folder, DefaultFolder(), m_setup, m_library.Module()))
        SetWindowTextW(m_folderEdit, m_folder.c_str());
    return 0;
}

void CStandardSelectionPage::PropertyChanged(const std::wstring& name)
{
    if (name != L"SHAREDSUPPORT")
        return;
    ShowFolderControls();
    FitHeight();
    NotifyHeightChanged();
}

bool CStandardSelectionPage::ValidateFolder()
{
    std::wstring folder = m_folder;
    const int code = CheckDataFolder(folder);
    if (code == FolderCheck::Usable || code == FolderCheck::NotEmpty) {
        m_folder = folder;
        if (code == FolderCheck::NotEmpty)
            ShowAcceptedFolder(m_folderEdit);
        return true;
    }
    const std::wstring text = LoadModuleText(m_library.Module(), IDS_DATA_FOLDER_REFUSED);
    MessageBoxW(m_hWnd, text.c_str(), m_setup ? m_setup->m_titleText.c_str() : L"", MB_OK | MB_ICONERROR);
    SetFocus(m_folderEdit);
    return false;
}

bool CStandardSelectionPage::CommitPage()
{
    if (!ValidateFolder())
        return false;
    CProduct* product = PageProduct();
    StandardCommitInput input;
    for (const DrawingStandard& standard : kDrawingStandards) {
        if (standard.radioButton && IsDlgButtonChecked(m_hWnd, standard.radioButton) == BST_CHECKED) {
            input.chosen = &standard;
            break;
        }
    }
    input.symbolLibrary = ReadProperty(product, L"SYMBOLLIBRARY");
    input.folder = m_folder;
    input.setupMode = m_setup ? m_setup->m_setupMode : 0;
    input.sharedSupport = ReadProperty(product, L"SHAREDSUPPORT");
    input.documentsFolder = SpecialFolderPath(CSIDL_PERSONAL);
    for (const auto& [name, value] : PlanStandardCommit(input))
        WriteProperty(product, name.c_str(), value);
    return true;
}

}  // namespace wiraxui
