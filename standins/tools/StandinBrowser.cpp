// Stands in for the user's web browser in runner scenarios (hostrun's "browser" directive): it
// appends the exact command line it was started with, as one UTF-8 line "started COMMAND-LINE",
// to the journal named by HOSTRUN_BROWSER_JOURNAL (else "standin-browser.log" in the temporary
// folder), and ends at once.
#include "ToolJournal.h"

#include <windows.h>

#include <string>

namespace {


std::wstring JournalPath()
{
    wchar_t value[MAX_PATH * 2] = L"";
    const DWORD length = GetEnvironmentVariableW(L"HOSTRUN_BROWSER_JOURNAL", value, MAX_PATH * 2);
    if (length > 0 && length < MAX_PATH * 2)
        return std::wstring(value, length);
    wchar_t temp[MAX_PATH + 1] = L"";
    GetTempPathW(MAX_PATH + 1, temp);
    return std::wstring(temp) + L"standin-browser.log";
}

}  // namespace

int wmain()
{
    // Line breaks in a command line would split the journal's line: they are written as \n.
    std::wstring line = L"started ";
    for (const wchar_t* c = GetCommandLineW(); *c; ++c) {
        if (*c == L'\n')
            line += L"\\n";
        else if (*c == L'\r')
            line += L"\\r";
        else
            line += *c;
    }
    const std::string text = standin_tools::Utf8(line) + "\n";
    for (int attempt = 0; attempt < 50; ++attempt) {
        HANDLE file = CreateFileW(JournalPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
            CloseHandle(file);
            return ok && written == text.size() ? 0 : 3;
        }
        Sleep(20);
    }
    return 4;
}
