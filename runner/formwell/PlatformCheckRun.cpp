#include "PlatformCheckRun.h"

#include "KernelHandle.h"

#include <cstring>
#include <cwchar>
#include <fstream>
#include <iterator>

namespace formwellrun {

namespace {

const wchar_t kProgram[] = L"fwplatform.exe";

// Wine reads a program's Windows version from its application defaults when the program starts.
class WineVersionForProgram {
public:
    explicit WineVersionForProgram(const std::wstring& version)
    {
        if (version.empty())
            return;
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, Path().c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return;
        m_set = RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                               static_cast<DWORD>((version.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
        RegCloseKey(key);
    }
    ~WineVersionForProgram()
    {
        if (m_set)
            RegDeleteTreeW(HKEY_CURRENT_USER, Path().c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, Path().c_str());
    }
    WineVersionForProgram(const WineVersionForProgram&) = delete;
    WineVersionForProgram& operator=(const WineVersionForProgram&) = delete;
    bool Failed(const std::wstring& version) const { return !version.empty() && !m_set; }

private:
    static std::wstring Path() { return std::wstring(L"Software\\Wine\\AppDefaults\\") + kProgram; }
    bool m_set = false;
};

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH] = L"";
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length < MAX_PATH ? length : 0);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

}  // namespace

bool PlatformCheckOutcome::Untouched() const
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&notice);
    for (size_t i = 0; i < sizeof notice; ++i) {
        if (bytes[i] != kUntouchedByte)
            return false;
    }
    return true;
}

PlatformCheckOutcome RunPlatformCheck(const std::wstring& windowsVersion, const std::wstring& resourceFolder)
{
    PlatformCheckOutcome outcome;
    WineVersionForProgram version(windowsVersion);
    if (version.Failed(windowsVersion))
        return outcome;
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    const std::wstring output =
        std::wstring(temp) + L"fwplatform_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(GetTickCount64()) + L".bin";
    std::wstring command = L"\"" + ProgramFolder() + kProgram + L"\" \"" + output + L"\"";
    if (!resourceFolder.empty())
        command += L" \"" + resourceFolder + L"\"";

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return outcome;
    hostkit::KernelHandle thread(process.hThread);
    hostkit::KernelHandle child(process.hProcess);
    if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0)
        return outcome;
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);

    std::ifstream file(output.c_str(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    file.close();
    DeleteFileW(output.c_str());
    if (exitCode == 0 && bytes.size() != 1 + sizeof outcome.notice)
        exitCode = 5;
    outcome.exitCode = exitCode;
    if (exitCode == 0) {
        outcome.result = bytes[0] == 1;
        std::memcpy(&outcome.notice, bytes.data() + 1, sizeof outcome.notice);
    }
    return outcome;
}

std::wstring NoticeText(const wchar_t (&field)[1024])
{
    const size_t length = wcsnlen(field, 1024);
    return length < 1024 ? std::wstring(field, length) : std::wstring(L"<unterminated>");
}

}  // namespace formwellrun
