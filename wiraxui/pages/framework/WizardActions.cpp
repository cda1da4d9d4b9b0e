#include "pages/framework/WizardActions.h"

#include "host/ResourceLibrary.h"
#include "pages/framework/CancelDialog.h"
#include "pages/controls/RichLabelLinks.h"
#include "pages/framework/WizardLinks.h"
#include "util/WebLink.h"

#include <SetupHost.h>
#include <UsageTrack.h>
#include <WiraxUIRes.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <wininet.h>

namespace wiraxui {

namespace {

constexpr int kNoAssociation = SE_ERR_NOASSOC;  // 31

bool FileExistsOnDisk(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsOnline()
{
    DWORD flags = 0;
    return InternetGetConnectedStateExW(&flags, nullptr, 0, 0) != FALSE;
}

INT_PTR ShellOpen(const std::wstring& target)
{
    return reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
}

void ShowNoPdfReader()
{
    MessageBoxW(nullptr, LoadResString(IDS_NO_PDF_READER_TEXT).c_str(), LoadResString(IDS_NO_PDF_READER_TITLE).c_str(),
                MB_OK | MB_ICONWARNING);
}

std::wstring HostProgramFolder()
{
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    path[MAX_PATH - 1] = L'\0';
    PathRemoveFileSpecW(path);
    return path;
}

void OpenPdf(const std::wstring& target)
{
    // A relative target would first be looked for in the process's current folder, which a folder
    // dialog (or whoever started the installer) may have left in a folder any user can write: the
    // host names its documents relative to its own folder, and only there are they opened.
    if (!IsAbsolutePath(target) && !PathIsURLW(target.c_str())) {
        if (ShellOpen(JoinPath(HostProgramFolder(), target)) == kNoAssociation)
            ShowNoPdfReader();
        return;
    }
    const INT_PTR result = ShellOpen(target);
    if (result == kNoAssociation) {
        ShowNoPdfReader();
    } else if (result <= 32) {
        // The host names its documents relative to its own folder.
        if (ShellOpen(JoinPath(HostProgramFolder(), target)) == kNoAssociation)
            ShowNoPdfReader();
    }
}

}  // namespace

bool ConfirmCancel(HWND page, CSetupManager& setup)
{
    setup.EnableCancelling(false);
    INT_PTR answer = IDNO;
    {
        CResourceLibraryLoader host;
        if (host.Load(ResolveResourceLibrary(L"HostRes.dll"))) {
            CResourceInstanceScope scope(host.Module());
            CCancelDialog dialog(setup.m_setupMode);
            answer = dialog.DoModal(page);
        }
    }
    if (answer != IDYES) {
        setup.OnCancel(false);
        setup.EnableCancelling(true);
        return false;
    }
    if (setup.m_setupMode == Setup::SETUPMODE_DEPLOY)
        setup.CancelDeployment();
    setup.m_resultCode = Setup::RESULT_CANCELLED;
    setup.SetMsiProperty(L"TRVN_SETUP_SUCCEEDED", L"", false);
    return true;
}

void OpenWizardLink(WizardLink link, const CSetupManager* setup, const std::wstring& onlineAddress)
{
    LinkSources sources;
    sources.onlineAddress = onlineAddress;
    if (setup) {
        sources.offlinePath = link == WizardLink::Documentation ? setup->m_documentationPath
                              : link == WizardLink::Support     ? setup->m_supportPath
                                                                : setup->m_requirementsPath;
        sources.hostResFolder = setup->GetHostResPath();
        sources.sourceResFolder = setup->GetSourceResPath();
        sources.uiLanguage = setup->m_uiLanguage;
    }
    if (const auto target = ResolveWizardLink(sources, IsOnline(), FileExistsOnDisk))
        OpenWebLink(*target);
    switch (link) {
    case WizardLink::Documentation:
        UsageTrack::wpDocumentationLinkClicked();
        break;
    case WizardLink::Support:
        UsageTrack::wpSupportLinkClicked();
        break;
    case WizardLink::Requirements:
        UsageTrack::wpRequirementLinkClicked();
        break;
    }
}

void OpenRichLabelTarget(const std::wstring& target, const CSetupManager* setup)
{
    switch (ClassifyRichLabelTarget(target)) {
    case RichLabelTarget::Pdf:
        OpenPdf(target);
        break;
    case RichLabelTarget::Html: {
        const std::wstring hostRes = setup ? setup->GetHostResPath() : std::wstring();
        const std::wstring sourceRes = setup ? setup->GetSourceResPath() : std::wstring();
        if (const auto resolved = ResolveHtmlTarget(target, hostRes, sourceRes, FileExistsOnDisk))
            OpenWebLink(*resolved);
        break;
    }
    case RichLabelTarget::Ignored:
        break;
    }
}

std::wstring UsageWhitelistPath(const CSetupManager* setup)
{
    const std::wstring folder = setup ? setup->m_setupFolder : std::wstring();
    return JoinPath(JoinPath(folder, L"Setup"), L"whitelist.xml");
}

}  // namespace wiraxui
