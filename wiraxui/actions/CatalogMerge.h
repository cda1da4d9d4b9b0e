// Merges the selected manufacturers' catalog data into the shared catalog databases with the
// external merge tool, in a working folder of its own, then compacts them and copies them back.
#pragma once

#include "actions/InstallContext.h"

#include <string>

namespace wiraxui::actions {

// The first free working folder: "<temp>MergeMDB", then "<temp>MergeMDB0", "<temp>MergeMDB1", ...
std::wstring FreeWorkingFolder(const std::wstring& temporaryFolder);

// True for one plain folder name: not empty, not "." or "..", no separator, wildcard, quote,
// colon or control character, and no trailing dot or blank (which Windows would drop).
bool IsPlainFolderName(const std::wstring& name);

// The merge tool's argument text for one manufacturer folder name.
std::wstring MergeArguments(const std::wstring& languageName, const std::wstring& manufacturerFolder, const std::wstring& workingFolder);

// True when the French locale keeps its own catalog data for this manufacturer.
bool UsesFrenchDatabases(const std::wstring& localeId, const std::wstring& manufacturerFolder);

// kDone; kCancelled when the user cancelled or a quit message ended the wait for a tool that
// still runs (the working folder then stays behind); kFailed when the working folder could not be
// made or held something this call did not put there (no tool then starts and nothing goes back).
int MergeCatalogDatabases(InstallContext& context);

}  // namespace wiraxui::actions
