#include "pages/manufacturer/ManufacturerContentDialog.h"

#include "init/ProcessState.h"
#include "pages/framework/PageExports.h"

#include <algorithm>

extern "C" int ManufacturerContentDialog(wiraxui::HostRecord* record)
{
    return wiraxui::GuardedExport(L"ManufacturerContentDialog", wiraxui::kWizardNotCreated, [&] { return wiraxui::RunWizardPage<wiraxui::CManufacturerContentDialog>(record, L"WiraxUIRes.dll"); });
}

namespace wiraxui {

namespace {

constexpr CommandEntry<CManufacturerContentDialog> kCommands[] = {
    {IDC_CHECK_ALL, BN_CLICKED, &CManufacturerContentDialog::OnCheckAll},
    {IDC_CLEAR_ALL, BN_CLICKED, &CManufacturerContentDialog::OnClearAll},
};
constexpr NotifyEntry<CManufacturerContentDialog> kNotifications[] = {
    {IDC_MANUFACTURER_LIST, LVN_ITEMCHANGED, &CManufacturerContentDialog::OnItemChanged},
    {IDC_MANUFACTURER_LIST, LVN_ENDSCROLL, &CManufacturerContentDialog::OnEndScroll},
};

}  // namespace

BOOL CManufacturerContentDialog::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                      LRESULT& result)
{
    if (RouteCommand(this, kCommands, message, wParam, lParam, result) ||
        RouteNotify(this, kNotifications, message, lParam, result))
        return TRUE;
    return CWizardPageImpl::ProcessWindowMessage(window, message, wParam, lParam, result);
}

void CManufacturerContentDialog::DoDataExchange()
{
    BindControl(IDC_MANUFACTURER_LIST, m_list);
    if (BindControl(IDC_WIZARD_SEPARATOR, m_separator)) {
        SeparatorStyle style;
        style.style = SeparatorStyle::kHorizontal;
        style.lengthRatio = 1.0;
        m_separator.SetStyle(style);
    }
}

void CManufacturerContentDialog::OnPageInit() { m_manufacturers.Initialise(m_hWnd, m_list, m_setup); }

void CManufacturerContentDialog::SaveChoice()
{
    ProcessState& state = State();
    state.manufacturerContentTotal = 0;
    const ManufacturerSavePlan plan = m_manufacturers.Save(std::min(state.manufacturerCount, kManufacturerCount));
    state.manufacturerContentTotal = static_cast<int>(plan.total);
}

LRESULT CManufacturerContentDialog::OnCheckAll(WORD, WORD, HWND, BOOL&)
{
    m_manufacturers.SetAllChecked(true);
    return 0;
}

LRESULT CManufacturerContentDialog::OnClearAll(WORD, WORD, HWND, BOOL&)
{
    m_manufacturers.SetAllChecked(false);
    return 0;
}

LRESULT CManufacturerContentDialog::OnItemChanged(int, NMHDR*, BOOL&)
{
    m_manufacturers.UpdateNextButton();
    return 0;
}

LRESULT CManufacturerContentDialog::OnEndScroll(int, NMHDR*, BOOL&)
{
    m_manufacturers.RedrawAfterScroll();
    return 0;
}

}  // namespace wiraxui
