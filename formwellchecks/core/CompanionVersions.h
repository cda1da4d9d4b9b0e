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

// Versions compare part by part at their dots, each part as a number ("9.5.0" is older than
// "10.0.0"); a missing or empty part counts as 0. Where either of two parts is not a number, those
// two compare as text, ignoring case, so versions that differ only in case are equal.
bool IsOlderVersion(const std::wstring& installed, const std::wstring& offered);

// One listed companion: " - name [version]" and a blank line.
std::wstring OutdatedEntry(const std::wstring& installedName, const std::wstring& installedVersion);

// The heading, a blank line and the entries as listed.
std::wstring OutdatedMessage(const std::wstring& heading, const std::wstring& entries);

}  // namespace formwell
