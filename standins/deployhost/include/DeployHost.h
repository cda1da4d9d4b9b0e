// The host's deployment helpers that pages use: opening a hyperlink found in a text.
#pragma once

#include <string>
#include <vector>

#ifdef DEPLOYHOST_BUILD
#define DEPLOYHOST_API __declspec(dllexport)
#else
#define DEPLOYHOST_API __declspec(dllimport)
#endif

namespace UrlUtil {

// The link inside text: an href="..." target, else the first word that starts like an address
// (http://, https://, ftp://, mailto:, www.), else the whole text without surrounding blanks.
DEPLOYHOST_API std::string ExtractHyperlink(const char* text);

// Extracts the link and opens it with the shell; false when there was none or opening failed.
DEPLOYHOST_API bool ExtractAndOpenHyperlink(const char* text);

// The stand-in's journal of extracted links, and a switch that keeps it from starting programs
// (runners and tests that only want to see what would be opened).
DEPLOYHOST_API std::vector<std::string> OpenedLinks();
DEPLOYHOST_API void ClearOpenedLinks();
DEPLOYHOST_API void SetShellOpening(bool enabled);

}  // namespace UrlUtil
