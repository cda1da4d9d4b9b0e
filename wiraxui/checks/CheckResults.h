// What every check shares: the result words it fills for the host, and when an installer product
// counts as installed. The host's codes (setup modes, install states, message kinds) are the
// host's own (HostVocabulary.h).
#pragma once

#include <HostVocabulary.h>

#include <string>

namespace wiraxui {

// The host passes both pointers; a host that passes none still gets its answer.
inline void WriteResultWords(int* stateResult, int* actionResult, int state, int action)
{
    if (stateResult)
        *stateResult = state;
    if (actionResult)
        *actionResult = action;
}

// Installed means Windows Installer's default state (5); an unknown, empty or malformed code, and
// every other state, count as not installed.
bool IsInstallerProductInstalled(const std::wstring& productCode);

}  // namespace wiraxui
