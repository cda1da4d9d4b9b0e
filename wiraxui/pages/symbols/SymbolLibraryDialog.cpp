#include "pages/symbols/SymbolLibraryDialog.h"

#include "init/PlatformKeys.h"
#include "pages/framework/PageExports.h"

extern "C" int SymbolLibraryDialog(wiraxui::HostRecord* record)
{
    return wiraxui::GuardedExport(L"SymbolLibraryDialog", wiraxui::kWizardNotCreated, [&] { return wiraxui::RunWizardPage<wiraxui::CSymbolLibraryDialog>(record, L"WiraxUiRes.dll"); });
}

namespace wiraxui {

void CSymbolLibraryDialog::DoDataExchange()
{
    if (BindControl(IDC_WIZARD_SEPARATOR, m_separator)) {
        SeparatorStyle style;
        style.style = SeparatorStyle::kHorizontal;
        style.lengthRatio = 1.0;
        m_separator.SetStyle(style);
    }
}

void CSymbolLibraryDialog::OnPageInit()
{
    InitialiseLibraryBoxes();
    if (CProduct* product = PageProduct())
        product->ClearExternalCost();
    if (HWND next = GetDlgItem(m_hWnd, IDC_WIZARD_NEXT))
        SetFocus(next);
}

void CSymbolLibraryDialog::WriteChoiceProperty(const wchar_t* name, const std::wstring& value)
{
    WriteProperty(m_product, name, value);
    if (m_setup)
        m_setup->SetMsiProperty(name, value.c_str(), false);
}

void CSymbolLibraryDialog::AddChoiceCost(long long bytes)
{
    if (CProduct* product = PageProduct(); product && m_setup)
        product->AddExternalCost(CostDrive(*m_setup).c_str(), bytes);
}

}  // namespace wiraxui
