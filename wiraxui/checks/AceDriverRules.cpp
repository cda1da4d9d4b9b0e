#include "checks/AceDriverRules.h"

#include "checks/CheckResults.h"

#include <HostVocabulary.h>
#include <cwchar>

namespace wiraxui {

const std::wstring kAceEngine64Bit2010 = L"{90140000-00D1-0409-1000-0000000FF1CE}";
const std::wstring kAceEngine64Bit2016 = L"{90160000-00D1-0409-1000-0000000FF1CE}";
const wchar_t kAceEngine32Bit2010[] = L"{90140000-00D1-0409-0000-0000000FF1CE}";
const wchar_t kAceEngine32Bit2016[] = L"{90160000-00D1-0409-0000-0000000FF1CE}";

const std::wstring kDriverHelpLink = L"https://support.tarvena.example/wirax/access-database-engine";

DriverVerdict JudgeDriver(int setupMode, IDriverMachine& machine)
{
    const bool engine2010 = machine.IsInstalled(kAceEngine64Bit2010.c_str());
    const bool engine2016 = machine.IsInstalled(kAceEngine64Bit2016.c_str());
    if (Setup::IsDeploymentMode(setupMode))
        return DriverVerdict::Deployment;
    if (engine2016 || engine2010)
        return DriverVerdict::PassOn;
    if (machine.IsSkipSwitchSet())
        return DriverVerdict::PassOn;
    if (!FindsThirtyTwoBitOfficeOrEngine(machine))
        return DriverVerdict::PassOn;
    return DriverVerdict::Block;
}

bool FindsThirtyTwoBitOfficeOrEngine(IDriverMachine& machine)
{
    bool found = false;
    for (const OfficeBitnessRow& row : kOfficeBitnessRows) {
        const std::wstring bitness = machine.ReadOfficeValue(row);
        if (!bitness.empty() && _wcsicmp(bitness.c_str(), L"x86") == 0) {
            found = true;
            break;
        }
    }
    const bool engine2010 = machine.IsInstalled(kAceEngine32Bit2010);
    const bool engine2016 = machine.IsInstalled(kAceEngine32Bit2016);
    return found || engine2010 || engine2016;
}

RequisiteState JudgeAce2010Requisite(int setupMode, IDriverMachine& machine)
{
    if (Setup::IsDeploymentMode(setupMode))
        return {Setup::INSTALLSTATE_NOT_PRESENT, Setup::INSTALLACTION_INSTALL};
    const bool engine2010 = machine.IsInstalled(kAceEngine64Bit2010.c_str());
    const bool engine2016 = machine.IsInstalled(kAceEngine64Bit2016.c_str());
    if (engine2016 || !engine2010)
        return {Setup::INSTALLSTATE_NOT_PRESENT, Setup::INSTALLACTION_INSTALL};
    return {Setup::INSTALLSTATE_PRESENT, Setup::INSTALLACTION_KEEP};
}

}  // namespace wiraxui
