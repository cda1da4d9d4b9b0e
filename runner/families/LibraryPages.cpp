// The drawing standard, symbol library and shared library pages in scenarios (played like every
// page, see PageSteps.h), and the features of a product's package that the shared library page
// sets to install locally.
#include "pages/PageSteps.h"
#include "engine/WiraxPlayer.h"

namespace runner {

namespace {

using hostkit::ScenarioLine;

void DeclareFeature(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    hostkit::ExpectWords(line, 2, 2, L"feature PRODUCT NAME");
    CProduct* product = hostkit::RequireDeclared(line, line.words[1], session.setup.FindProduct(line.words[1].c_str()));
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
