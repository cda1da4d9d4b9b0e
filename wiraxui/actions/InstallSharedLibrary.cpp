#include "actions/InstallSharedLibrary.h"

#include "actions/CatalogMerge.h"
#include "actions/FailureText.h"
#include "actions/LinkGuard.h"
#include "actions/ManufacturerLibraries.h"
#include "actions/Paths.h"
#include "actions/TreeCopy.h"
#include "actions/Unpacker.h"
#include "host/Properties.h"
#include "init/ProcessState.h"

#include <SetupHost.h>

namespace wiraxui::actions {

const std::array<const wchar_t*, 14> kLibraryArchives = {
    L"as2.zip",  L"gb2.zip",   L"Hyd_Iso125.zip", L"iec2.zip",  L"iec4.zip",  L"iec-60617.zip", L"ieee.zip",
    L"jic1.zip", L"jic125.zip", L"jis2.zip",      L"NFPA.zip",  L"panel.zip", L"pid.zip",       L"pneu_iso125.zip"};

namespace {

// The language pack's own package folder serves as language source only for a pack of another
// language than the installation's, in the first deployment mode, when the folder is there.
std::wstring LanguageSource(const CSetupManager& setup, const CProduct* main, const InstallContext& context)
{
    const std::wstring fallback = context.sourceRoot + context.platform + L"\\" + context.languageName + L"\\Wirax\\";
    const CProduct* pack = setup.m_languageList.empty() ? nullptr : main->FindLangPack(setup.m_languageList.front().c_str());
    if (!pack || setup.m_setupMode != Setup::SETUPMODE_DEPLOY || _wcsicmp(pack->m_name.c_str(), setup.m_languageName.c_str()) == 0)
        return fallback;
    const std::wstring folder = ParentOf(pack->m_packagePath);
    if (folder.empty() || !FolderExists(folder))
        return fallback;
    return WithBackslash(folder);
}

void ReportCopyFailures(InstallContext& context)
{
    const CopyFailures& failures = context.copyFailures;
    context.ReportFailure(std::to_wstring(failures.count) + (failures.count == 1 ? L" file" : L" files") + L" could not be copied");
    for (const std::wstring& path : failures.first)
        context.ReportFailure(L"not copied: " + OneLine(path));
}

}  // namespace

std::wstring PlcSourceFolder(const std::wstring& languageName)
{
    return languageName + (_wcsicmp(languageName.c_str(), L"en-us") == 0 ? L"\\Plc\\Enu\\" : L"\\Plc\\Loc\\");
}

int UnpackSymbolLibraries(InstallContext& context)
{
    const std::wstring libraries = context.symbolPath + L"Libs";
    if (!FolderExists(libraries))
        CreateFolderChain(libraries);
    const std::wstring archives = context.sourceRoot + context.platform + L"\\WiraxContent\\PF\\Root\\Wirax\\LibZips\\";
    for (const wchar_t* archive : kLibraryArchives) {
        UnpackFailure failure;
        const int result = UnpackArchive(archives + archive, libraries + L"\\", context.CancelProbe(), failure);
        if (result == kFailed)
            return context.ReportFailure(UnpackFailureText(archives + archive, libraries + L"\\", failure));
        if (result != kDone)
            return result;
    }
    return kDone;
}

int CopySupportData(InstallContext& context)
{
    const std::wstring userData = context.languageSource + L"WiraxPS\\PF\\Root\\Wirax\\UDC\\";
    const std::wstring supportData = context.supportPath + L"WxData\\";
    if (const int copied = CopyFolderTree(context, userData, supportData); copied != kDone)
        return copied;
    // A missing environment file is no failure; one that is there and could not be copied is.
    if (!CopyReplacing(userData + L"wd.env", supportData + L"wd.env", false) && FileExists(userData + L"wd.env"))
        context.copyFailures.Record(supportData + L"wd.env");

    const std::wstring plcRoot = context.languageSource + L"WiraxPS\\Wirax\\PF\\TRVN\\Root\\UDC\\";
    if (const int copied = CopyFolderTree(context, plcRoot + PlcSourceFolder(context.languageName), supportData + context.languageName + L"\\Plc\\"); copied != kDone)
        return copied;

    const std::wstring contentRoot = context.languageSource + L"WiraxContentLP\\PF\\Root\\Wirax\\UDC\\";
    if (const int copied = CopyFolderTree(context, contentRoot + context.languageName + L"\\", supportData + context.languageName + L"\\"); copied != kDone)
        return copied;
    return kDone;
}

int InstallSharedLibraries(CSetupManager& setup)
{
    CProduct* main = setup.FindProduct(L"WIRAX_MAIN");
    if (!Setup::IsDeploymentMode(setup.m_setupMode) || setup.m_cancelFlag || !main)
        return kDone;

    ProcessState& state = State();
    InstallContext context(setup);
    context.sourceRoot = WithBackslash(setup.m_sourceRoot);
    context.platform = setup.m_targetPlatform == 2 ? L"x86" : L"x64";
    // Exports that run earlier record the language name; without them the product's own
    // property, which they read it from, serves.
    if (state.languageName.empty())
        state.languageName = ReadProperty(main, L"LANG2LONG");
    context.languageName = state.languageName;
    context.localeId = ReadProperty(main, L"PLNDLOCALEID");
    context.languageSource = LanguageSource(setup, main, context);

    state.sharedSupportPath = WithBackslash(state.sharedSupportPath);
    state.sharedSymbolLibraryPath = WithBackslash(state.sharedSymbolLibraryPath);
    context.supportPath = state.sharedSupportPath;
    context.symbolPath = state.sharedSymbolLibraryPath;
    context.deploymentFolder = setup.m_deploymentFolder;
    context.selected = state.manufacturerSelected;

    if (!state.sharedSupportFlag && !state.sharedSymbolFlag)
        return kDone;
    // A shared location that is empty or relative would put the shared content in the host's
    // current folder or at the root of its drive: nothing is written, and the host is told.
    if (state.sharedSymbolFlag && !IsFullPath(context.symbolPath))
        return context.ReportFailure(L"the shared symbol library folder is not a full path: \"" + OneLine(context.symbolPath) + L"\"");
    if (state.sharedSupportFlag && !IsFullPath(context.supportPath))
        return context.ReportFailure(L"the shared support folder is not a full path: \"" + OneLine(context.supportPath) + L"\"");
    // The language name becomes folder names below the shared support path and in the media, and
    // a quoted argument of the merge tool: one that is not a single plain folder name (..\..\X, or
    // en-us" -X " with its quotes) would move the copies or add arguments, so nothing is written.
    if (state.sharedSupportFlag && !IsPlainFolderName(context.languageName))
        return context.ReportFailure(L"the language name is not a plain folder name: \"" + OneLine(context.languageName) + L"\"");
    // Below the shared roots other users may have put links; none is created, entered or written
    // through, and meeting one fails the step as a damaged destination.
    SharedRootsGuard linkGuard({state.sharedSymbolFlag ? context.symbolPath : std::wstring(),
                                state.sharedSupportFlag ? context.supportPath : std::wstring()});
    int result = kDone;
    if (state.sharedSymbolFlag) {
        if (const int libraries = UnpackSymbolLibraries(context); libraries != kDone)
            return libraries;
        result = InstallManufacturerLibraries(context);
        // A manufacturer folder refused as a link with no archive to unpack into it.
        if (result == kDone && linkGuard.LinkMet())
            result = kFailed;
    }
    // A failed or cancelled manufacturer step ends the work: the support half would only bury
    // the failure under its own result.
    if (state.sharedSupportFlag && result == kDone) {
        if (const int copied = CopySupportData(context); copied != kDone)
            return copied;
        result = MergeCatalogDatabases(context);
        // Files that could not be copied did not stop the others; the host is told at the end, so
        // that a share that filled up is not handed to the clients as complete.
        if (result == kDone && context.copyFailures.count > 0) {
            ReportCopyFailures(context);
            result = kFailed;
        }
    }
    Pause();
    return result;
}

}  // namespace wiraxui::actions
