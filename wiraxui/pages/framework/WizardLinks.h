// Where the help links of a wizard page lead: the online address while the machine is online,
// the installation's own copy of the document otherwise.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace wiraxui {

// Online addresses this long or longer are not used.
constexpr size_t kMaxLinkAddress = 2084;

struct LinkSources {
    std::wstring onlineAddress;
    std::wstring offlinePath;     // relative to one of the two folders below, or absolute
    std::wstring hostResFolder;   // CSetupManager::GetHostResPath
    std::wstring sourceResFolder; // CSetupManager::GetSourceResPath
    std::wstring uiLanguage;      // replaces "%setuphostlang%"
};

using FileExists = std::function<bool(const std::wstring&)>;

// What to open for a link, or nothing when there is no usable address or document.
std::optional<std::wstring> ResolveWizardLink(const LinkSources& sources, bool online, const FileExists& exists);

// Joins a folder and a relative path with exactly one backslash between them.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& relative);

bool IsUrl(const std::wstring& target);

}  // namespace wiraxui
