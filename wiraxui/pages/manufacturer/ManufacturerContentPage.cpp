#include "pages/manufacturer/ManufacturerContentPage.h"

#include "host/Properties.h"
#include "init/InitializeProduct.h"
#include "init/PlatformKeys.h"
#include "pages/framework/PageExports.h"

#include <SetupHost.h>
#include <WiraxUIRes.h>

extern "C" IConfigPage* ManufacturerContentPage(wiraxui::HostRecord* record)
{
    return wiraxui::GuardedExport<IConfigPage*>(L"ManufacturerContentPage", nullptr, [&] { return wiraxui::CreateConfigPage<wiraxui::CManufacturerContentPage>(record, L"WiraxUiRes.dll"); });
}

namespace wiraxui {

namespace {

constexpr CommandEntry<CManufacturerContentPage> kCommands[] = {
    {IDC_CHECK_ALL, BN_CLICKED, &CManufacturerContentPage::OnCheckAll},
    {IDC_CLEAR_ALL, BN_CLICKED, &CManufacturerContentPage::OnClearAll},
};
constexpr NotifyEntry<CManufacturerContentPage> kNotifications[] = {
    {IDC_MANUFACTURER_LIST, LVN_ENDSCROLL, &CManufacturerContentPage::OnEndScroll},
};

}  // namespace

BOOL CManufacturerContentPage::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                    LRESULT& result)
{
    if (RouteCommand(this, kCommands, message, wParam, lParam, result) ||
        RouteNotify(this, kNotifications, message, lParam, result))
        return TRUE;
    return CConfigPageImpl::ProcessWindowMessage(window, message, wParam, lParam, result);
}

void CManufacturerContentPage::DoDataExchange() { BindControl(IDC_MANUFACTURER_LIST, m_list); }

void CManufacturerContentPage::OnPageInit()
{
    m_manufacturers.Initialise(m_hWnd, m_list, m_setup);
    CProduct* main = m_manufacturers.MainProduct();
    if (main)
        main->ClearExternalCost();
    if (IsFlagSet(main, L"STANDALONE_LP")) {
        // A language pack on its own brings no manufacturer content.
        for (int id : {IDC_MANUFACTURER_LIST, IDC_CHECK_ALL, IDC_CLEAR_ALL})
            EnableWindow(GetDlgItem(m_hWnd, id), FALSE);
    }
}

bool CManufacturerContentPage::CommitPage()
{
    const ManufacturerSavePlan plan = m_manufacturers.Save(kManufacturerCount);
    if (CProduct* main = m_manufacturers.MainProduct()) {
        // Commits repeat: the product's cost follows the current choice instead of adding up.
        if (m_setup)
            main->AddExternalCost(CostDrive(*m_setup).c_str(), plan.total - m_costAdded);
        m_costAdded = plan.total;
    }
    UpdateMissingContentMessage(plan.anyChecked);
    return true;
}

void CManufacturerContentPage::UpdateMissingContentMessage(bool anyChecked) const
{
    CProduct* main = m_manufacturers.MainProduct();
    if (!main)
        return;
    const auto texts = LoadLibraryTexts(L"WiraxUIRes.dll", {IDS_MISSING_CONTENT_TEXT, IDS_MISSING_CONTENT_TITLE});
    if (!texts)
        return;
    if (anyChecked)
        main->DeleteMessage(kMissingContentMessageKind, true);
    else
        main->SetMessage(kMissingContentMessageKind, (*texts)[0].c_str(), (*texts)[1].c_str());
}

LRESULT CManufacturerContentPage::OnCheckAll(WORD, WORD, HWND, BOOL&)
{
    m_manufacturers.SetAllChecked(true);
    return 0;
}

LRESULT CManufacturerContentPage::OnClearAll(WORD, WORD, HWND, BOOL&)
{
    m_manufacturers.SetAllChecked(false);
    return 0;
}

LRESULT CManufacturerContentPage::OnEndScroll(int, NMHDR*, BOOL&)
{
    m_manufacturers.RedrawAfterScroll();
    return 0;
}

}  // namespace wiraxui
