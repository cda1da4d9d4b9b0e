#include "util/WebLink.h"

#include "util/Handle.h"
#include "util/Registry.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <vector>

namespace wiraxui {

namespace {

// Only the placeholder with its quotes is the link's place: a bare %1 is no match,
// it stays in the command line and the link is appended.
constexpr wchar_t kQuotedPlaceholder[] = L"\"%1\"";

// A quote would end the link's argument early and let the rest of the link become arguments of
// its own; in a URL it is %22 anyway.
std::wstring EncodeQuotes(const std::wstring& link)
{
    std::wstring encoded;
    encoded.reserve(link.size());
    for (wchar_t c : link) {
        if (c == L'"')
            encoded += L"%22";
        else
            encoded += c;
    }
    return encoded;
}

// A program reads backslashes before a quote as escapes: "C:\Docs\my folder\" would end with a
// literal quote and run on into the next argument. Doubled inside the quotes, they stay
// backslashes and the quote closes the argument.
std::wstring CloseQuotedArgument(std::wstring quoted)
{
    if (quoted.size() < 2 || quoted.front() != L'"' || quoted.back() != L'"')
        return quoted;
    size_t backslashes = 0;
    while (backslashes + 2 < quoted.size() && quoted[quoted.size() - 2 - backslashes] == L'\\')
        ++backslashes;
    quoted.insert(quoted.size() - 1, backslashes, L'\\');
    return quoted;
}

std::wstring QuoteSpaces(const std::wstring& link)
{
    std::vector<wchar_t> buffer(std::max<size_t>(link.size() + 3, MAX_PATH), L'\0');
    std::copy(link.begin(), link.end(), buffer.begin());
    PathQuoteSpacesW(buffer.data());
    const std::wstring quoted = buffer.data();
    // The shell function leaves texts alone that would not fit in MAX_PATH; a long link with
    // spaces still has to reach the browser as one argument.
    if (quoted == link && link.find(L' ') != std::wstring::npos)
        return CloseQuotedArgument(L"\"" + link + L"\"");
    return quoted == link ? quoted : CloseQuotedArgument(quoted);
}

// The user's own classes (HKCU\Software\Classes) win in the merged classes root, and any program
// the user runs without elevation may write them: an elevated installer reads the machine's.
std::wstring RegisteredBrowserCommand(bool elevated)
{
    RegistryKey key(elevated ? HKEY_LOCAL_MACHINE : HKEY_CLASSES_ROOT,
                    elevated ? L"Software\\Classes\\http\\shell\\open\\command" : L"http\\shell\\open\\command");
    return key.ReadString(nullptr).value_or(std::wstring());
}

void OpenThroughShell(const std::wstring& link)
{
    ShellExecuteW(nullptr, L"open", link.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool Start(const std::wstring& commandLine)
{
    // CreateProcessW may write into the command line, so it gets a copy of its own.
    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr,
                        &startup, &process))
        return false;
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    return true;
}

}  // namespace

std::wstring BuildBrowserCommandLine(const std::wstring& command, const std::wstring& link)
{
    const std::wstring pattern = command + L" ";
    const std::wstring argument = QuoteSpaces(EncodeQuotes(link));
    const size_t quotedLength = wcslen(kQuotedPlaceholder);

    // One pass over the command only: the link itself may hold "%1" (an encoded character) and
    // must not be substituted again.
    std::wstring commandLine;
    bool substituted = false;
    for (size_t at = 0; at < pattern.size();) {
        if (pattern.compare(at, quotedLength, kQuotedPlaceholder) == 0) {
            commandLine += argument;
            at += quotedLength;
            substituted = true;
        } else {
            commandLine += pattern[at++];
        }
    }
    if (!substituted)
        commandLine += argument;
    return commandLine;
}

bool ProcessRunsElevated()
{
    HANDLE token = nullptr;
    // A token that cannot be asked counts as elevated: the machine's classes are the safe side.
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return true;
    UniqueHandle owned(token);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size))
        return true;
    if (elevation.TokenIsElevated)
        return true;
    alignas(TOKEN_USER) BYTE user[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE] = {};
    BYTE system[SECURITY_MAX_SID_SIZE] = {};
    DWORD systemSize = sizeof system;
    if (!GetTokenInformation(token, TokenUser, user, sizeof user, &size)
        || !CreateWellKnownSid(WinLocalSystemSid, nullptr, system, &systemSize))
        return true;
    return EqualSid(reinterpret_cast<TOKEN_USER*>(user)->User.Sid, system) != FALSE;
}

int OpenWebLink(const std::wstring& link)
{
    try {
        return OpenWebLink(link, ProcessRunsElevated());
    } catch (...) {
    }
    return 0;
}

int OpenWebLink(const std::wstring& link, bool elevated)
{
    try {
        const std::wstring command = RegisteredBrowserCommand(elevated);
        if (command.empty() || !Start(BuildBrowserCommandLine(command, link)))
            OpenThroughShell(EncodeQuotes(link));
    } catch (...) {
        // Opening a link is a convenience; a page must go on whatever happened here.
    }
    return 0;
}

}  // namespace wiraxui
