// Environment variables and a private temporary folder, set for one test and put back after it.
#pragma once

#include <windows.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace checkstest {

class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, const wchar_t* value) : m_name(name)
    {
        wchar_t previous[32768];
        const DWORD length = GetEnvironmentVariableW(name, previous, 32768);
        if (length > 0 && length < 32768)
            m_previous = std::wstring(previous, length);
        else if (length == 0 && GetLastError() != ERROR_ENVVAR_NOT_FOUND)
            m_previous = std::wstring();
        SetEnvironmentVariableW(name, value);
    }
    ~ScopedVariable() { SetEnvironmentVariableW(m_name.c_str(), m_previous ? m_previous->c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::wstring m_name;
    std::optional<std::wstring> m_previous;
};

// GetTempPathW answers this folder while the object lives (TMP comes first, TEMP second).
class PrivateTempFolder {
public:
    explicit PrivateTempFolder(const std::wstring& name)
    {
        wchar_t base[MAX_PATH] = L"";
        GetTempPathW(MAX_PATH, base);
        m_folder = std::wstring(base) + name + L"\\";
        CreateDirectoryW(m_folder.c_str(), nullptr);
        m_tmp.emplace(L"TMP", m_folder.c_str());
        m_temp.emplace(L"TEMP", m_folder.c_str());
    }
    ~PrivateTempFolder()
    {
        m_tmp.reset();
        m_temp.reset();
        DeleteFileW(LogPath().c_str());
        RemoveDirectoryW(m_folder.c_str());
    }
    PrivateTempFolder(const PrivateTempFolder&) = delete;
    PrivateTempFolder& operator=(const PrivateTempFolder&) = delete;

    const std::wstring& Folder() const { return m_folder; }
    std::wstring LogPath() const { return m_folder + L"Access Database Driver Install Failed.log"; }

private:
    std::wstring m_folder;
    std::optional<ScopedVariable> m_tmp;
    std::optional<ScopedVariable> m_temp;
};

// A file's bytes as they are on disk; nothing when it cannot be read.
inline std::optional<std::string> FileBytes(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

}  // namespace checkstest
