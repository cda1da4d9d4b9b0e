// The running system as the platform notice sees it.
#pragma once

#include <windows.h>

namespace formwell {

// Whether the system is 64-bit; the answer is cached for the process as CBitnessCache describes.
bool SystemIs64Bit();

// True when VerifyVersionInfoW confirms exactly this major and minor version on a workstation.
bool IsWorkstationVersion(DWORD major, DWORD minor);

}  // namespace formwell
