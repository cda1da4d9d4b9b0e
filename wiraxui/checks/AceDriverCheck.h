// The Access Database Engine driver checks the host runs before it installs.
#pragma once

class CProduct;

extern "C" {
bool CheckAceDriver(int setupMode, CProduct* product, int* stateResult, int* actionResult, int value5, int value6,
                    const wchar_t* hostText, int value8);
bool ACE2010DriverCheck(int setupMode, CProduct* product, int* stateResult, int* actionResult);
}
