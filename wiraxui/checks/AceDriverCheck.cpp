#include "checks/AceDriverCheck.h"

#include "checks/AceDriverRules.h"
#include "checks/CheckResults.h"
#include "checks/DriverLog.h"
#include "checks/DriverMachine.h"
#include "exports/ExportGuard.h"
#include "host/ResourceLibrary.h"

#include <HostCore.h>
#include <SetupHost.h>
#include <WiraxUIRes.h>

namespace wiraxui {

namespace {

void ShowHelpLink(CProduct* product)
{
    product->SetAlertUrlTitle(kDriverHelpLink.c_str());
    product->SetAlertUrl(kDriverHelpLink.c_str());
}

bool CheckDriver(int setupMode, CProduct* product, int* stateResult, int* actionResult, int value5, int value6,
                 const wchar_t* hostText, int value8)
{
    CDriverMachine machine;
    const DriverVerdict verdict = JudgeDriver(setupMode, machine);
    const std::wstring text = hostText ? hostText : L"";

    // The texts stay the module's resources until the host's standard check has answered.
    CResourceLibraryLoader library;
    library.Load(ResolveResourceLibrary(L"WiraxUIRes.dll"));
    CResourceInstanceScope resources(library.Module());
    const std::wstring message = LoadResString(IDS_DRIVER_MESSAGE);
    const std::wstring helpFormat = LoadResString(IDS_DRIVER_HELP_LINE);

    if (verdict == DriverVerdict::Deployment && product) {
        product->SetMessage(Setup::MESSAGE_WARNING, message.c_str(), text.c_str());
        ShowHelpLink(product);
    }
    if (verdict == DriverVerdict::Block) {
        if (product)
            product->SetMessage(Setup::MESSAGE_REFUSAL, message.c_str(), text.c_str());
        WriteResultWords(stateResult, actionResult, Setup::INSTALLSTATE_CONFLICT, Setup::INSTALLACTION_LEAVE_OUT);
        if (product)
            ShowHelpLink(product);
        WriteDriverLog(DriverLogPath(), message, FormatHelpLine(helpFormat, kDriverHelpLink));
        return false;
    }
    return HostStandardCheck(setupMode, product, stateResult, actionResult, value5, value6, hostText, value8);
}

}  // namespace

}  // namespace wiraxui

bool CheckAceDriver(int setupMode, CProduct* product, int* stateResult, int* actionResult, int value5, int value6,
                    const wchar_t* hostText, int value8)
{
    return wiraxui::GuardedExport(L"CheckAceDriver", false, [&] {
        return wiraxui::CheckDriver(setupMode, product, stateResult, actionResult, value5, value6, hostText, value8);
    });
}

bool ACE2010DriverCheck(int setupMode, CProduct*, int* stateResult, int* actionResult)
{
    return wiraxui::GuardedExport(L"ACE2010DriverCheck", true, [&] {
        wiraxui::WriteResultWords(stateResult, actionResult, Setup::INSTALLSTATE_NOT_PRESENT, Setup::INSTALLACTION_INSTALL);
        wiraxui::CDriverMachine machine;
        const wiraxui::RequisiteState requisite = wiraxui::JudgeAce2010Requisite(setupMode, machine);
        wiraxui::WriteResultWords(stateResult, actionResult, requisite.state, requisite.action);
        return true;
    });
}
