// What a link inside a rich label of a wizard page opens.
#pragma once

#include "pages/framework/WizardLinks.h"

#include <optional>
#include <string>

namespace wiraxui {

enum class RichLabelTarget { Pdf, Html, Ignored };

// By the target's extension: ".pdf", ".htm"/".html" (also with a query, ".html?x=1").
RichLabelTarget ClassifyRichLabelTarget(const std::wstring& target);

// An HTML target as the browser gets it: addresses unchanged, local documents looked up under
// the host's resource folder, then the source's, and given as file:/// addresses.
std::optional<std::wstring> ResolveHtmlTarget(const std::wstring& target, const std::wstring& hostResFolder,
                                              const std::wstring& sourceResFolder, const FileExists& exists);

}  // namespace wiraxui
