// CustomPlatformCheck under the Windows versions Wine can report, each in a probe process of its
// own (see PlatformProbe.cpp).
#include "FormwellFixture.h"

#include "FormwellUIRes.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace formwelltest {
namespace {

const wchar_t kProbe[] = L"formwell_platform_probe.exe";

struct ProbeAnswer {
    DWORD exitCode = ERROR_GEN_FAILURE;
    bool result = false;
    formwell::PlatformNotice notice{};
};

// Wine reads a program's Windows version from its application defaults when the program starts.
class WineVersionForProbe {
public:
    explicit WineVersionForProbe(const wchar_t* version)
    {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, Path().c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
            ERROR_SUCCESS) {
            m_set = RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                                   static_cast<DWORD>((wcslen(version) + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
            RegCloseKey(key);
        }
    }
    ~WineVersionForProbe()
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, Path().c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, Path().c_str());
    }
    WineVersionForProbe(const WineVersionForProbe&) = delete;
    WineVersionForProbe& operator=(const WineVersionForProbe&) = delete;
    bool Set() const { return m_set; }

private:
    static std::wstring Path() { return std::wstring(L"Software\\Wine\\AppDefaults\\") + kProbe; }
    bool m_set = false;
};

ProbeAnswer RunProbe(const wchar_t* windowsVersion, const QString& resourceFolder = QString())
{
    ProbeAnswer answer;
    WineVersionForProbe version(windowsVersion);
    if (!version.Set())
        return answer;
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    const std::wstring output = std::wstring(temp) + L"formwell_probe_" + std::to_wstring(GetCurrentProcessId()) + L".bin";
    std::wstring command = L"\"" + (ProgramFolder() + QLatin1Char('\\')).toStdWString() + kProbe + L"\" \"" + output + L"\"";
    if (!resourceFolder.isEmpty())
        command += L" \"" + resourceFolder.toStdWString() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return answer;
    WaitForSingleObject(process.hProcess, 60000);
    GetExitCodeProcess(process.hProcess, &answer.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    std::ifstream file(output.c_str(), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    file.close();
    DeleteFileW(output.c_str());
    if (bytes.size() == 1 + sizeof answer.notice) {
        answer.result = bytes[0] == 1;
        std::memcpy(&answer.notice, bytes.data() + 1, sizeof answer.notice);
    }
    return answer;
}

bool Untouched(const formwell::PlatformNotice& notice)
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&notice);
    for (size_t i = 0; i < sizeof notice; ++i) {
        if (bytes[i] != 0x5A)
            return false;
    }
    return true;
}

QString Text(const wchar_t (&field)[1024])
{
    // A terminator within the field is part of the record's contract.
    const size_t length = wcsnlen(field, 1024);
    return length < 1024 ? QString::fromWCharArray(field, static_cast<int>(length)) : QStringLiteral("<unterminated>");
}

TEST(CustomPlatformCheck, NoticeOn64BitWindows8And81Workstations)
{
    for (const wchar_t* version : {L"win8", L"win81"}) {
        SCOPED_TRACE(QString::fromWCharArray(version).toStdString());
        const ProbeAnswer answer = RunProbe(version);
        ASSERT_EQ(answer.exitCode, 0u);
        EXPECT_TRUE(answer.result);
        EXPECT_EQ(answer.notice.kind, 3);
        EXPECT_EQ(Text(answer.notice.heading), ResourceText(IDS_PLATFORM_NOTICE_HEADING));
        EXPECT_EQ(Text(answer.notice.message), ResourceText(IDS_PLATFORM_NOTICE_MESSAGE));
        EXPECT_EQ(Text(answer.notice.linkTitle), ResourceText(IDS_PLATFORM_NOTICE_LINK_TITLE));
        EXPECT_EQ(Text(answer.notice.link), ResourceText(IDS_PLATFORM_NOTICE_LINK));
        EXPECT_FALSE(Text(answer.notice.message).isEmpty());
    }
}

TEST(CustomPlatformCheck, RecordUntouchedOnOtherWindowsVersions)
{
    for (const wchar_t* version : {L"win10", L"win7"}) {
        SCOPED_TRACE(QString::fromWCharArray(version).toStdString());
        const ProbeAnswer answer = RunProbe(version);
        ASSERT_EQ(answer.exitCode, 0u);
        EXPECT_TRUE(answer.result);
        EXPECT_TRUE(Untouched(answer.notice));
    }
}

TEST(CustomPlatformCheck, MissingResourceLibraryGivesEmptyTexts)
{
    const ProbeAnswer answer = RunProbe(L"win8", QStringLiteral("C:\\no\\such\\folder"));
    ASSERT_EQ(answer.exitCode, 0u);
    EXPECT_TRUE(answer.result);
    EXPECT_EQ(answer.notice.kind, 3);
    EXPECT_EQ(Text(answer.notice.heading), QString());
    EXPECT_EQ(Text(answer.notice.message), QString());
    EXPECT_EQ(Text(answer.notice.linkTitle), QString());
    EXPECT_EQ(Text(answer.notice.link), QString());
}

}  // namespace
}  // namespace formwelltest
