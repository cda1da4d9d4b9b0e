// hostilecalls: calls every export of a plug-in under one hostile condition of the installation
// or the machine, each call in a hostrun.exe of its own so that a crash is an exit code and a hang
// is a timeout. It checks each call's return value against what the export may answer, the boxes
// it showed, and the files that appeared on the drive while it ran. Usage:
//   hostilecalls CONDITION GROUP
//   CONDITION: missing-product | empty | long | marked | no-registry | no-resources
//   GROUP:     wiraxui-checks | wiraxui-pages | formwell
// Exit code 0 when every call behaved, 1 otherwise; one line per call on the console.
#include "HostileRules.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <set>
#include <string>
#include <vector>

namespace {

using hostile::Call;
using hostile::Condition;

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &result[0], size, nullptr, nullptr);
    return result;
}

std::wstring FromUtf8(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &result[0], size);
    return result;
}

std::wstring Folder(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\') + 1); }

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(towlower(c));
    return text;
}

bool WriteFileText(const std::wstring& path, const std::wstring& text)
{
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file)
        return false;
    const std::string bytes = Utf8(text);
    const bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && written;
}

std::wstring ReadFileText(const std::wstring& path)
{
    std::string bytes;
    if (FILE* file = _wfopen(path.c_str(), L"rb")) {
        char buffer[4096];
        size_t read = 0;
        while ((read = fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.append(buffer, read);
        fclose(file);
    }
    return FromUtf8(bytes);
}

// Every file and folder of the drive outside the folders a call may write and the system folder,
// in lower case.
// Other runs of this program (the conditions run side by side) keep their current folders here.
const wchar_t kCurrentFolders[] = L"c:\\users\\public\\hostile-current-";

void Walk(const std::wstring& folder, const std::vector<std::wstring>& skipped, std::set<std::wstring>& paths)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const std::wstring path = Lower(folder + name + (isFolder ? L"\\" : L""));
        static const std::wstring own = kCurrentFolders + std::to_wstring(GetCurrentProcessId()) + L"\\";
        bool skip = path.compare(0, wcslen(kCurrentFolders), kCurrentFolders) == 0 && path.compare(0, own.size(), own) != 0;
        for (const std::wstring& prefix : skipped)
            skip = skip || path.compare(0, prefix.size(), prefix) == 0;
        if (skip)
            continue;
        paths.insert(path);
        // Links (Wine's folders that lead back into the Unix tree) are not followed.
        if (isFolder && (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
            Walk(folder + name + L"\\", skipped, paths);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

std::set<std::wstring> Snapshot(const std::vector<std::wstring>& skipped)
{
    std::set<std::wstring> paths;
    Walk(L"C:\\", skipped, paths);
    return paths;
}

// Removes a file or a folder with everything in it; the long form of the path reaches what a
// 5,000-character property put deep below the drive's root.
void RemovePath(const std::wstring& path)
{
    const std::wstring longForm = L"\\\\?\\" + (path.back() == L'\\' ? path.substr(0, path.size() - 1) : path);
    const DWORD attributes = GetFileAttributesW(longForm.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        SetFileAttributesW(longForm.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileW(longForm.c_str()))
            RemoveDirectoryW(longForm.c_str());
        return;
    }
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((longForm + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name != L"." && name != L"..")
                RemovePath(longForm.substr(4) + L"\\" + name);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(longForm.c_str());
}

struct WindowList {
    DWORD process;
    std::vector<std::wstring> captions;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter)
{
    auto* list = reinterpret_cast<WindowList*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == list->process && IsWindowVisible(window)) {
        wchar_t caption[256] = L"";
        GetWindowTextW(window, caption, 256);
        list->captions.push_back(caption);
    }
    return TRUE;
}

// One hostrun.exe playing one scenario.
struct Child {
    const Call* call = nullptr;
    std::wstring scenarioPath;
    std::wstring factsPath;
    std::wstring errorPath;
    PROCESS_INFORMATION process{};
    ULONGLONG started = 0;
    bool timedOut = false;
    std::vector<std::wstring> openWindows;  // when it hung: the windows it still showed
    DWORD exitCode = 0;
    ULONGLONG took = 0;
};

bool Start(Child& child, const std::wstring& hostrun, const std::wstring& currentFolder)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE errors = CreateFileW(child.errorPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = errors;  // the report for people is not needed, only the facts
    startup.hStdError = errors;
    std::wstring command = L"\"" + hostrun + L"\" \"" + child.scenarioPath + L"\" --facts \"" + child.factsPath + L"\"";
    child.started = GetTickCount64();
    const BOOL created = CreateProcessW(hostrun.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                                        currentFolder.c_str(), &startup, &child.process);
    if (errors != INVALID_HANDLE_VALUE)
        CloseHandle(errors);
    return created != FALSE;
}

void Finish(Child& child, DWORD timeoutMs)
{
    const ULONGLONG waited = GetTickCount64() - child.started;
    const DWORD left = waited >= timeoutMs ? 0 : static_cast<DWORD>(timeoutMs - waited);
    if (WaitForSingleObject(child.process.hProcess, left) == WAIT_TIMEOUT) {
        child.timedOut = true;
        WindowList list{child.process.dwProcessId, {}};
        EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&list));
        child.openWindows = list.captions;
        TerminateProcess(child.process.hProcess, 999);
        WaitForSingleObject(child.process.hProcess, 10000);
    }
    GetExitCodeProcess(child.process.hProcess, &child.exitCode);
    child.took = GetTickCount64() - child.started;
    CloseHandle(child.process.hProcess);
    CloseHandle(child.process.hThread);
}

std::vector<std::wstring> Lines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// The verdicts on one finished call; empty when it behaved.
std::vector<std::wstring> Judge(const Child& child, Condition condition, std::wstring& result)
{
    std::vector<std::wstring> faults;
    if (child.timedOut) {
        std::wstring windows;
        for (const std::wstring& caption : child.openWindows)
            windows += L" \"" + caption + L"\"";
        faults.push_back(L"did not return within the time limit; windows still open:" + (windows.empty() ? L" none" : windows));
        return faults;
    }
    if (child.exitCode != 0) {
        std::wstring said = ReadFileText(child.errorPath);
        if (said.size() > 400)
            said = said.substr(said.size() - 400);
        faults.push_back(L"hostrun ended with exit code " + std::to_wstring(child.exitCode) + L" (0x" +
                         [&] { wchar_t hex[16]; swprintf(hex, 16, L"%08lX", child.exitCode); return std::wstring(hex); }() +
                         L"): " + said);
        return faults;
    }
    const std::wstring returnPrefix = L"return " + child.call->exportName + L" ";
    bool returned = false;
    std::vector<std::wstring> boxes;
    for (const std::wstring& fact : Lines(ReadFileText(child.factsPath))) {
        if (fact.compare(0, returnPrefix.size(), returnPrefix) == 0) {
            returned = true;
            result = fact.substr(returnPrefix.size());
        } else if (fact.compare(0, 7, L"dialog ") == 0) {
            boxes.push_back(fact.substr(7));
        }
    }
    if (!returned) {
        faults.push_back(L"no return value reported");
        return faults;
    }
    if (!hostile::ReturnAllowed(*child.call, condition, result))
        faults.push_back(L"returned " + result + L", which it may not answer here");
    for (const std::wstring& box : boxes) {
        if (!hostile::BoxAllowed(*child.call, result, box))
            faults.push_back(L"showed a box it should not: " + box);
    }
    return faults;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        fputs("usage: hostilecalls CONDITION GROUP\n", stderr);
        return 2;
    }
    const std::optional<Condition> condition = hostile::ParseCondition(argv[1]);
    const std::vector<Call> calls = hostile::CallsOf(argv[2]);
    if (!condition || calls.empty()) {
        fprintf(stderr, "hostilecalls: unknown condition or group: %ls %ls\n", argv[1], argv[2]);
        return 2;
    }

    wchar_t module[MAX_PATH];
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    const std::wstring hostrun = Folder(module) + L"hostrun.exe";
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring work = std::wstring(temp) + L"hostile-" + argv[1] + L"-" + argv[2] + L"-" +
                              std::to_wstring(GetCurrentProcessId()) + L"\\";
    const std::wstring emptyResources = work + L"no-resources";
    CreateDirectoryW(work.c_str(), nullptr);
    CreateDirectoryW(emptyResources.c_str(), nullptr);
    // The host's current folder is a watched one, so that a relative path written to shows.
    const std::wstring currentFolder = kCurrentFolders + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(currentFolder.c_str(), nullptr);
    std::vector<std::wstring> written;  // the driver's own files, removed after a clean run

    // Missing resource libraries cost every call the loader's retries (seconds of waiting, not
    // of work), and pages seconds of window set-up, so those calls run side by side; the others
    // one at a time so that a file that appears belongs to one call.
    const std::wstring group = argv[2];
    const size_t together = *condition == Condition::NoResources ? 8 : group == L"wiraxui-pages" ? 3 : 1;
    const DWORD timeoutMs = 60000;
    int failed = 0;
    size_t watched = 0;
    for (size_t first = 0; first < calls.size(); first += together) {
        std::vector<Child> children;
        std::vector<std::wstring> skipped = hostile::OthersMayWrite();
        skipped.insert(skipped.end(), {L"c:\\windows\\", Lower(temp)});
        for (size_t index = first; index < calls.size() && index < first + together; ++index) {
            Child child;
            child.call = &calls[index];
            const std::wstring base = work + child.call->exportName;
            child.scenarioPath = base + L".txt";
            child.factsPath = base + L".facts";
            child.errorPath = base + L".out";
            WriteFileText(child.scenarioPath, hostile::Scenario(*child.call, *condition, emptyResources));
            written.insert(written.end(), {child.scenarioPath, child.factsPath, child.errorPath});
            for (const std::wstring& folder : hostile::MayWrite(*child.call, *condition))
                skipped.push_back(folder);
            children.push_back(child);
        }
        const std::set<std::wstring> before = Snapshot(skipped);
        // What the calls may write goes again afterwards when it was not there before.
        std::vector<std::wstring> madeByCalls;
        for (const Child& child : children) {
            for (const std::wstring& folder : hostile::MayWrite(*child.call, *condition)) {
                if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
                    madeByCalls.push_back(folder);
            }
        }
        for (Child& child : children) {
            if (!Start(child, hostrun, currentFolder)) {
                fprintf(stderr, "hostilecalls: cannot start %ls (error %lu)\n", hostrun.c_str(), GetLastError());
                return 2;
            }
        }
        for (Child& child : children)
            Finish(child, timeoutMs);
        const std::set<std::wstring> after = Snapshot(skipped);
        watched = after.size();
        std::vector<std::wstring> appeared;
        for (const std::wstring& path : after) {
            if (before.count(path))
                continue;
            bool allowed = false;
            for (const Child& child : children)
                allowed = allowed || hostile::FileAllowed(*child.call, path);
            if (!allowed)
                appeared.push_back(path);
        }

        for (const std::wstring& folder : madeByCalls)
            RemovePath(folder);
        // A stray file is removed once reported, so that the next run finds it anew.
        for (auto path = appeared.rbegin(); path != appeared.rend(); ++path)
            RemovePath(*path);
        if (appeared.size() > 8) {
            const size_t more = appeared.size() - 6;
            appeared.resize(6);
            appeared.push_back(L"(and " + std::to_wstring(more) + L" more)");
        }

        for (const Child& child : children) {
            std::wstring result = L"(none)";
            std::vector<std::wstring> faults = Judge(child, *condition, result);
            for (const std::wstring& path : appeared)
                faults.push_back((children.size() > 1 ? L"a file appeared while it ran with others: " : L"a file appeared: ") + path);
            printf("%-26s %-8s -> %s (%llu ms)\n", Utf8(child.call->exportName).c_str(), faults.empty() ? "ok" : "FAILED",
                   Utf8(result).c_str(), child.took);
            for (const std::wstring& fault : faults)
                printf("    %s\n", Utf8(fault).c_str());
            if (!faults.empty()) {
                ++failed;
                printf("    scenario %s\n", Utf8(child.scenarioPath).c_str());
            }
        }
        fflush(stdout);
    }
    printf("%s %s: %zu calls, %d misbehaved; %zu files and folders of the drive watched\n", Utf8(argv[1]).c_str(),
           Utf8(argv[2]).c_str(), calls.size(), failed, watched);
    // What a failed run leaves stays for a look; the current folder goes only when nothing is in it.
    RemoveDirectoryW(currentFolder.c_str());
    if (failed == 0) {
        for (const std::wstring& path : written)
            DeleteFileW(path.c_str());
        RemoveDirectoryW(emptyResources.c_str());
        RemoveDirectoryW(work.c_str());
    }
    return failed == 0 ? 0 : 1;
}
