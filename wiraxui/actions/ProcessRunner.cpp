#include "actions/ProcessRunner.h"

#include "util/Handle.h"

#include <vector>

namespace wiraxui::actions {

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

DWORD RunProcess(const std::wstring& executable, const std::wstring& arguments, int show, bool* stillRunning)
{
    if (stillRunning)
        *stillRunning = false;
    std::wstring text = executable + L" " + arguments;
    std::vector<wchar_t> commandLine(text.begin(), text.end());
    commandLine.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION started{};
    // The tools need none of the host's handles; an inherited one would outlive the host's own use
    // of it in a program that runs with the installer's rights.
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr, nullptr, &startup, &started))
        return kProcessNotStarted;
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);

    for (bool waiting = true; waiting;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // The host's own loop must still see it.
                PostQuitMessage(static_cast<int>(message.wParam));
                waiting = false;
                break;
            }
            DispatchMessageW(&message);
        }
        if (!waiting)
            break;
        const HANDLE handles[] = {process.Get()};
        const DWORD woke = MsgWaitForMultipleObjects(1, handles, FALSE, INFINITE, QS_ALLINPUT);
        waiting = woke == WAIT_OBJECT_0 + 1;
    }
    DWORD exitCode = kProcessNotStarted;
    GetExitCodeProcess(process.Get(), &exitCode);
    // A program may end with the still-active code itself; only the process's state tells.
    if (stillRunning)
        *stillRunning = WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
    return exitCode;
}

}  // namespace wiraxui::actions
