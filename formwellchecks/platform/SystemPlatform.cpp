#include "platform/SystemPlatform.h"

#include "core/PlatformRules.h"

namespace formwell {

namespace {

// Looked up by name: a system without WOW64 has no such function.
std::optional<bool> QueryWow64()
{
    using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);
    HMODULE kernel = GetModuleHandleW(L"kernel32");
    auto isWow64Process = reinterpret_cast<IsWow64ProcessFunction>(
        kernel ? reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")) : nullptr);
    BOOL wow64 = FALSE;
    if (!isWow64Process || !isWow64Process(GetCurrentProcess(), &wow64))
        return std::nullopt;
    return wow64 != FALSE;
}

WORD ProcessorArchitecture()
{
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    return info.wProcessorArchitecture;
}

}  // namespace

bool SystemIs64Bit()
{
    // Written without a lock: the host calls its plug-ins on one thread.
    static CBitnessCache cache;
    return cache.Is64Bit(QueryWow64, ProcessorArchitecture);
}

bool IsWorkstationVersion(DWORD major, DWORD minor)
{
    OSVERSIONINFOEXW version{};
    version.dwOSVersionInfoSize = sizeof version;
    version.dwMajorVersion = major;
    version.dwMinorVersion = minor;
    version.wProductType = VER_NT_WORKSTATION;
    DWORDLONG conditions = 0;
    conditions = VerSetConditionMask(conditions, VER_MAJORVERSION, VER_EQUAL);
    conditions = VerSetConditionMask(conditions, VER_MINORVERSION, VER_EQUAL);
    conditions = VerSetConditionMask(conditions, VER_PRODUCT_TYPE, VER_EQUAL);
    return VerifyVersionInfoW(&version, VER_MAJORVERSION | VER_MINORVERSION | VER_PRODUCT_TYPE, conditions) != FALSE;
}

}  // namespace formwell
