// LpEval: refuses the base product while a language pack of it from another installation is
// still on the machine; such a pack would be orphaned or mixed with the new installation.
#include "exports/ExportGuard.h"
#include "exports/Exports.h"

#include "core/ProductFamilies.h"
#include "host/HostProduct.h"
#include "host/ResourceTexts.h"
#include "platform/InstalledProducts.h"

#include "FormwellUIRes.h"

namespace formwell {
namespace {

bool EvaluateLanguagePacks(CProduct& product)
{
    const ProductFamily* family = FindFamily(ReadProperty(product, L"GLOBPRODUCTCODE"));
    if (!family)
        return false;
    const std::wstring productCode = ReadProperty(product, L"ProductCode");
    // Only a product about to be installed can collide with a pack left behind.
    if (product.GetInstallState(QString()) != Setup::INSTALLSTATE_AVAILABLE)
        return false;

    const std::optional<std::wstring> leftover = FirstPresentCode(LanguagePackCodeList(*family), InstallerProductState);
    if (!leftover)
        return false;
    // A language pack evaluated on its own is not refused because of another pack.
    if (!IsBaseProductCode(productCode))
        return false;
    if (!InstallerProductInfo(*leftover, L"VersionString"))
        return false;
    const std::optional<std::wstring> packName = InstallerProductInfo(*leftover, L"InstalledProductName");
    if (!packName)
        return false;

    const std::wstring message = LeftoverPackMessage(LoadFormwellText(IDS_LEFTOVER_LANGUAGE_PACK_HEADING), *packName);
    product.SetInstallState(Setup::INSTALLSTATE_AVAILABLE);
    product.SetInstallAction(Setup::INSTALLSTATE_IGNORE, nullptr, false);
    product.SetMessage(Setup::INSTALLSTATE_BLOCKED, Setup::INSTALLSTATE_IGNORE, ToQString(message));
    product.SetAlertUrl(ToQString(LoadFormwellText(family->packLinkId)));
    product.SetAlertUrlTitle(ToQString(LoadFormwellText(IDS_ALERT_LINK_TITLE)));
    return true;
}

}  // namespace
}  // namespace formwell

extern "C" bool LpEval(void* /*hostValue*/, CProduct* product)
{
    return formwell::GuardedExport(L"LpEval", false, [&] { return product && formwell::EvaluateLanguagePacks(*product); });
}
