// What every check shares: the deployment modes, the result words it fills for the host, and when
// an installer product counts as installed.
#pragma once

#include <string>

namespace wiraxui {

// The host builds a deployment in modes 4, 5 and 6 rather than installing on this machine.
inline bool IsDeploymentMode(int setupMode) { return setupMode == 4 || setupMode == 5 || setupMode == 6; }

// The host passes both pointers; a host that passes none still gets its answer.
inline void WriteResultWords(int* stateResult, int* actionResult, int state, int action)
{
    if (stateResult)
        *stateResult = state;
    if (actionResult)
        *actionResult = action;
}

// Message kinds of CProduct::SetMessage that the checks and notices post.
constexpr int kNoticeMessageKind = 1;
constexpr int kWarningMessageKind = 2;
constexpr int kRefusalMessageKind = 128;

// Installed means Windows Installer's default state (5); an unknown, empty or malformed code, and
// every other state, count as not installed.
bool IsInstallerProductInstalled(const std::wstring& productCode);

}  // namespace wiraxui
