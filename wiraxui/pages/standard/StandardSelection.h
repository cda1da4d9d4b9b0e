// What committing the drawing standard page writes, decided from plain inputs.
#pragma once

#include "init/DrawingStandards.h"

#include <string>

namespace wiraxui {

struct StandardCommitInput {
    const DrawingStandard* chosen = nullptr;  // the checked radio button's standard, if any
    std::wstring symbolLibrary;               // "SYMBOLLIBRARY" as it is now
    std::wstring folder;                      // the personal data folder
    int setupMode = 0;
    std::wstring sharedSupport;               // "SHAREDSUPPORT"
    std::wstring documentsFolder;             // the user's documents folder
};

// Every write of the commit, in order: the library reset, the chosen standard's libraries,
// "DRAWINGSTANDARD", the libraries "SYMBOLLIBRARY" lists (or a new "SYMBOLLIBRARY"), the
// personal data folder and, where the setup mode asks for it, "NETPERSONALWXDATAPATH".
PropertyWrites PlanStandardCommit(const StandardCommitInput& input);

}  // namespace wiraxui
