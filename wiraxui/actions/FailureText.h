// What the host's log of a deployment says when a step fails: the item, the reason and, when the
// system refused a file operation, the system's own words. Plain text on one line: names that come
// from the media (archive entries) cannot start a line of their own.
#pragma once

#include "actions/Unpacker.h"

#include <string>

namespace wiraxui::actions {

// "system error 112: There is not enough space on the disk." (the system's message, or the
// number alone when the system has none).
std::wstring SystemErrorText(unsigned long error);

// "could not unpack ARCHIVE into DESTINATION: entry "NAME": REASON (system error ...)".
std::wstring UnpackFailureText(const std::wstring& archive, const std::wstring& destination, const UnpackFailure& failure);

// Control characters of a name from outside shown as '?', the name cut at 300 characters.
std::wstring OneLine(const std::wstring& text);

}  // namespace wiraxui::actions
