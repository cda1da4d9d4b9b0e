// Links of the file system made from the Unix side, as another user of the machine could place
// them: Wine makes none from the Windows side (CreateSymbolicLinkW answers success and leaves
// nothing), so the tests that need a link inside a tree make it with the Unix host's own tools.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace hostkit {

// Runs a program of the Unix host (Wine starts it as a Unix process) with the Unix names of the
// given Windows paths as its arguments (quoted the Windows way: Wine splits the line by those rules).
inline bool RunUnix(const wchar_t* program, const std::vector<std::string>& options, const std::vector<std::wstring>& paths)
{
    using UnixName = char*(CDECL*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName)
        return false;
    std::string text = "unix";
    for (const std::string& option : options)
        text += " " + option;
    for (const std::wstring& path : paths) {
        char* name = unixName(path.c_str());
        if (!name)
            return false;
        text += std::string(" \"") + name + "\"";
        HeapFree(GetProcessHeap(), 0, name);
    }
    std::wstring command(text.begin(), text.end());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

// True while the folder lists the name, whether or not what it names can be reached.
inline bool Listed(const std::wstring& path)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

// True in a process that Wine runs: the Unix host's programs can then be started.
inline bool UnderWine()
{
    return GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name") != nullptr;
}

// Waits until the folder lists the name (listed true) or no longer does: a Unix child's handle
// tells nothing about its end, so the name itself is what is waited for, ten seconds at most.
inline bool WaitUntilListed(const std::wstring& path, bool listed)
{
    for (int waited = 0; waited < 10000; waited += 10) {
        if (Listed(path) == listed)
            return true;
        Sleep(10);
    }
    return false;
}

// Removes the name itself from the Unix side (unlink never follows a link), for what Wine's own
// removal calls would follow: they delete what a link points at instead of the link.
inline bool UnlinkFromUnixSide(const std::wstring& path)
{
    return RunUnix(L"Z:\\bin\\rm", {"-f"}, {path}) && WaitUntilListed(path, false);
}

// A symbolic link made from the Unix side, as another user of the machine could place one (Wine
// makes none from the Windows side: CreateSymbolicLinkW answers success and leaves nothing), and
// removed again the same way: Windows' RemoveDirectoryW on it would remove the folder it points at.
class UnixLink {
public:
    UnixLink(const std::wstring& link, const std::wstring& target) : m_link(link)
    {
        m_made = RunUnix(L"Z:\\bin\\ln", {"-s"}, {target, link}) && WaitUntilListed(link, true);
    }
    ~UnixLink()
    {
        if (Listed(m_link))
            UnlinkFromUnixSide(m_link);
    }
    UnixLink(const UnixLink&) = delete;
    UnixLink& operator=(const UnixLink&) = delete;
    bool Made() const { return m_made; }

private:
    std::wstring m_link;
    bool m_made = false;
};

}  // namespace hostkit
