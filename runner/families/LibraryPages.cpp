// The drawing standard, symbol library and shared library pages in scenarios (played like every
// page, see PageSteps.h), and what they need from a scenario beyond the built-in directives:
//
//   feature PRODUCT NAME          the product's package has the feature NAME (the shared
//                                 library page sets features to install locally)
//   deployment-folder PATH        the deployment's folder (the shared page starts there)
#include "pages/PageSteps.h"
#include "engine/WiraxPlayer.h"

namespace runner {

namespace {

using hostkit::ScenarioError;
using hostkit::ScenarioLine;

void ExpectArguments(const ScenarioLine& line, size_t count, const wchar_t* form)
{
    if (line.words.size() != count + 1)
        throw ScenarioError(line.number, std::wstring(L"expected: ") + form);
}

void DeclareFeature(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    ExpectArguments(line, 2, L"feature PRODUCT NAME");
    CProduct* product = session.setup.FindProduct(line.words[1].c_str());
    if (!product)
        throw ScenarioError(line.number, L"unknown product '" + line.words[1] + L"' (declare it with 'product' first)");
    product->m_featureManager.AddFeature(line.words[2]);
    report.Line(L"feature " + line.words[2] + L" of " + line.words[1]);
}

const bool kRegistered = [] {
    WiraxDirectives()[L"feature"] = DeclareFeature;
    WiraxExports()[L"StandardSelectionPage"] = PlayConfigurationPage;
    WiraxExports()[L"SymbolLibraryPage"] = PlayConfigurationPage;
    WiraxExports()[L"SymbolLibraryDialog"] = PlayWizardPage;
    WiraxExports()[L"SharedLibraryPage"] = PlayConfigurationPage;
    return true;
}();

}  // namespace

}  // namespace runner
