#include "actions/ManufacturerLibraries.h"

#include "actions/FailureText.h"
#include "actions/Paths.h"
#include "actions/Unpacker.h"

namespace wiraxui::actions {

namespace {

// A missing archive is no error: not every manufacturer has both kinds of panels. Its folder is
// made all the same.
int UnpackIfPresent(InstallContext& context, const std::wstring& archive, const std::wstring& destination)
{
    CreateFolderChain(destination);
    if (!FileExists(archive))
        return kDone;
    UnpackFailure failure;
    const int result = UnpackArchive(archive, destination, context.CancelProbe(), failure);
    if (result == kFailed)
        return context.ReportFailure(UnpackFailureText(archive, destination, failure));
    return result;
}

}  // namespace

int InstallManufacturerLibraries(InstallContext& context)
{
    if (context.Cancelled())
        return kCancelled;
    context.progress.Phase();
    context.progress.Reset(context.SelectedCount());
    const std::wstring archives = context.sourceRoot + context.platform + L"\\WiraxContent\\PF\\Root\\Wirax\\Manufacturer\\";
    for (size_t row = 0; row < kManufacturerCount; ++row) {
        if (context.Cancelled())
            return kCancelled;
        if (context.selected[row] != 1)
            continue;
        const Manufacturer& manufacturer = kManufacturers[row];
        const std::wstring folder = manufacturer.folderName;
        const std::wstring base = manufacturer.archiveName;
        if (const int result = UnpackIfPresent(context, archives + base + L".zip", context.symbolPath + L"Libs\\panel\\" + folder + L"\\"); result != kDone)
            return result;
        context.progress.Step();
        if (const int result = UnpackIfPresent(context, archives + base + L"_mm.zip", context.symbolPath + L"Libs\\panel_mm\\" + folder + L"\\"); result != kDone)
            return result;
        context.progress.Step();
    }
    return kDone;
}

}  // namespace wiraxui::actions
