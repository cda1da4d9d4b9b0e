// Stands in for a web browser in tests: writes the command line it was started with, as UTF-16,
// to the file named by its first argument. The file appears complete or not at all.
#include <windows.h>

#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    const std::wstring target = argv[1];
    const std::wstring part = target + L".part";
    const wchar_t* line = GetCommandLineW();
    HANDLE file = CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 3;
    DWORD written = 0;
    const DWORD bytes = static_cast<DWORD>(wcslen(line) * sizeof(wchar_t));
    const BOOL ok = WriteFile(file, line, bytes, &written, nullptr) && written == bytes;
    CloseHandle(file);
    if (!ok || !MoveFileExW(part.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
        return 4;
    return 0;
}
