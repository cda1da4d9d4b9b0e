// Runs fwplatform.exe under a chosen Windows version and reads back what CustomPlatformCheck did.
#pragma once

#include "FormwellChecks.h"

#include <string>

namespace formwellrun {

// Every byte of the record holds this before the plug-in is called.
constexpr unsigned char kUntouchedByte = 0x5A;

struct PlatformCheckOutcome {
    unsigned long exitCode = 1;  // fwplatform's exit code; 0 when the fields below are valid
    bool result = false;         // what CustomPlatformCheck returned
    formwell::PlatformNotice notice{};
    bool Untouched() const;
};

// windowsVersion is Wine's name ("win8", "win81", "win10", ...); empty keeps the prefix's own.
// resourceFolder, when not empty, is the host's resource folder in that process.
PlatformCheckOutcome RunPlatformCheck(const std::wstring& windowsVersion, const std::wstring& resourceFolder = L"");

// A text of the record, or "<unterminated>" when the field holds no terminator.
std::wstring NoticeText(const wchar_t (&field)[1024]);

}  // namespace formwellrun
