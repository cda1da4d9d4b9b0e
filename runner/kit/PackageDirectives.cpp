#include "PackageDirectives.h"

namespace testsupport {

using hostkit::ScenarioError;

namespace {

void ClearEarlierRegistration(const hostkit::ScenarioLine& line, const MsiProductInfo& product)
{
    // What an earlier, interrupted run left behind would otherwise decide the outcome.
    if (!RemoveMsiProduct(product.productCode))
        throw ScenarioError(line.number, L"could not remove the earlier registration of " + product.productCode);
}

}  // namespace

MsiProductInfo ParsePackageLine(const hostkit::ScenarioLine& line, bool allowProperties)
{
    const std::wstring usage = line.words[0] + (allowProperties ? L" CODE NAME VERSION [PROPERTY=VALUE ...]"
                                                                : L" CODE NAME VERSION");
    hostkit::ExpectWords(line, 3, allowProperties ? 64 : 3, usage.c_str());
    MsiProductInfo product{line.words[1], line.words[2], line.words[3]};
    if (SquashedGuid(product.productCode).empty())
        throw ScenarioError(line.number,
                            L"'" + product.productCode + L"' is not a product code {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}");
    for (size_t i = 4; i < line.words.size(); ++i) {
        const std::wstring& word = line.words[i];
        const size_t equals = word.find(L'=');
        // The installer refuses empty values in its Property table, so an empty value is a mistake.
        if (equals == 0 || equals == std::wstring::npos || equals + 1 == word.size())
            throw ScenarioError(line.number, L"'" + word + L"' is not PROPERTY=VALUE");
        const std::wstring name = word.substr(0, equals);
        if (name == L"Manufacturer")
            product.manufacturer = word.substr(equals + 1);
        else
            product.properties.emplace_back(name, word.substr(equals + 1));
    }
    return product;
}

std::unique_ptr<InstalledMsiProduct> ArrangeInstalledPackage(const hostkit::ScenarioLine& line)
{
    const MsiProductInfo product = ParsePackageLine(line, true);
    ClearEarlierRegistration(line, product);
    auto installed = std::make_unique<InstalledMsiProduct>(product);
    if (!installed->Installed())
        throw ScenarioError(line.number, L"could not arrange the package: " + installed->Failure());
    return installed;
}

std::unique_ptr<AdvertisedMsiProduct> ArrangeAdvertisedPackage(const hostkit::ScenarioLine& line)
{
    const MsiProductInfo product = ParsePackageLine(line, false);
    ClearEarlierRegistration(line, product);
    auto advertised = std::make_unique<AdvertisedMsiProduct>(product);
    if (!advertised->Registered())
        throw ScenarioError(line.number, L"could not arrange the package: " + advertised->Failure());
    return advertised;
}

std::wstring DescribeArrangedPackage(const MsiProductInfo& product, bool advertised)
{
    return (advertised ? L"advertised for Windows Installer: \"" : L"installed with msiexec: \"") +
           product.productName + L"\" " + product.productVersion + L" " + product.productCode;
}

}  // namespace testsupport
