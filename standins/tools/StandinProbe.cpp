// A hostile program for the tests of the install-time actions, in three roles:
//
//   wirax-probe plant FOLDER READY ATTEMPTED RELEASE [GO]
//       Another user's program: arms a watch on FOLDER (the installer's temporary folder), sets the
//       event READY, waits for the merge's working folder FOLDER\MergeMDB to appear (and then for
//       the event GO, when named, to come after the installer's copies) and puts a
//       copy of itself there as "wrxCompactMDB.exe", holding it open without write or delete
//       sharing so that the installer cannot replace it. It tries until it holds its own copy or
//       cannot write the name any more, then sets ATTEMPTED and keeps what it holds until RELEASE.
//       Exit code: 1 it held its copy, 2 it could not plant, 10 and up the watch failed.
//   wirax-probe signal HANDLE
//       Sets the event HANDLE (a number): 1 when that worked, i.e. the handle was inherited.
//   anything else (run in a tool's place)
//       Appends "planted program ran|<command line>" to the tools' journal (WIRAX_TOOL_JOURNAL, else
//       "wirax-tools.log" in the temporary folder): the line a test must never find.
#include "ToolJournal.h"

#include <windows.h>

#include <cwchar>
#include <string>

namespace {


std::string ReadAll(HANDLE file)
{
    std::string data;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        data.append(chunk, got);
    return data;
}

std::string ReadAll(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string data = ReadAll(file);
    CloseHandle(file);
    return data;
}

std::wstring OwnPath()
{
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

int Plant(const std::wstring& folder, const wchar_t* readyName, const wchar_t* attemptedName, const wchar_t* releaseName,
          const wchar_t* goName)
{
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, readyName);
    HANDLE attempted = OpenEventW(EVENT_MODIFY_STATE, FALSE, attemptedName);
    HANDLE release = OpenEventW(SYNCHRONIZE, FALSE, releaseName);
    HANDLE go = goName ? OpenEventW(SYNCHRONIZE, FALSE, goName) : nullptr;
    if (!ready || !attempted || !release || (goName && !go))
        return 10;
    HANDLE change = FindFirstChangeNotificationW(folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_DIR_NAME);
    if (change == INVALID_HANDLE_VALUE)
        return 11;
    SetEvent(ready);

    // The watch is armed before the first look, so a folder made in between still wakes it.
    const std::wstring work = folder + L"\\MergeMDB";
    while (GetFileAttributesW(work.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (WaitForSingleObject(change, 120000) != WAIT_OBJECT_0)
            return 12;
        FindNextChangeNotification(change);
    }
    FindCloseChangeNotification(change);
    if (go && WaitForSingleObject(go, 120000) != WAIT_OBJECT_0)
        return 13;

    const std::wstring self = OwnPath();
    const std::string marker = ReadAll(self);
    const std::wstring target = work + L"\\wrxCompactMDB.exe";
    HANDLE held = INVALID_HANDLE_VALUE;
    int result = 2;
    for (int attempt = 0; attempt < 200; ++attempt) {
        // Fails once the installer holds its own copy under the name.
        if (!CopyFileW(self.c_str(), target.c_str(), FALSE))
            break;
        held = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (held != INVALID_HANDLE_VALUE && ReadAll(held) == marker) {
            result = 1;
            break;
        }
        // The installer's copy took the name between the two steps: again.
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
        held = INVALID_HANDLE_VALUE;
    }
    SetEvent(attempted);
    WaitForSingleObject(release, 300000);
    if (held != INVALID_HANDLE_VALUE)
        CloseHandle(held);
    return result;
}

void Journal(const std::string& line) { standin_tools::AppendText(standin_tools::JournalPath(), line); }

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if ((argc == 6 || argc == 7) && std::wstring(argv[1]) == L"plant")
        return Plant(argv[2], argv[3], argv[4], argv[5], argc == 7 ? argv[6] : nullptr);
    if (argc == 3 && std::wstring(argv[1]) == L"signal")
        return SetEvent(reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(_wcstoui64(argv[2], nullptr, 10)))) ? 1 : 0;
    Journal("planted program ran|" + standin_tools::Utf8(GetCommandLineW()) + "\n");
    return 0;
}
