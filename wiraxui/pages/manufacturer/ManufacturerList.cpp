#include "pages/manufacturer/ManufacturerList.h"

#include "host/Properties.h"
#include "host/ResourceLibrary.h"
#include "init/ProcessState.h"

#include <SetupHost.h>
#include <commctrl.h>

namespace wiraxui {

namespace {

constexpr DWORD kListStyles = LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_TRACKSELECT;  // 13
constexpr int kColumnWidth = 470;

}  // namespace

void CManufacturerList::Initialise(HWND dialog, HWND list, CSetupManager* setup)
{
    m_dialog = dialog;
    m_list = list;
    m_setup = setup;
    if (!m_list)
        return;
    SendMessageW(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, kListStyles, kListStyles);
    std::wstring title = LoadResString(IDS_MANUFACTURER_COLUMN);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
    column.fmt = LVCFMT_LEFT;
    column.cx = kColumnWidth;
    column.pszText = title.data();
    SendMessageW(m_list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));

    m_main = setup ? setup->FindProduct(L"WIRAX_MAIN") : nullptr;
    if (setup && Setup::IsChangingMode(setup->m_setupMode)) {
        m_changingInstallation = true;
        const std::wstring text = LoadResString(IDS_MANUFACTURER_CHANGE_TEXT);
        if (!text.empty())
            SetDlgItemTextW(dialog, -1, text.c_str());
    }

    for (size_t row = 0; row < kManufacturerCount; ++row) {
        const Manufacturer& manufacturer = kManufacturers[row];
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(row);
        item.pszText = const_cast<wchar_t*>(manufacturer.displayName);
        const int index = static_cast<int>(SendMessageW(m_list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        if (index >= 0 && _wcsicmp(ReadProperty(m_main, manufacturer.property).c_str(), L"1") == 0)
            ListView_SetCheckState(m_list, index, TRUE);
    }
    UpdateNextButton();

    ListView_SetItemState(m_list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SetFocus(m_list);
}

void CManufacturerList::SetAllChecked(bool checked)
{
    const int count = m_list ? ListView_GetItemCount(m_list) : 0;
    for (int index = 0; index < count; ++index)
        ListView_SetCheckState(m_list, index, checked);
    if (HWND next = GetDlgItem(m_dialog, IDOK))
        EnableWindow(next, checked && count > 0);
}

std::vector<bool> CManufacturerList::CheckStates() const
{
    std::vector<bool> states;
    const int count = m_list ? ListView_GetItemCount(m_list) : 0;
    for (int index = 0; index < count; ++index)
        states.push_back(ListView_GetCheckState(m_list, index) != FALSE);
    return states;
}

size_t CManufacturerList::CheckedCount() const
{
    size_t checked = 0;
    for (bool state : CheckStates())
        checked += state;
    return checked;
}

void CManufacturerList::UpdateNextButton() const
{
    if (HWND next = GetDlgItem(m_dialog, IDOK))
        EnableWindow(next, CheckedCount() > 0);
}

void CManufacturerList::RedrawAfterScroll() const
{
    if (!m_list)
        return;
    SendMessageW(m_list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_list, nullptr, TRUE);
    UpdateWindow(m_list);
}

ManufacturerSavePlan CManufacturerList::Save(size_t rows) const
{
    ProcessState& state = State();
    ManufacturerSaveInput input;
    input.checked = CheckStates();
    input.rows = rows;
    input.setupMode = m_setup ? m_setup->m_setupMode : 0;
    input.preselected.assign(state.manufacturerPreselected.begin(), state.manufacturerPreselected.end());
    if (input.setupMode == Setup::SETUPMODE_DEPLOY_CHANGE) {
        input.sharedSymbolRequested = IsFlagSet(m_main, L"SHAREDSYMBOL");
        input.sharedSupportRequested = IsFlagSet(m_main, L"SHAREDSUPPORT");
    }
    const ManufacturerSavePlan plan = PlanManufacturerSave(input);

    for (const auto& [property, value] : plan.properties) {
        WriteProperty(m_main, property.c_str(), value);
        if (m_setup)
            m_setup->SetProperty(property.c_str(), value.c_str());
    }
    for (size_t row = 0; row < plan.selected.size(); ++row)
        state.manufacturerSelected[row] = plan.selected[row];
    WriteProperty(m_main, L"MANUFACTURERCONTENTS", plan.summary);
    // Only ever raised here: another page may have asked for the shared content already.
    if (plan.setSharedSymbol)
        state.sharedSymbolFlag = true;
    if (plan.setSharedSupport)
        state.sharedSupportFlag = true;
    return plan;
}

}  // namespace wiraxui
