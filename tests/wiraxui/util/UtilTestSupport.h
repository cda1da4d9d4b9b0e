// Scratch folders and registry values for the utility tests, each put back as it was.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace utiltest {

inline std::wstring BinFolder()
{
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring module(path);
    return module.substr(0, module.find_last_of(L'\\'));
}

// A folder of its own under the temporary folder, removed with everything in it afterwards.
class ScratchFolder {
public:
    explicit ScratchFolder(const wchar_t* name)
    {
        wchar_t temp[MAX_PATH] = L"";
        GetTempPathW(MAX_PATH, temp);
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_path = std::wstring(temp) + name + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(test->line());
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
        std::wstring from = m_path;
        from.push_back(L'\0');  // the shell wants a double-terminated list
        SHFILEOPSTRUCTW operation{};
        operation.wFunc = FO_DELETE;
        operation.pFrom = from.c_str();
        operation.fFlags = FOF_NO_UI;
        if (GetFileAttributesW(m_path.c_str()) != INVALID_FILE_ATTRIBUTES)
            SHFileOperationW(&operation);
    }
    std::wstring m_path;
};

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

inline bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Polls until the condition holds or the time is up.
inline bool WaitFor(const std::function<bool()>& condition, int milliseconds = 10000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// One registry value (64-bit view) changed for a test and restored afterwards: the old data when
// there was a value, no value when there was none, no key when the key was missing.
class ScopedRegistryValue {
public:
    ScopedRegistryValue(HKEY root, std::wstring path, std::wstring name)
        : m_root(root), m_path(std::move(path)), m_name(std::move(name))
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(m_root, m_path.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
            return;
        m_keyExisted = true;
        DWORD size = 0;
        if (RegQueryValueExW(key, m_name.c_str(), nullptr, &m_type, nullptr, &size) == ERROR_SUCCESS) {
            m_data.emplace(size);
            RegQueryValueExW(key, m_name.c_str(), nullptr, &m_type, m_data->data(), &size);
        }
        RegCloseKey(key);
    }
    ~ScopedRegistryValue()
    {
        if (!m_keyExisted) {
            RegDeleteKeyExW(m_root, m_path.c_str(), KEY_WOW64_64KEY, 0);
            return;
        }
        HKEY key = Open();
        if (!key)
            return;
        if (m_data)
            RegSetValueExW(key, m_name.c_str(), 0, m_type, m_data->data(), static_cast<DWORD>(m_data->size()));
        else
            RegDeleteValueW(key, m_name.c_str());
        RegCloseKey(key);
    }
    ScopedRegistryValue(const ScopedRegistryValue&) = delete;
    ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;

    bool Set(const std::wstring& value)
    {
        HKEY key = Open();
        if (!key)
            return false;
        const LONG result = RegSetValueExW(key, m_name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
        return result == ERROR_SUCCESS;
    }
    bool Delete()
    {
        HKEY key = Open();
        if (!key)
            return false;
        const LONG result = RegDeleteValueW(key, m_name.c_str());
        RegCloseKey(key);
        return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
    }

private:
    HKEY Open()
    {
        HKEY key = nullptr;
        if (RegCreateKeyExW(m_root, m_path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE | KEY_WOW64_64KEY, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return nullptr;
        return key;
    }

    HKEY m_root;
    std::wstring m_path;
    std::wstring m_name;
    bool m_keyExisted = false;
    DWORD m_type = REG_SZ;
    std::optional<std::vector<BYTE>> m_data;
};

}  // namespace utiltest
