// Starts an external program in a console of its own and waits for it while the calling thread
// goes on answering its messages.
#pragma once

#include <windows.h>

#include <string>

namespace wiraxui::actions {

// What RunProcess answers when the program could not be started at all.
constexpr DWORD kProcessNotStarted = 0xFFFFFFFF;

// A path as one word of a command line.
std::wstring Quoted(const std::wstring& path);

// Runs `executable arguments` (the executable text as given, already quoted by the caller) with
// its window in `show` state. The program inherits no handle of the caller. Returns the exit code,
// STILL_ACTIVE when a quit message ended the wait first (the quit message is posted again for the
// caller's own loop; `stillRunning`, when given, then says true), or kProcessNotStarted.
DWORD RunProcess(const std::wstring& executable, const std::wstring& arguments, int show, bool* stillRunning = nullptr);

}  // namespace wiraxui::actions
