// The symbol library choice decided from plain inputs: which boxes start checked and locked,
// what a save writes and costs, and what a change of drawing standard does to the boxes.
#pragma once

#include "init/DrawingStandards.h"

#include <array>
#include <optional>
#include <string>

namespace wiraxui {

struct LibraryBox {
    bool checked = false;
    bool enabled = true;
};
// One per row of the drawing-standard table, in its order.
using LibraryBoxes = std::array<LibraryBox, kDrawingStandardCount>;
using LibraryValues = std::array<std::wstring, kDrawingStandardCount>;
using InstalledLibraries = std::array<std::optional<unsigned long>, kDrawingStandardCount>;

struct LibraryLocks {
    // Registry values of an installation being changed (setup modes 2 and 3), per row.
    InstalledLibraries installed;
    bool standaloneLanguagePack = false;  // "STANDALONE_LP" is "1"
};

// firstProperties: each row's first box library as the product holds it.
LibraryBoxes InitialLibraryBoxes(const LibraryValues& firstProperties, const std::wstring& drawingStandard,
                                 const LibraryLocks& locks);

struct LibrarySavePlan {
    PropertyWrites properties;  // box libraries in table order, then "SYMBOLLIBRARY"
    std::wstring list;          // the tokens of the checked boxes
    long long bytes = 0;
};

// manufacturerTotal is added in setup modes 2 and 3 only.
LibrarySavePlan PlanLibrarySave(const std::array<bool, kDrawingStandardCount>& checked, int setupMode,
                                long long manufacturerTotal);

struct StandardChangePlan {
    PropertyWrites properties;
    LibraryBoxes boxes;
};

// The reset and the new standard's libraries and boxes. Libraries that an installation has and
// a stand-alone language pack stay locked as they were when the page opened.
StandardChangePlan PlanStandardChange(const std::wstring& drawingStandard, const LibraryLocks& locks);

}  // namespace wiraxui
