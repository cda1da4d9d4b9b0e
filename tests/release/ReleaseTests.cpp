// The shipped binaries as a setup host receives them: what they import and the version they carry.
// They are read from the test program's folder, or from RELEASE_DIR (an unpacked package).
#include "PeImports.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

struct ShippedBinary {
    const wchar_t* file;
    std::set<std::string> hostLibraries;  // lower case, as well as Windows' own DLLs
};

const std::vector<ShippedBinary>& ShippedBinaries()
{
    static const std::vector<ShippedBinary> binaries = {
        {L"WiraxUI.dll",
         {"setuphost.dll", "hostcore.dll", "hostctrls.dll", "richlabel.dll", "deployhost.dll", "usagetrack.dll"}},
        {L"FormwellChecks.dll", {"appmgrhost.dll", "qt5core.dll"}},
        {L"WiraxUIRes.dll", {}},
        {L"HostRes.dll", {}},
        {L"FormwellUIRes.dll", {}},
        {L"msidb-edit.exe", {}},
    };
    return binaries;
}

// DLLs every Windows installation has, as far as these binaries may use them. The compiler's
// runtime (libstdc++, libgcc, winpthread), zlib1 and the C runtimes of other compilers are not.
const std::set<std::string>& WindowsDlls()
{
    static const std::set<std::string> dlls = {
        "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "shlwapi.dll",
        "comctl32.dll", "comdlg32.dll", "ole32.dll", "oleaut32.dll", "msi.dll", "version.dll",
        "msvcrt.dll", "wininet.dll", "gdiplus.dll", "uxtheme.dll", "rpcrt4.dll", "psapi.dll",
        "imm32.dll", "ws2_32.dll", "netapi32.dll", "userenv.dll", "mpr.dll", "winmm.dll",
        "bcrypt.dll", "crypt32.dll", "secur32.dll", "dbghelp.dll", "ntdll.dll",
    };
    return dlls;
}

std::wstring ReleaseFolder()
{
    wchar_t buffer[MAX_PATH * 4] = {};
    const DWORD length = GetEnvironmentVariableW(L"RELEASE_DIR", buffer, static_cast<DWORD>(std::size(buffer)));
    if (length > 0 && length < std::size(buffer))
        return std::wstring(buffer) + L"\\";
    const DWORD module = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
    std::wstring folder(buffer, module);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

std::wstring Widen(const char* text)
{
    return std::wstring(text, text + strlen(text));
}

TEST(ShippedBinaries, ImportOnlyWindowsAndTheHostsLibraries)
{
    wchar_t system[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
    for (const auto& binary : ShippedBinaries()) {
        const std::wstring path = ReleaseFolder() + binary.file;
        const auto imports = releasetests::ReadPeImports(path);
        ASSERT_EQ(imports.error, "") << Narrow(path);
        for (const auto& dll : imports.dlls) {
            const std::string name = Lower(dll);
            if (binary.hostLibraries.count(name))
                continue;
            EXPECT_TRUE(WindowsDlls().count(name)) << Narrow(binary.file) << " imports " << dll
                                                   << ", which is neither Windows' own nor a host library";
            // A name on the list must also be one the system really has.
            EXPECT_NE(GetFileAttributesW((std::wstring(system) + L"\\" + Widen(dll.c_str())).c_str()), INVALID_FILE_ATTRIBUTES)
                << Narrow(binary.file) << " imports " << dll << ", which the system folder does not hold";
        }
    }
}

// One string of the version resource's US English, Unicode block.
std::wstring VersionString(const std::vector<BYTE>& info, const wchar_t* name)
{
    void* value = nullptr;
    UINT length = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(info.data(), query.c_str(), &value, &length) || !value)
        return L"(missing)";
    return std::wstring(static_cast<const wchar_t*>(value));
}

TEST(ShippedBinaries, CarryTheProjectVersion)
{
    const std::wstring version = Widen(RELEASE_VERSION);
    unsigned major = 0, minor = 0, patch = 0;
    ASSERT_EQ(swscanf(version.c_str(), L"%u.%u.%u", &major, &minor, &patch), 3);
    for (const auto& binary : ShippedBinaries()) {
        SCOPED_TRACE(Narrow(binary.file));
        const std::wstring path = ReleaseFolder() + binary.file;
        DWORD handle = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
        ASSERT_GT(size, 0u) << "no version resource (error " << GetLastError() << ")";
        std::vector<BYTE> info(size);
        ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
        ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
        EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
        EXPECT_EQ(fixed->dwFileVersionMS, (major << 16) | minor);
        EXPECT_EQ(fixed->dwFileVersionLS, patch << 16);
        EXPECT_EQ(fixed->dwProductVersionMS, (major << 16) | minor);
        EXPECT_EQ(fixed->dwProductVersionLS, patch << 16);
        const bool program = wcsstr(binary.file, L".exe") != nullptr;
        EXPECT_EQ(fixed->dwFileType, program ? static_cast<DWORD>(VFT_APP) : static_cast<DWORD>(VFT_DLL));

        EXPECT_EQ(VersionString(info, L"FileVersion"), version + L".0");
        EXPECT_EQ(VersionString(info, L"ProductVersion"), version);
        EXPECT_EQ(VersionString(info, L"OriginalFilename"), binary.file);
        EXPECT_EQ(VersionString(info, L"CompanyName"), L"Tarvena");
        EXPECT_NE(VersionString(info, L"ProductName").find(L"installer plug-ins"), std::wstring::npos);
        EXPECT_NE(VersionString(info, L"LegalCopyright").find(L"Tarvena"), std::wstring::npos);
        const std::wstring description = VersionString(info, L"FileDescription");
        EXPECT_TRUE(description != L"(missing)" && !description.empty());
    }
}

}  // namespace
