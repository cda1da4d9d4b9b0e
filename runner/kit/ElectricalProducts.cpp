#include "ElectricalProducts.h"

namespace testsupport {

InstalledElectricalProducts::InstalledElectricalProducts(const ElectricalProductsSpec& spec)
    : platformUserKey(L"SOFTWARE\\" + spec.manufacturer + L"\\Plandra\\" + spec.platformVersion + L"\\PLND-" +
                      spec.platformProductId + L":" + spec.localeId)
{
    if (spec.withProduct) {
        MsiProductInfo product{productCode, L"Wirax Test Product", L"27.0.1"};
        product.manufacturer = spec.manufacturer;
        product.properties = {{L"SHAREDSUPPORT", spec.sharedSupportPath.empty() ? L"0" : L"1"}};
        if (!spec.sharedSupportPath.empty())
            product.properties.emplace_back(L"NETSHAREDSUPPORTPATH", spec.sharedSupportPath);
        Install(std::move(product), m_product);
    }
    if (spec.withLanguagePack) {
        MsiProductInfo languagePack{languagePackCode, L"Wirax Test Language Pack", L"27.0.1"};
        languagePack.manufacturer = spec.manufacturer;
        languagePack.properties = {{L"LANG2LONG", spec.language}};
        if (!spec.userDataFolder.empty())
            languagePack.properties.emplace_back(L"ROAMINGUSERMYDOCSWIRAXFOLDER", spec.userDataFolder);
        Install(std::move(languagePack), m_languagePack);
    }
    if (spec.withSuite) {
        MsiProductInfo suite{suiteCode, L"Wirax Test Suite", L"27.0.1"};
        suite.manufacturer = spec.manufacturer;
        suite.properties = {{L"LANG2LONG", spec.language},
                            {L"PLNDVERSION", spec.platformVersion},
                            {L"PLNDPRODUCTID", spec.platformProductId},
                            {L"PLNDLOCALEID", spec.localeId}};
        Install(std::move(suite), m_suite);
    }
}

void InstalledElectricalProducts::Install(MsiProductInfo info, std::unique_ptr<InstalledMsiProduct>& into)
{
    const std::wstring name = info.productName;
    into = std::make_unique<InstalledMsiProduct>(std::move(info));
    if (!into->Installed() && m_failure.empty())
        m_failure = name + L": " + into->Failure();
}

}  // namespace testsupport
