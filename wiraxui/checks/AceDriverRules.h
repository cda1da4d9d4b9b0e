// When the Access Database Engine driver blocks the electrical product: the engine products, the
// places where Office tells its bitness, and the order in which the machine is asked.
#pragma once

#include <string>

namespace wiraxui {

// Windows Installer product codes of the engine redistributables.
extern const std::wstring kAceEngine64Bit2010;
extern const std::wstring kAceEngine64Bit2016;
extern const wchar_t kAceEngine32Bit2010[];
extern const wchar_t kAceEngine32Bit2016[];

// One web address, shown both as the alert link and as its title.
extern const std::wstring kDriverHelpLink;

// Office bitness rows under HKEY_LOCAL_MACHINE, tried in this order.
struct OfficeBitnessRow {
    const wchar_t* key;
    const wchar_t* value;
};
constexpr OfficeBitnessRow kOfficeBitnessRows[] = {
    {L"SOFTWARE\\Microsoft\\Office\\ClickToRun\\Configuration", L"Platform"},
    {L"SOFTWARE\\Microsoft\\Office\\16.0\\Outlook", L"Bitness"},
    {L"SOFTWARE\\Microsoft\\Office\\15.0\\Outlook", L"Bitness"},
    {L"SOFTWARE\\Microsoft\\Office\\14.0\\Outlook", L"Bitness"},
};

// What the driver check asks of the machine.
class IDriverMachine {
public:
    virtual ~IDriverMachine() = default;
    virtual bool IsInstalled(const wchar_t* productCode) = 0;
    virtual bool IsSkipSwitchSet() = 0;
    // The row's value as a string; empty when it is missing or not a sound string.
    virtual std::wstring ReadOfficeValue(const OfficeBitnessRow& row) = 0;
};

enum class DriverVerdict {
    Deployment,  // a deployment is built: the notice is attached and the host decides
    PassOn,      // nothing on this machine conflicts: the host's standard check decides
    Block,       // 32-bit Office or engine and no 64-bit engine
};

// Both 64-bit engines are asked first, 2010 before 2016, whatever the mode. In a deployment
// nothing else is looked at; otherwise the skip switch, then the bitness probe, each only when
// the step before did not decide.
DriverVerdict JudgeDriver(int setupMode, IDriverMachine& machine);

// True when a 32-bit Office or a 32-bit engine is present. Office rows are read in order until one
// says "x86"; the 32-bit engines are asked in any case, 2010 first.
bool FindsThirtyTwoBitOfficeOrEngine(IDriverMachine& machine);

// The 2010 engine requisite: state and action the host receives.
struct RequisiteState {
    int state;
    int action;
};
RequisiteState JudgeAce2010Requisite(int setupMode, IDriverMachine& machine);

}  // namespace wiraxui
