#include "pages/shared/SharedLibraryPage.h"

#include "host/Properties.h"
#include "init/ProcessState.h"
#include "pages/controls/ControlLayout.h"
#include "pages/controls/FolderField.h"
#include "pages/framework/PageExports.h"
#include "pages/shared/NetworkFolderBrowser.h"
#include "pages/shared/SharedFolderRules.h"

#include <SetupHost.h>

extern "C" IConfigPage* SharedLibraryPage(wiraxui::HostRecord* record)
{
    return wiraxui::GuardedExport<IConfigPage*>(L"SharedLibraryPage", nullptr, [&] { return wiraxui::CreateConfigPage<wiraxui::CSharedLibraryPage>(record, L"WiraxUiRes.dll"); });
}

namespace wiraxui {

namespace {

using Page = CSharedLibraryPage;

constexpr CommandEntry<Page> kCommands[] = {
    {IDC_SHARED_SUPPORT_CHECK, BN_CLICKED, &Page::OnSupportClicked},
    {IDC_SHARED_SYMBOL_CHECK, BN_CLICKED, &Page::OnSymbolClicked},
    {IDC_SHARED_SUPPORT_BROWSE, BN_CLICKED, &Page::OnSupportBrowse},
    {IDC_SHARED_SYMBOL_BROWSE, BN_CLICKED, &Page::OnSymbolBrowse},
    {IDC_SHARED_SUPPORT_EDIT, EN_CHANGE, &Page::OnSupportChanged},
    {IDC_SHARED_SYMBOL_EDIT, EN_CHANGE, &Page::OnSymbolChanged},
};

constexpr wchar_t kNotShared[] = L"o";
constexpr int kInstallLocally = 3;

std::wstring WithBackslash(std::wstring folder)
{
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
    return folder;
}

std::wstring FillFolder(std::wstring format, const std::wstring& folder)
{
    const size_t at = format.find(L"%s");
    if (at == std::wstring::npos)
        return format + L" " + folder;
    return format.replace(at, 2, folder);
}

}  // namespace

BOOL CSharedLibraryPage::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (RouteCommand(this, kCommands, message, wParam, lParam, result))
        return TRUE;
    return CConfigPageImpl::ProcessWindowMessage(window, message, wParam, lParam, result);
}

CProduct* CSharedLibraryPage::PageProduct() const
{
    if (m_product)
        return m_product;
    return m_setup ? m_setup->FindProduct(L"WIRAX_MAIN") : nullptr;
}

void CSharedLibraryPage::DoDataExchange()
{
    BindControl(m_support.edit, m_support.editWindow);
    BindControl(m_symbols.edit, m_symbols.editWindow);
}

std::wstring CSharedLibraryPage::StartPath(const wchar_t* property) const
{
    const std::wstring path = ReadProperty(PageProduct(), property);
    if (path == kNotShared)
        return m_setup ? m_setup->m_deploymentFolder : std::wstring();
    return path;
}

void CSharedLibraryPage::OnPageInit()
{
    CProduct* product = PageProduct();
    if (product) {
        m_symbols.featureOfProduct = product->m_featureManager.FindFeature(m_symbols.feature);
        m_support.featureOfProduct = product->m_featureManager.FindFeature(m_support.feature);
    }
    m_support.path = StartPath(m_support.pathProperty);
    m_symbols.path = StartPath(m_symbols.pathProperty);

    const HMODULE library = m_library.Module();
    m_invalidPathText = InstallationText(m_setup, IDS_SHARED_PATH_INVALID, library);
    m_notWritableFormat = InstallationText(m_setup, IDS_SHARED_FOLDER_NOT_WRITABLE, library);
    m_notCreatedText = InstallationText(m_setup, IDS_SHARED_FOLDER_NOT_CREATED, library);
    m_browseTitle = LoadModuleText(library, IDS_SHARED_FOLDER_BROWSE_TITLE);

    ProcessState& state = State();
    state.sharedSupportFlag = IsFlagSet(product, m_support.flagProperty);
    state.sharedSymbolFlag = IsFlagSet(product, m_symbols.flagProperty);
    for (auto [choice, flag] : {std::pair<SharedChoice*, bool>{&m_support, state.sharedSupportFlag},
                                std::pair<SharedChoice*, bool>{&m_symbols, state.sharedSymbolFlag}}) {
        CheckDlgButton(m_hWnd, choice->checkBox, flag ? BST_CHECKED : BST_UNCHECKED);
        EnableControls(m_hWnd, {choice->edit, choice->browse}, flag);
        const std::wstring path = choice->path;  // the edit's change notice rewrites the field
        SetWindowTextW(choice->editWindow, path.c_str());
        choice->path = path;
    }
    SetFocus(GetDlgItem(m_hWnd, m_symbols.checkBox));
}

void CSharedLibraryPage::Clicked(SharedChoice& choice, bool& flag)
{
    // The box says what the user sees; another page may have raised the flag meanwhile.
    flag = IsDlgButtonChecked(m_hWnd, choice.checkBox) == BST_CHECKED;
    EnableControls(m_hWnd, {choice.edit, choice.browse}, flag);
    WriteProperty(PageProduct(), choice.flagProperty, flag ? L"1" : L"0");
    NotifyPropertyChanged(choice.flagProperty);
}

LRESULT CSharedLibraryPage::OnSupportClicked(WORD, WORD, HWND, BOOL&)
{
    Clicked(m_support, State().sharedSupportFlag);
    return 0;
}

LRESULT CSharedLibraryPage::OnSymbolClicked(WORD, WORD, HWND, BOOL&)
{
    Clicked(m_symbols, State().sharedSymbolFlag);
    return 0;
}

void CSharedLibraryPage::Browse(SharedChoice& choice)
{
    std::wstring folder = choice.path;
    const bool chosen = BrowseNetworkFolder(m_hWnd, m_browseTitle, folder);
    if (chosen)
        choice.path = WithBackslash(folder);
    const std::wstring shown = choice.path;
    SetWindowTextW(choice.editWindow, shown.c_str());
    choice.path = shown;
    if (chosen)
        SetFocus(choice.editWindow);
}

LRESULT CSharedLibraryPage::OnSupportBrowse(WORD, WORD, HWND, BOOL&)
{
    Browse(m_support);
    return 0;
}

LRESULT CSharedLibraryPage::OnSymbolBrowse(WORD, WORD, HWND, BOOL&)
{
    Browse(m_symbols);
    return 0;
}

LRESULT CSharedLibraryPage::OnSupportChanged(WORD, WORD, HWND, BOOL&)
{
    m_support.path = FolderFromEditText(WindowText(m_support.editWindow));
    return 0;
}

LRESULT CSharedLibraryPage::OnSymbolChanged(WORD, WORD, HWND, BOOL&)
{
    m_symbols.path = FolderFromEditText(WindowText(m_symbols.editWindow));
    return 0;
}

void CSharedLibraryPage::Refuse(const std::wstring& text, HWND edit)
{
    MessageBoxW(m_hWnd, text.c_str(), m_setup ? m_setup->m_titleText.c_str() : L"", MB_OK | MB_ICONSTOP);
    SetFocus(edit);
}

bool CSharedLibraryPage::ValidateFolder(const std::wstring& text, HWND edit, std::wstring& cleaned)
{
    switch (CheckSharedPathText(text, cleaned)) {
    case SharedPathText::Empty:
        return false;
    case SharedPathText::NotRooted:
    case SharedPathText::Invalid:
        Refuse(m_invalidPathText, edit);
        return false;
    case SharedPathText::Usable:
        break;
    }
    switch (TestSharedFolder(cleaned)) {
    case SharedFolderAccess::Writable:
        return true;
    case SharedFolderAccess::NotWritable:
        Refuse(FillFolder(m_notWritableFormat, cleaned), edit);
        return false;
    case SharedFolderAccess::NotCreated:
        Refuse(m_notCreatedText, edit);
        return false;
    }
    return false;
}

bool CSharedLibraryPage::CommitChoice(SharedChoice& choice, bool flag, std::wstring& usedFolder)
{
    CProduct* product = PageProduct();
    usedFolder.clear();
    if (!flag) {
        WriteProperty(product, choice.flagProperty, L"0");
        WriteProperty(product, choice.pathProperty, kNotShared);
        if (choice.featureOfProduct)
            choice.featureOfProduct->SetFeatureAction(kInstallLocally);
        return true;
    }
    std::wstring cleaned;
    if (!ValidateFolder(choice.path, choice.editWindow, cleaned)) {
        SetFocus(choice.editWindow);
        return false;
    }
    WriteProperty(product, choice.flagProperty, L"1");
    choice.path = WithBackslash(cleaned);
    WriteProperty(product, choice.pathProperty, choice.path);
    usedFolder = choice.path;
    return true;
}

bool CSharedLibraryPage::CommitPage()
{
    ProcessState& state = State();
    std::wstring support;
    if (!CommitChoice(m_support, state.sharedSupportFlag, support))
        return false;
    if (!support.empty())
        state.sharedSupportPath = support;
    // The support choice stays written when the symbol folder is refused.
    std::wstring symbols;
    if (!CommitChoice(m_symbols, state.sharedSymbolFlag, symbols))
        return false;
    if (!symbols.empty())
        state.sharedSymbolLibraryPath = symbols;
    WriteProperty(PageProduct(), L"NETSHAREDPATH", JoinSharedPaths(support, symbols));
    return true;
}

}  // namespace wiraxui
