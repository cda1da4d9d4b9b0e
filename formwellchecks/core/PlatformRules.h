// When the platform notice applies, and how the plug-in decides that the system is 64-bit.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

namespace formwell {

// The 64-bit answer for the life of the process. The first question asks WOW64; a "yes" there
// holds for good. Otherwise the processor architecture decides, asked afresh every time.
class CBitnessCache {
public:
    // Nothing when the WOW64 query is missing or fails.
    using Wow64Probe = std::function<std::optional<bool>()>;
    using ArchitectureProbe = std::function<WORD()>;

    bool Is64Bit(const Wow64Probe& wow64, const ArchitectureProbe& architecture);

private:
    enum class Answer { Unknown, Wow64, ByArchitecture };
    Answer m_answer = Answer::Unknown;
};

// AMD64 (9) and IA64 (6) are 64-bit architectures.
bool Is64BitArchitecture(WORD architecture);

// The notice is for 64-bit workstations running Windows 8.1 (6.3) or Windows 8 (6.2).
bool PlatformNoticeApplies(bool is64Bit, const std::function<bool(DWORD major, DWORD minor)>& isWorkstationVersion);

}  // namespace formwell
