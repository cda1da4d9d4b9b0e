// The installed electrical products that the catalog browser and its pages ask Windows Installer
// about, as real packages installed for the length of a test:
//  - the product (ELECTRICALPRODUCTCODE): whether its support data is shared, and where;
//  - its language pack (ELECTRICALLPPRODUCTCODE): the language and the user's data folder;
//  - the suite (ELECTRICALPSPRODUCTCODE): the language and the platform identity whose user key
//    records the user's data folder.
// Tests that use them take the CTest lock windows-installer.
#pragma once

#include "MsiProducts.h"

#include <memory>
#include <string>

namespace testsupport {

struct ElectricalProductsSpec {
    std::wstring language = L"English";
    std::wstring sharedSupportPath;  // not empty: the product's support data is shared there
    std::wstring userDataFolder;     // the language pack's "ROAMINGUSERMYDOCSWIRAXFOLDER"
    std::wstring platformVersion = L"27.0";
    std::wstring platformProductId = L"4101";
    std::wstring localeId = L"1033";
    std::wstring manufacturer = L"Tarvena";
    bool withProduct = true;
    bool withLanguagePack = true;
    bool withSuite = true;
};

class InstalledElectricalProducts {
public:
    explicit InstalledElectricalProducts(const ElectricalProductsSpec& spec);
    InstalledElectricalProducts(const InstalledElectricalProducts&) = delete;
    InstalledElectricalProducts& operator=(const InstalledElectricalProducts&) = delete;

    // True when every package asked for was installed; otherwise Failure() says which was not.
    bool Installed() const { return m_failure.empty(); }
    const std::wstring& Failure() const { return m_failure; }

    // Codes of the products; each is a fresh code whether or not it was installed.
    std::wstring productCode = NewGuid();
    std::wstring languagePackCode = NewGuid();
    std::wstring suiteCode = NewGuid();

    // The platform user key (current user) under which the suite records the user's data folder.
    std::wstring platformUserKey;

private:
    void Install(MsiProductInfo info, std::unique_ptr<InstalledMsiProduct>& into);

    std::unique_ptr<InstalledMsiProduct> m_product;
    std::unique_ptr<InstalledMsiProduct> m_languagePack;
    std::unique_ptr<InstalledMsiProduct> m_suite;
    std::wstring m_failure;
};

}  // namespace testsupport
