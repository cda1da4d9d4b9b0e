#include "pages/symbols/SymbolLibrarySelection.h"

#include <HostVocabulary.h>
#include <wchar.h>

namespace wiraxui {

namespace {

void ApplyLocks(LibraryBoxes& boxes, const LibraryLocks& locks)
{
    for (size_t row = 0; row < kDrawingStandardCount; ++row) {
        if (locks.installed[row] && *locks.installed[row] == 1) {
            boxes[row].checked = true;
            boxes[row].enabled = false;
        }
    }
    if (locks.standaloneLanguagePack) {
        for (LibraryBox& box : boxes)
            box.enabled = false;
    }
}

size_t RowOf(const DrawingStandard* standard) { return static_cast<size_t>(standard - kDrawingStandards.data()); }

}  // namespace

LibraryBoxes InitialLibraryBoxes(const LibraryValues& firstProperties, const std::wstring& drawingStandard,
                                 const LibraryLocks& locks)
{
    LibraryBoxes boxes{};
    for (size_t row = 0; row < kDrawingStandardCount; ++row)
        boxes[row].checked = _wcsicmp(firstProperties[row].c_str(), L"1") == 0;
    if (const DrawingStandard* standard = FindOfferedStandard(drawingStandard)) {
        boxes[RowOf(standard)].checked = true;
        boxes[RowOf(standard)].enabled = false;
    }
    ApplyLocks(boxes, locks);
    return boxes;
}

LibrarySavePlan PlanLibrarySave(const std::array<bool, kDrawingStandardCount>& checked, int setupMode,
                                long long manufacturerTotal)
{
    LibrarySavePlan plan;
    plan.bytes = kSymbolLibraryBaseBytes;
    for (size_t row = 0; row < kDrawingStandardCount; ++row) {
        const DrawingStandard& standard = kDrawingStandards[row];
        for (const wchar_t* name : standard.tokenProperties)
            plan.properties.emplace_back(name, checked[row] ? L"1" : standard.clearedValue);
        if (checked[row]) {
            plan.list += standard.token;
            plan.bytes += standard.bytes;
        }
    }
    plan.properties.emplace_back(L"SYMBOLLIBRARY", plan.list);
    if (Setup::IsChangingMode(setupMode))
        plan.bytes += manufacturerTotal;
    return plan;
}

StandardChangePlan PlanStandardChange(const std::wstring& drawingStandard, const LibraryLocks& locks)
{
    StandardChangePlan plan;
    plan.properties = LibraryReset(true);
    plan.boxes.fill(LibraryBox{false, true});
    if (const DrawingStandard* standard = FindOfferedStandard(drawingStandard)) {
        for (const wchar_t* name : standard->chosenProperties)
            plan.properties.emplace_back(name, L"1");
        plan.boxes[RowOf(standard)] = LibraryBox{true, false};
        if (const DrawingStandard* also = FindStandardByBox(standard->alsoCheckedBox))
            plan.boxes[RowOf(also)].checked = true;
    }
    ApplyLocks(plan.boxes, locks);
    return plan;
}

}  // namespace wiraxui
