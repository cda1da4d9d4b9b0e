// A program that ends while a process it started lives on, as the first program to show a window on
// a desktop leaves Wine's desktop process behind. "outlive MARKER" starts "outlive --linger MARKER"
// and ends at once; the lingering copy waits until the file MARKER exists (two minutes at most),
// then creates MARKER.seen, so the test knows it really outlived its parent.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

int Linger(const std::wstring& marker)
{
    for (int waited = 0; waited < 1200 && GetFileAttributesW(marker.c_str()) == INVALID_FILE_ATTRIBUTES; ++waited)
        Sleep(100);
    HANDLE seen = CreateFileW((marker + L".seen").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (seen == INVALID_HANDLE_VALUE)
        return 1;
    CloseHandle(seen);
    return 0;
}

int StartLingering(const std::wstring& marker)
{
    wchar_t self[MAX_PATH];
    if (GetModuleFileNameW(nullptr, self, MAX_PATH) == 0 || GetLastError() == ERROR_INSUFFICIENT_BUFFER)
        return 1;
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --linger \"" + marker + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // Nothing is inherited on purpose: what keeps the output open is Wine's doing, not ours.
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "outlive: could not start the lingering copy (%lu)\n", GetLastError());
        return 1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf("outlive: parent done\n");
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 3 && std::wstring(argv[1]) == L"--linger")
        return Linger(argv[2]);
    if (argc == 2)
        return StartLingering(argv[1]);
    std::fprintf(stderr, "usage: outlive MARKER\n");
    return 2;
}
