// The page exports hostrun knows, by family; each is played by the page-step player.
#include "pages/PageSteps.h"

namespace runner {

namespace {

const bool kRegistered = [] {
    WiraxExports()[L"ManufacturerContentPage"] = PlayConfigurationPage;
    WiraxExports()[L"ManufacturerContentDialog"] = PlayWizardPage;
    return true;
}();

}  // namespace

}  // namespace runner
