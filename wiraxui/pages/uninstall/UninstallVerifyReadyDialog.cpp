#include "pages/uninstall/UninstallVerifyReadyDialog.h"

#include "pages/framework/PageExports.h"
#include "pages/uninstall/UninstallChoices.h"
#include "pages/uninstall/UninstallLangPackDialog.h"

#include <SetupHost.h>

namespace {

constexpr wchar_t kProductLibrary[] = L"WiraxUIRes.dll";

// Outside removal the host still hears that its page was passed: its leave callbacks run with a
// page-event record that names only the installation.
void RunLeaveListWithoutPage(const wiraxui::HostRecord* record)
{
    wiraxui::PageEventSource source;
    source.setup = wiraxui::SetupManagerOf(record);
    wiraxui::RunCallbackListUntilStay(wiraxui::CopyCallbackList(record, PageRecord::kLeaveList), source,
                                      wiraxui::kEmptyLeaveListResult);
}

}  // namespace

extern "C" int UninstallVerifyReadyDialog(wiraxui::HostRecord* record)
{
    using namespace wiraxui;
    return GuardedExport<int>(L"UninstallVerifyReadyDialog", kWizardNotCreated, [&]() -> int {
        if (!record)
            return kWizardNotCreated;
        CResourceLibraryLoader loader;
        if (!loader.Load(ResolveResourceLibrary(kProductLibrary)))
            return kWizardNotCreated;
        CResourceInstanceScope scope(loader.Module());
        const CSetupManager* setup = SetupManagerOf(record);
        if (!setup || setup->m_setupMode != Setup::SETUPMODE_REMOVAL) {
            RunLeaveListWithoutPage(record);
            return kUninstallPageNotShown;
        }
        return RunWizardPage<CUninstallVerifyReadyDialog>(record, kProductLibrary);
    });
}

namespace wiraxui {

namespace {

// Owner-drawn statics: their text is drawn by the transparent static attached to them.
constexpr LONG_PTR kOwnerDrawnStatic = SS_OWNERDRAW;

void MakeOwnerDrawn(HWND control)
{
    if (!control)
        return;
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    if ((style & kOwnerDrawnStatic) != kOwnerDrawnStatic)
        SetWindowLongPtrW(control, GWL_STYLE, style | kOwnerDrawnStatic);
}

}  // namespace

void CUninstallVerifyReadyDialog::DoDataExchange()
{
    BindControl(IDC_KEEP_SYMBOL_LIBRARIES, m_keepBox);
    BindControl(IDC_UNINSTALL_TEXT, m_text);
    if (BindControl(IDC_WIZARD_SEPARATOR, m_separator)) {
        SeparatorStyle style;
        style.style = SeparatorStyle::kHorizontal;
        style.lengthRatio = 1.0;
        m_separator.SetStyle(style);
    }
}

std::wstring CUninstallVerifyReadyDialog::ProductCode() const
{
    return m_product ? m_product->m_productCode : std::wstring();
}

void CUninstallVerifyReadyDialog::OnPageInit()
{
    HWND heading = GetDlgItem(m_hWnd, IDC_PAGE_TITLE);
    HWND text = GetDlgItem(m_hWnd, IDC_UNINSTALL_TEXT);
    MakeOwnerDrawn(heading);
    MakeOwnerDrawn(text);

    if (heading) {
        LOGFONTW description{};
        HFONT current = reinterpret_cast<HFONT>(SendMessageW(heading, WM_GETFONT, 0, 0));
        if (current && GetObjectW(current, sizeof description, &description) == sizeof description) {
            description.lfWeight = FW_BOLD;
            description.lfQuality = CLEARTYPE_QUALITY;
            // The old font goes only once the control draws with the new one.
            CFontHandle bold(CreateFontIndirectW(&description));
            if (bold) {
                SendMessageW(heading, WM_SETFONT, reinterpret_cast<WPARAM>(bold.Get()), TRUE);
                m_headingFont = std::move(bold);
            }
        }
        const std::wstring title = m_setup ? m_setup->m_titleText : std::wstring();
        SetWindowTextW(heading, UninstallHeading(LoadResString(IDS_UNINSTALL_HEADING), title).c_str());
    }
    if (text)
        SetWindowTextW(text, LoadResString(IDS_UNINSTALL_TEXT).c_str());

    HWND keepBox = GetDlgItem(m_hWnd, IDC_KEEP_SYMBOL_LIBRARIES);
    m_sharedSymbols = ReadSharedSymbols(ProductCode());
    if (m_sharedSymbols) {
        ShowWindow(keepBox, SW_HIDE);
    } else {
        SetFocus(keepBox);
        SendMessageW(keepBox, BM_SETCHECK, BST_UNCHECKED, 0);
    }

    RunRefreshList();

    HWND next = GetDlgItem(m_hWnd, IDC_WIZARD_NEXT);
    SetWindowTextW(next, LoadResString(IDS_UNINSTALL_NEXT).c_str());
    SetFocus(next);
}

bool CUninstallVerifyReadyDialog::ApplyNext()
{
    const bool checked =
        SendMessageW(GetDlgItem(m_hWnd, IDC_KEEP_SYMBOL_LIBRARIES), BM_GETCHECK, 0, 0) == BST_CHECKED;
    // A write that fails, or a file that is not the symbol libraries' settings file, does not
    // hold up the removal.
    WriteSkipSymbolLibraries(ReadSymLibIni(ProductCode()), SkipSymbolLibrariesValue(checked, m_sharedSymbols));

    if (!m_setup || !m_setup->IsDisplayMUIUninstallDialog())
        return true;
    CUninstallLangPackDialog question;
    switch (ClassifyLangPackAnswer(question.DoModal(GetActiveWindow()))) {
    case LangPackAnswer::Remove:
        m_setup->m_removeAdditionalMUILPs = true;
        return true;
    case LangPackAnswer::Keep:
        m_setup->m_removeAdditionalMUILPs = false;
        return true;
    case LangPackAnswer::StayOnPage:
        return false;
    case LangPackAnswer::Other:
        break;
    }
    return true;
}

}  // namespace wiraxui
