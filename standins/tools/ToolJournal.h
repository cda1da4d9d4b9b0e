// What the stand-ins of external programs share: the deployment's tools and the probe that takes
// a tool's place write to one journal (the file named by WIRAX_TOOL_JOURNAL, else wirax-tools.log
// in the temporary folder), and every stand-in writes its lines in UTF-8. Header-only: each
// stand-in is one executable of its own, copied into working folders alone.
#pragma once

#include <windows.h>

#include <string>

namespace standin_tools {

inline std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

inline std::wstring Environment(const wchar_t* name)
{
    wchar_t value[MAX_PATH * 2] = L"";
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH * 2);
    return length > 0 && length < MAX_PATH * 2 ? std::wstring(value, length) : std::wstring();
}

// The journal is made when it is missing; a database is not: the real tools fail on a database
// that is not there and create nothing, and so do their stand-ins.
enum class Missing { Create, Fail };

inline bool AppendText(const std::wstring& path, const std::string& text, Missing missing = Missing::Create)
{
    // Appends are atomic for whole writes, so tools that run one after another keep their order.
    for (int attempt = 0; attempt < 50; ++attempt) {
        HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  missing == Missing::Create ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
            CloseHandle(file);
            return ok && written == text.size();
        }
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return false;
        Sleep(20);
    }
    return false;
}

inline std::wstring JournalPath()
{
    std::wstring journal = Environment(L"WIRAX_TOOL_JOURNAL");
    if (journal.empty()) {
        wchar_t temp[MAX_PATH + 1] = L"";
        GetTempPathW(MAX_PATH + 1, temp);
        journal = std::wstring(temp) + L"wirax-tools.log";
    }
    return journal;
}

}  // namespace standin_tools
