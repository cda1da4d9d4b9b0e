#include "pages/standard/StandardSelection.h"

#include "pages/controls/FolderField.h"

#include <HostVocabulary.h>

namespace wiraxui {

PropertyWrites PlanStandardCommit(const StandardCommitInput& input)
{
    PropertyWrites writes = LibraryReset(false);
    const std::wstring code = input.chosen ? input.chosen->code : L"";
    if (input.chosen) {
        for (const wchar_t* name : input.chosen->chosenProperties)
            writes.emplace_back(name, L"1");
    }
    writes.emplace_back(L"DRAWINGSTANDARD", code);

    // No standard at all is found in any list.
    if (input.symbolLibrary.find(code) != std::wstring::npos) {
        for (const DrawingStandard& standard : kDrawingStandards) {
            if (standard.listedProperties.empty() || !ListContains(input.symbolLibrary, standard.code))
                continue;
            for (const wchar_t* name : standard.listedProperties)
                writes.emplace_back(name, L"1");
        }
    } else {
        writes.emplace_back(L"SYMBOLLIBRARY", code);
    }

    writes.emplace_back(L"ROAMINGUSERMYDOCSWIRAXFOLDER", input.folder);
    if (!Setup::IsDeploymentMode(input.setupMode))
        writes.emplace_back(L"NETPERSONALWXDATAPATH", L"0");
    else if (input.sharedSupport == L"0")
        writes.emplace_back(L"NETPERSONALWXDATAPATH", PathContains(input.folder, input.documentsFolder) ? L"1" : L"0");
    return writes;
}

}  // namespace wiraxui
