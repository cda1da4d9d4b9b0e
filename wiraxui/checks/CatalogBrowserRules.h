// Which message and link the catalog browser notice shows for the host's parameter.
#pragma once

#include <string>

namespace wiraxui {

enum class CatalogMessage {
    Default,   // the default text
    Prds,      // the text for a parameter beginning with "prds"
    Parameter, // the parameter's own first piece
};

struct CatalogNoticeChoice {
    CatalogMessage message = CatalogMessage::Default;
    std::wstring ownMessage;  // with CatalogMessage::Parameter
    std::wstring ownLink;     // empty: the default link
};

// The wizard's form: a parameter shorter than four characters leaves every default.
CatalogNoticeChoice ChooseWizardCatalogNotice(const std::wstring& parameter);
// The deployment's form: an empty parameter leaves every default.
CatalogNoticeChoice ChooseDeploymentCatalogNotice(const std::wstring& parameter);

}  // namespace wiraxui
