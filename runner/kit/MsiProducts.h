// Products that Windows Installer reports for the length of a test: installed ones (a real package
// installed with msiexec) and advertised ones.
//
// Tests that change what Windows Installer knows share one machine-wide state; run them one at a
// time (CTest: RESOURCE_LOCK windows-installer).
#pragma once

#include "MsiPackage.h"

#include <string>
#include <vector>

namespace testsupport {

// The product code in the installer's registry form (each group's characters reversed pairwise),
// as product keys are named under the installer's registration.
std::wstring SquashedGuid(const std::wstring& productCode);

// Removes the product with "msiexec /x" if Windows Installer knows it as installed, and any
// advertised registration this helper made for it. True when it is gone afterwards.
bool RemoveMsiProduct(const std::wstring& productCode);

// Builds the package in the temporary folder and installs it with "msiexec /i ... /qn"; removes
// the product again when it goes out of scope.
class InstalledMsiProduct {
public:
    explicit InstalledMsiProduct(MsiProductInfo product);
    ~InstalledMsiProduct();
    InstalledMsiProduct(const InstalledMsiProduct&) = delete;
    InstalledMsiProduct& operator=(const InstalledMsiProduct&) = delete;

    // True when msiexec finished with success; otherwise Failure() says what went wrong.
    bool Installed() const { return m_installed; }
    const std::wstring& Failure() const { return m_failure; }
    const MsiProductInfo& Product() const { return m_product; }

private:
    MsiProductInfo m_product;
    bool m_installed = false;
    std::wstring m_failure;
};

// A per-machine product that Windows Installer reports as advertised (state 1): its product key
// is registered, and its install properties name and version it, but no installation is recorded.
// This is the registration an advertisement leaves; msiexec cannot advertise under Wine.
class AdvertisedMsiProduct {
public:
    explicit AdvertisedMsiProduct(MsiProductInfo product);
    ~AdvertisedMsiProduct();
    AdvertisedMsiProduct(const AdvertisedMsiProduct&) = delete;
    AdvertisedMsiProduct& operator=(const AdvertisedMsiProduct&) = delete;

    bool Registered() const { return m_registered; }
    const std::wstring& Failure() const { return m_failure; }
    const MsiProductInfo& Product() const { return m_product; }

private:
    MsiProductInfo m_product;
    bool m_registered = false;
    std::wstring m_failure;
};

}  // namespace testsupport
