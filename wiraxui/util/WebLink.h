// Opens help, documentation and support links in the user's web browser.
#pragma once

#include <string>

namespace wiraxui {

// Starts the program registered for http with the link, or lets the shell open the link when no
// such program is registered or it cannot be started. Always 0: callers have no use for the
// outcome, and nothing is thrown.
// The program is looked up in the machine's own classes (HKLM\Software\Classes) when the process
// runs elevated or as the local system account, in the merged classes root otherwise.
int OpenWebLink(const std::wstring& link);
// The same, told whether the process counts as elevated.
int OpenWebLink(const std::wstring& link, bool elevated);

// True when the process's token is elevated or is the local system account's; true as well when
// the token cannot be asked.
bool ProcessRunsElevated();

// The command line that starts the registered browser command with the link: the command, one
// space, and the link (quoted when it holds spaces) in place of every quoted placeholder "%1"
// of the command, or appended when the command has none. A bare %1 is no placeholder: it stays,
// and the link is appended after the space. Quotes inside the link are sent as %22, and the
// backslashes that end a quoted link are doubled, so that the link stays one argument.
std::wstring BuildBrowserCommandLine(const std::wstring& command, const std::wstring& link);

}  // namespace wiraxui
