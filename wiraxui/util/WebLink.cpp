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

std::wstring QuoteSpaces(const std::wstring& link)
{
    std::vector<wchar_t> buffer(std::max<size_t>(link.size() + 3, MAX_PATH), L'\0');
    std::copy(link.begin(), link.end(), buffer.begin());
    PathQuoteSpacesW(buffer.data());
    const std::wstring quoted = buffer.data();
    // The shell function leaves texts alone that would not fit in MAX_PATH; a long link with
    // spaces still has to reach the browser as one argument.
    if (quoted == link && link.find(L' ') != std::wstring::npos)
        return L"\"" + link + L"\"";
    return quoted;
}

std::wstring RegisteredBrowserCommand()
{
    RegistryKey key(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command");
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

int OpenWebLink(const std::wstring& link)
{
    try {
        const std::wstring command = RegisteredBrowserCommand();
        if (command.empty() || !Start(BuildBrowserCommandLine(command, link)))
            OpenThroughShell(EncodeQuotes(link));
    } catch (...) {
        // Opening a link is a convenience; a page must go on whatever happened here.
    }
    return 0;
}

}  // namespace wiraxui
