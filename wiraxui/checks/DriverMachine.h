// The machine as the driver check sees it: Windows Installer, the skip switch in the environment
// and the Office bitness rows in the registry's 64-bit view.
#pragma once

#include "checks/AceDriverRules.h"

#include <windows.h>

namespace wiraxui {

class CDriverMachine : public IDriverMachine {
public:
    bool IsInstalled(const wchar_t* productCode) override;
    bool IsSkipSwitchSet() override;
    std::wstring ReadOfficeValue(const OfficeBitnessRow& row) override;
};

// "SkipAccessDriverCheck" read into two characters: set only by exactly "1".
bool ReadSkipSwitch();

// A string value of at most 254 characters (REG_SZ or REG_EXPAND_SZ) whose data ends with its
// terminator; anything else, a missing key or value included, reads as empty.
std::wstring ReadShortRegistryString(HKEY root, const wchar_t* key, const wchar_t* value);

}  // namespace wiraxui
