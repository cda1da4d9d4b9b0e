// fwplatform: a host program that asks a plug-in's CustomPlatformCheck once, in a process of its
// own, and writes down what it got: one byte for the result, then the notice record as the
// plug-in left it. Wine fixes a process's Windows version when the process starts, so the runner
// and the tests start this program under the version they want (AppDefaults\fwplatform.exe).
//
// Usage: fwplatform.exe OUTPUT [RESOURCE-FOLDER]
// Exit codes: 0 done, 2 bad usage, 3 plug-in missing, 4 export missing, 5 output not written.
#include "PlatformCheckRun.h"

#include <cstdio>
#include <cstring>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    if (argc > 2)
        CSetupContext::Instance()->SetResourcePath(QString::fromWCharArray(argv[2]));
    HMODULE plugin = LoadLibraryW(L"FormwellChecks.dll");
    if (!plugin)
        return 3;
    auto* check = reinterpret_cast<formwell::CustomPlatformCheckFunction*>(
        reinterpret_cast<void*>(GetProcAddress(plugin, "CustomPlatformCheck")));
    if (!check) {
        FreeLibrary(plugin);
        return 4;
    }
    // A sentinel in every byte shows what the plug-in wrote.
    formwell::PlatformNotice notice;
    std::memset(&notice, formwellrun::kUntouchedByte, sizeof notice);
    const unsigned char result = check(nullptr, &notice) ? 1 : 0;
    FreeLibrary(plugin);

    FILE* output = _wfopen(argv[1], L"wb");
    if (!output)
        return 5;
    const bool written = fwrite(&result, 1, 1, output) == 1 && fwrite(&notice, sizeof notice, 1, output) == 1;
    return fclose(output) == 0 && written ? 0 : 5;
}
