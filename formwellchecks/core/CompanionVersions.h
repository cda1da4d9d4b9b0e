// Companion products whose installed version must not be older than the one this installation
// brings, and the message that lists those that are.
#pragma once

#include <string>

namespace formwell {

// Host product keys, examined in this order.
extern const wchar_t* const kCompanionProductKeys[8];
// The host product that carries the verdict of the companion check.
extern const wchar_t kVerdictProductKey[];

// Only companions the run installs, upgrades or reinstalls are examined (actions 2, 4, 5).
bool IsExaminedAction(int action);

// Versions compare as text, character by character and ignoring case: "10.0.1" is older than
// "9.0.0" because "1" sorts before "9".
bool IsOlderVersion(const std::wstring& installed, const std::wstring& offered);

// One listed companion: " - name [version]" and a blank line.
std::wstring OutdatedEntry(const std::wstring& installedName, const std::wstring& installedVersion);

// The heading, a blank line and the entries as listed.
std::wstring OutdatedMessage(const std::wstring& heading, const std::wstring& entries);

}  // namespace formwell
