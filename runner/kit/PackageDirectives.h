// The scenario lines that put Windows Installer products on the machine for the length of a
// scenario, shared by the runner's players:
//   installed-package CODE NAME VERSION [PROPERTY=VALUE ...]   built with msi.dll, installed with msiexec
//   advertised-package CODE NAME VERSION                        registered as advertised only
#pragma once

#include "MsiProducts.h"
#include "Scenario.h"

#include <memory>
#include <string>

namespace testsupport {

// The product a package line describes. Throws hostkit::ScenarioError for a malformed line.
MsiProductInfo ParsePackageLine(const hostkit::ScenarioLine& line, bool allowProperties);

// Removes what an earlier, interrupted run left of the product, then installs or advertises it.
// Throws hostkit::ScenarioError when the machine could not be arranged.
std::unique_ptr<InstalledMsiProduct> ArrangeInstalledPackage(const hostkit::ScenarioLine& line);
std::unique_ptr<AdvertisedMsiProduct> ArrangeAdvertisedPackage(const hostkit::ScenarioLine& line);

// "installed with msiexec: "NAME" VERSION CODE", the report's line for an arranged package.
std::wstring DescribeArrangedPackage(const MsiProductInfo& product, bool advertised);

}  // namespace testsupport
