// The registered http command for the utility tests, put back as it was, and small file helpers;
// scratch folders come from the kit (FileTree.h).
#pragma once

#include "FileTree.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>

namespace utiltest {

inline std::wstring BinFolder()
{
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring module(path);
    return module.substr(0, module.find_last_of(L'\\'));
}

inline bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline bool WriteFileText(const std::wstring& path, const char* text)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
    CloseHandle(file);
    return true;
}

inline bool WaitFor(const std::function<bool()>& condition, int milliseconds = 20000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// The prefix's http open command (machine classes, 64-bit view), changed for one test and then
// restored, or removed again if there was none.
class HttpCommandScope {
public:
    HttpCommandScope()
    {
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\http\\shell\\open\\command", 0, nullptr, 0,
                            KEY_READ | KEY_WRITE | KEY_WOW64_64KEY, nullptr, &m_key, nullptr) != ERROR_SUCCESS)
            return;
        wchar_t value[2048] = L"";
        DWORD bytes = sizeof value - sizeof(wchar_t);
        if (RegQueryValueExW(m_key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &bytes) == ERROR_SUCCESS)
            m_saved = value;
    }
    ~HttpCommandScope()
    {
        if (!m_key)
            return;
        if (m_saved)
            Set(*m_saved);
        else
            Delete();
        RegCloseKey(m_key);
    }
    HttpCommandScope(const HttpCommandScope&) = delete;
    HttpCommandScope& operator=(const HttpCommandScope&) = delete;

    bool Set(const std::wstring& command)
    {
        return m_key && RegSetValueExW(m_key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                                       static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    bool Delete()
    {
        const LONG result = m_key ? RegDeleteValueW(m_key, nullptr) : ERROR_INVALID_HANDLE;
        return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
    }

private:
    HKEY m_key = nullptr;
    std::optional<std::wstring> m_saved;
};

}  // namespace utiltest
