#include "core/PlatformRules.h"

namespace formwell {

bool CBitnessCache::Is64Bit(const Wow64Probe& wow64, const ArchitectureProbe& architecture)
{
    if (m_answer == Answer::Unknown) {
        const std::optional<bool> underWow64 = wow64();
        m_answer = underWow64 && *underWow64 ? Answer::Wow64 : Answer::ByArchitecture;
    }
    return m_answer == Answer::Wow64 || Is64BitArchitecture(architecture());
}

bool Is64BitArchitecture(WORD architecture)
{
    return architecture == PROCESSOR_ARCHITECTURE_AMD64 || architecture == PROCESSOR_ARCHITECTURE_IA64;
}

bool PlatformNoticeApplies(bool is64Bit, const std::function<bool(DWORD major, DWORD minor)>& isWorkstationVersion)
{
    return is64Bit && (isWorkstationVersion(6, 3) || isWorkstationVersion(6, 2));
}

}  // namespace formwell
