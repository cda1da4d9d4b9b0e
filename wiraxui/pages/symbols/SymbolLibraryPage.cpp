#include "pages/symbols/SymbolLibraryPage.h"

#include "init/PlatformKeys.h"
#include "pages/controls/ControlLayout.h"
#include "pages/controls/FolderField.h"
#include "pages/framework/PageExports.h"
#include "pages/symbols/SymLibIni.h"
#include "util/FolderCheck.h"

#include <HostVocabulary.h>
#include <shlobj.h>

extern "C" IConfigPage* SymbolLibraryPage(wiraxui::HostRecord* record)
{
    return wiraxui::GuardedExport<IConfigPage*>(L"SymbolLibraryPage", nullptr, [&] { return wiraxui::CreateConfigPage<wiraxui::CSymbolLibraryPage>(record, L"WiraxUiRes.dll"); });
}

namespace wiraxui {

namespace {

using Page = CSymbolLibraryPage;

constexpr CommandEntry<Page> kCommands[] = {
    {IDC_DATA_FOLDER_EDIT, EN_CHANGE, &Page::OnFolderChanged},
    {IDC_SYMBOL_FOLDER_BROWSE, BN_CLICKED, &Page::OnBrowse},
};

constexpr int kUnnamedStatic = -1;

}  // namespace

BOOL CSymbolLibraryPage::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (RouteCommand(this, kCommands, message, wParam, lParam, result))
        return TRUE;
    return CConfigPageImpl::ProcessWindowMessage(window, message, wParam, lParam, result);
}

void CSymbolLibraryPage::DoDataExchange() { BindControl(IDC_DATA_FOLDER_EDIT, m_folderEdit); }

void CSymbolLibraryPage::OnPageInit()
{
    m_folderDialogTitle = LoadModuleText(m_library.Module(), IDS_DATA_FOLDER_DIALOG_TITLE);
    m_overwriteQuestion = LoadModuleText(m_library.Module(), IDS_SYMBOL_LIBRARY_OVERWRITE);
    CProduct* product = PageProduct();
    const std::wstring folder = ReadProperty(product, L"WXSYMLIBFOLDER");
    m_folder = folder;
    SetWindowTextW(m_folderEdit, folder.c_str());
    ShowFolderControls();
    // Without its folder the page would show an empty band at its foot.
    if (!IsShown(GetDlgItem(m_hWnd, IDC_SYMBOL_FOLDER_BROWSE)))
        FitHeight();
    InitialiseLibraryBoxes();
    if (m_locks.standaloneLanguagePack)
        EnableControls(m_hWnd, {IDC_DATA_FOLDER_EDIT, IDC_SYMBOL_FOLDER_BROWSE}, false);
    if (folder.empty()) {
        m_folder = DefaultFolder();
        WriteProperty(product, L"WXSYMLIBFOLDER", m_folder);
        WriteProperty(product, L"WXLIBSFOLDER", m_folder + L"Libs\\");
        SetWindowTextW(m_folderEdit, m_folder.c_str());
    }
}

void CSymbolLibraryPage::ShowFolderControls()
{
    const bool show = ReadProperty(PageProduct(), L"SHAREDSYMBOL") != L"1";
    ShowControls(m_hWnd, {IDC_DATA_FOLDER_EDIT, IDC_SYMBOL_FOLDER_BROWSE, IDC_SYMBOL_FOLDER_LABEL}, show);
}

void CSymbolLibraryPage::FitHeight()
{
    const int height = FitClientHeight(m_hWnd, IDC_SYMBOL_FOLDER_BROWSE, kUnnamedStatic);
    if (height >= 0)
        m_height = height;
}

std::wstring CSymbolLibraryPage::DefaultFolder() const
{
    CProduct* product = PageProduct();
    return SpecialFolder(CSIDL_COMMON_DOCUMENTS) + ReadProperty(product, L"Manufacturer") + L"\\" +
           ReadProperty(product, L"WIRAXDEFAULTFOLDER") + L"\\";
}

void CSymbolLibraryPage::WriteChoiceProperty(const wchar_t* name, const std::wstring& value)
{
    WriteProperty(PageProduct(), name, value);
}

void CSymbolLibraryPage::AddChoiceCost(long long bytes)
{
    // Commits repeat: the product's cost follows the current choice instead of adding up.
    CProduct* product = PageProduct();
    if (!product || !m_setup)
        return;
    product->AddExternalCost(CostDrive(*m_setup).c_str(), bytes - m_costAdded);
    m_costAdded = bytes;
}

LRESULT CSymbolLibraryPage::OnFolderChanged(WORD, WORD, HWND, BOOL&)
{
    m_folder = FolderFromEditText(WindowText(m_folderEdit));
    return 0;
}

LRESULT CSymbolLibraryPage::OnBrowse(WORD, WORD, HWND, BOOL&)
{
    if (BrowseDataFolder(m_hWnd, m_folder, DefaultFolder(), m_setup, m_library.Module()))
        SetWindowTextW(m_folderEdit, m_folder.c_str());
    return 0;
}

void CSymbolLibraryPage::PropertyChanged(const std::wstring& name)
{
    if (name == L"SHAREDSYMBOL") {
        ShowFolderControls();
        FitHeight();
        NotifyHeightChanged();
    } else if (name == L"DRAWINGSTANDARD") {
        CProduct* product = PageProduct();
        const StandardChangePlan plan = PlanStandardChange(ReadProperty(product, L"DRAWINGSTANDARD"), m_locks);
        for (const auto& [property, value] : plan.properties)
            WriteProperty(product, property.c_str(), value);
        ShowBoxes(plan.boxes);
    }
}

void CSymbolLibraryPage::AskAboutInstalledLibraries()
{
    CProduct* product = PageProduct();
    if (ReadProperty(product, L"SHAREDSYMBOL") != L"0" || !FolderHoldsInstalledLibraries(m_folder))
        return;
    if (Setup::IsDeploymentMode(SetupMode()))
        return;
    if (IsFlagSet(product, L"STANDALONE_LP")) {
        WriteProperty(product, L"SYMLIB_OVERWRITE", L"1");
        return;
    }
    const int answer = MessageBoxW(m_hWnd, m_overwriteQuestion.c_str(), m_setup ? m_setup->m_titleText.c_str() : L"",
                                   MB_YESNO | MB_ICONQUESTION);
    WriteProperty(product, L"SYMLIB_OVERWRITE", answer == IDYES ? L"1" : L"0");
}

bool CSymbolLibraryPage::ValidateFolder()
{
    std::wstring folder = m_folder;
    const int code = CheckDataFolder(folder);
    if (code == FolderCheck::Usable) {
        m_folder = folder;
        return true;
    }
    if (code == FolderCheck::NotEmpty) {
        m_folder = folder;
        AskAboutInstalledLibraries();
        ShowAcceptedFolder(m_folderEdit);
        return true;
    }
    const std::wstring text = LoadModuleText(m_library.Module(), IDS_DATA_FOLDER_REFUSED);
    MessageBoxW(m_hWnd, text.c_str(), m_setup ? m_setup->m_titleText.c_str() : L"", MB_OK | MB_ICONERROR);
    SetFocus(m_folderEdit);
    return false;
}

bool CSymbolLibraryPage::CommitPage()
{
    if (!ValidateFolder())
        return false;
    SaveLibraryChoice();
    CProduct* product = PageProduct();
    WriteProperty(product, L"WXSYMLIBFOLDER", m_folder);
    WriteProperty(product, L"NETDEFAULTSYMLIBPATH",
                  PathContains(m_folder, SpecialFolderPath(CSIDL_COMMON_DOCUMENTS)) ? L"1" : L"0");
    WriteProperty(product, L"WXLIBSFOLDER", m_folder + L"Libs\\");
    return true;
}

}  // namespace wiraxui
