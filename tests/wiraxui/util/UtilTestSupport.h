// Scratch folders and the registered http command for the utility tests, each put back as it was.
#pragma once

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

// A folder of the test's own under the temporary folder, removed with its content afterwards.
class ScratchFolder {
public:
    explicit ScratchFolder(const wchar_t* name)
    {
        wchar_t temp[MAX_PATH] = L"";
        GetTempPathW(MAX_PATH, temp);
        m_path = std::wstring(temp) + name + std::to_wstring(GetCurrentProcessId());
        Remove();
        CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ~ScratchFolder() { Remove(); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& Path() const { return m_path; }
    std::wstring operator/(const std::wstring& relative) const { return m_path + L"\\" + relative; }

private:
    void Remove()
    {
        if (!Exists(m_path))
            return;
        const std::wstring from = m_path + L'\0';  // a double-terminated list
        SHFILEOPSTRUCTW operation{};
        operation.wFunc = FO_DELETE;
        operation.pFrom = from.c_str();
        operation.fFlags = FOF_NO_UI;
        SHFileOperationW(&operation);
    }
    std::wstring m_path;
};

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
