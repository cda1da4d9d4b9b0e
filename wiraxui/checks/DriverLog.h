// The small log the driver check leaves in the temporary folder when it blocks the product.
#pragma once

#include <string>

namespace wiraxui {

constexpr wchar_t kDriverLogName[] = L"Access Database Driver Install Failed.log";

// The log's path in the user's temporary folder; empty when there is none.
std::wstring DriverLogPath();

// The help line: the format with the link in place of its "%s" (the first one; a format without
// one is used as it is). Nothing else in the format is interpreted.
std::wstring FormatHelpLine(const std::wstring& format, const std::wstring& link);

// Replaces the file with two text lines, each wide character narrowed by the global locale. The
// earlier file is removed and a new one created, never truncated through a link: whatever an
// earlier name pointed at stays as it was. Best effort: false when the file could not be written.
bool WriteDriverLog(const std::wstring& path, const std::wstring& message, const std::wstring& helpLine);

}  // namespace wiraxui
