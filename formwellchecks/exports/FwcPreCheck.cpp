// FwcPreCheck: blocks the installation while companion products are installed in an older
// version than this installation brings, and says which on the verdict product "FWCPRECHECK".
#include "exports/ExportGuard.h"
#include "exports/Exports.h"

#include "core/CompanionVersions.h"
#include "host/HostProduct.h"
#include "host/ResourceTexts.h"
#include "platform/InstalledProducts.h"

#include "FormwellUIRes.h"

namespace formwell {
namespace {

CProduct* FindCompanion(const CSetupManager& setup, const wchar_t* key)
{
    const QString name = QString::fromWCharArray(key);
    CProduct* companion = setup.FindProduct(name);
    return companion ? companion : setup.FindRequisite(name);
}

// The entry of an examined companion whose installed version is older; empty otherwise.
std::wstring OutdatedCompanionEntry(const CProduct& companion)
{
    if (!IsExaminedAction(companion.m_installAction))
        return std::wstring();
    const std::wstring offeredVersion = ReadProperty(companion, L"ProductVersion");
    const std::wstring productCode = ReadProperty(companion, L"ProductCode");
    if (offeredVersion.empty() || productCode.empty())
        return std::wstring();
    const std::optional<std::wstring> installedVersion = InstallerProductInfo(productCode, L"VersionString");
    if (!installedVersion || !IsOlderVersion(*installedVersion, offeredVersion))
        return std::wstring();
    const std::wstring installedName = InstallerProductInfo(productCode, L"InstalledProductName").value_or(L"");
    return OutdatedEntry(installedName, *installedVersion);
}

void CheckCompanions(const CProduct& product)
{
    const CSetupManager* setup = product.m_pSetupManager;
    if (!setup)
        return;
    std::wstring outdated;
    for (const wchar_t* key : kCompanionProductKeys) {
        if (const CProduct* companion = FindCompanion(*setup, key))
            outdated += OutdatedCompanionEntry(*companion);
    }

    CProduct* verdict = setup->FindProduct(QString::fromWCharArray(kVerdictProductKey));
    if (!verdict)
        return;
    if (outdated.empty()) {
        verdict->SetInstallState(Setup::INSTALLSTATE_AVAILABLE);
        verdict->SetInstallAction(Setup::INSTALLSTATE_PROCEED, nullptr, false);
        return;
    }
    const std::wstring message = OutdatedMessage(LoadFormwellText(IDS_OUTDATED_COMPANIONS_HEADING), outdated);
    verdict->SetInstallState(Setup::INSTALLSTATE_BLOCKED);
    verdict->SetInstallAction(Setup::INSTALLSTATE_IGNORE, nullptr, false);
    verdict->SetMessage(Setup::INSTALLSTATE_BLOCKED, Setup::INSTALLSTATE_IGNORE, ToQString(message));
    verdict->SetAlertUrl(ToQString(LoadFormwellText(IDS_OUTDATED_COMPANIONS_LINK)));
    verdict->SetAlertUrlTitle(ToQString(LoadFormwellText(IDS_ALERT_LINK_TITLE)));
}

}  // namespace
}  // namespace formwell

extern "C" bool FwcPreCheck(void* /*hostValue*/, CProduct* product)
{
    return formwell::GuardedExport(L"FwcPreCheck", true, [&] {
        if (product)
            formwell::CheckCompanions(*product);
        return true;
    });
}
