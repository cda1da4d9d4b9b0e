// Merges the selected manufacturers' catalog data into the shared catalog databases with the
// external merge tool, in a working folder of its own, then compacts them and copies them back.
#pragma once

#include "actions/InstallContext.h"

#include <string>

namespace wiraxui::actions {

// The first free working folder: "<temp>MergeMDB", then "<temp>MergeMDB0", "<temp>MergeMDB1", ...
std::wstring FreeWorkingFolder(const std::wstring& temporaryFolder);

// The merge tool's argument text for one manufacturer folder name.
std::wstring MergeArguments(const std::wstring& languageName, const std::wstring& manufacturerFolder, const std::wstring& workingFolder);

// True when the French locale keeps its own catalog data for this manufacturer.
bool UsesFrenchDatabases(const std::wstring& localeId, const std::wstring& manufacturerFolder);

// kDone or kCancelled (the working folder then stays behind).
int MergeCatalogDatabases(InstallContext& context);

}  // namespace wiraxui::actions
