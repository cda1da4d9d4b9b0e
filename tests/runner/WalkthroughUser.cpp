// walkuser: stands in for the person in front of hostrun's walkthrough.
//
//   walkuser wait [--cancel] [--wizard-button ID] [HOSTRUN-ARGUMENTS]
//     plays the scenario headless, then again with --show, pressing Next > (or Cancel) on every
//     host panel and the wizard button ID (default Next) on every wizard page once hostrun waits
//     there. It
//     fails when hostrun goes on by itself, when a page does not go once pressed, or when the
//     facts of the two runs differ: pressing what the scenario says must play it exactly.
//   walkuser pictures [HOSTRUN-ARGUMENTS]
//     plays the scenario with --pictures into a fresh folder and checks that the pictures are
//     numbered 01, 02, ... without gaps and that each is a real picture (not empty or one colour).
//
// hostrun.exe is taken from walkuser's own folder.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kWaitingProperty[] = L"HostrunWaitsForUser";
constexpr int kNextButton = 30001;
constexpr int kCancelButton = 30002;
constexpr DWORD kUserPatienceMs = 1500;  // how long hostrun must keep waiting before the press
constexpr DWORD kRunTimeoutMs = 180000;

struct Process {
    PROCESS_INFORMATION info{};
    ~Process()
    {
        if (info.hProcess) {
            if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(info.hProcess, 1);
            CloseHandle(info.hProcess);
            CloseHandle(info.hThread);
        }
    }
    bool Running() const { return WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT; }
    DWORD ExitCode() const
    {
        DWORD code = 1;
        GetExitCodeProcess(info.hProcess, &code);
        return code;
    }
};

std::wstring Quoted(const std::wstring& word)
{
    if (!word.empty() && word.find_first_of(L" \t\"") == std::wstring::npos)
        return word;
    std::wstring quoted = L"\"";
    for (wchar_t c : word)
        quoted += c == L'"' ? std::wstring(L"\\\"") : std::wstring(1, c);
    return quoted + L"\"";
}

std::wstring OwnFolder()
{
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

bool Start(Process& process, const std::vector<std::wstring>& arguments)
{
    const std::wstring program = OwnFolder() + L"hostrun.exe";
    std::wstring command = Quoted(program);
    for (const std::wstring& argument : arguments)
        command += L" " + Quoted(argument);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process.info)) {
        fwprintf(stderr, L"walkuser: cannot start %ls (error %lu)\n", program.c_str(), GetLastError());
        return false;
    }
    return true;
}

bool RunToEnd(const std::vector<std::wstring>& arguments)
{
    Process process;
    if (!Start(process, arguments))
        return false;
    if (WaitForSingleObject(process.info.hProcess, kRunTimeoutMs) != WAIT_OBJECT_0) {
        fputws(L"walkuser: hostrun did not finish\n", stderr);
        return false;
    }
    if (process.ExitCode() != 0) {
        fwprintf(stderr, L"walkuser: hostrun ended with %lu\n", process.ExitCode());
        return false;
    }
    return true;
}

std::wstring TempFolder(const wchar_t* name)
{
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"walkuser-" + name + L"-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::string ReadAll(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The first line where the two texts part, for the failure message.
std::string FirstDifference(const std::string& expected, const std::string& seen)
{
    std::istringstream a(expected), b(seen);
    std::string lineA, lineB;
    for (int number = 1;; ++number) {
        const bool moreA = static_cast<bool>(std::getline(a, lineA));
        const bool moreB = static_cast<bool>(std::getline(b, lineB));
        if (!moreA && !moreB)
            return "none";
        if (!moreA || !moreB || lineA != lineB)
            return "fact " + std::to_string(number) + ": headless \"" + (moreA ? lineA : "") + "\", shown \"" + (moreB ? lineB : "") + "\"";
    }
}

struct Waiting {
    std::vector<HWND> windows;
    DWORD process = 0;
};

std::vector<HWND> WaitingWindows(DWORD process)
{
    Waiting found;
    found.process = process;
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* waiting = reinterpret_cast<Waiting*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == waiting->process && IsWindowVisible(window) && GetPropW(window, kWaitingProperty))
                waiting->windows.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.windows;
}

HWND ButtonOf(DWORD process, HWND page, int id)
{
    if (HWND button = GetDlgItem(page, id); button && IsWindowEnabled(page))
        return button;
    struct Search {
        DWORD process;
        int id;
        HWND button = nullptr;
    } search{process, id};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* search = reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == search->process && IsWindowVisible(window) && IsWindowEnabled(window))
                search->button = GetDlgItem(window, search->id);
            return search->button == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.button;
}

bool StillWaits(HWND window) { return IsWindow(window) && IsWindowVisible(window) && GetPropW(window, kWaitingProperty); }

int Wait(int panelButton, int wizardButton, const std::vector<std::wstring>& arguments)
{
    const std::wstring folder = TempFolder(L"wait");
    const std::wstring headless = folder + L"\\headless.txt";
    const std::wstring shown = folder + L"\\shown.txt";
    std::vector<std::wstring> headlessRun = arguments;
    headlessRun.insert(headlessRun.end(), {L"--facts", headless});
    if (!RunToEnd(headlessRun))
        return 1;

    std::vector<std::wstring> shownRun = arguments;
    shownRun.insert(shownRun.end(), {L"--show", L"--facts", shown});
    Process process;
    if (!Start(process, shownRun))
        return 1;
    int pages = 0;
    const ULONGLONG deadline = GetTickCount64() + kRunTimeoutMs;
    while (process.Running()) {
        if (GetTickCount64() > deadline) {
            fputws(L"walkuser: the shown run did not finish\n", stderr);
            return 1;
        }
        const std::vector<HWND> waiting = WaitingWindows(process.info.dwProcessId);
        if (waiting.empty()) {
            Sleep(50);
            continue;
        }
        HWND window = waiting.front();
        HWND next = GetDlgItem(window, kNextButton);
        const bool panel = next != nullptr;
        if (panel && !IsWindowEnabled(next)) {
            fputws(L"walkuser: the panel waits with Next > disabled\n", stderr);
            return 1;
        }
        Sleep(kUserPatienceMs);
        if (!process.Running() || !StillWaits(window)) {
            fwprintf(stderr, L"walkuser: page %d went on without the user\n", pages + 1);
            return 1;
        }
        // On a wizard page the button may be on a dialog the page opened over itself.
        HWND button = panel ? GetDlgItem(window, panelButton) : ButtonOf(process.info.dwProcessId, window, wizardButton);
        if (!button) {
            fwprintf(stderr, L"walkuser: the wizard page has no button %d\n", wizardButton);
            return 1;
        }
        PostMessageW(button, BM_CLICK, 0, 0);
        ++pages;
        const ULONGLONG gone = GetTickCount64() + 10000;
        while (StillWaits(window)) {
            if (GetTickCount64() > gone) {
                fwprintf(stderr, L"walkuser: page %d stayed after the press\n", pages);
                return 1;
            }
            Sleep(50);
        }
    }
    if (process.ExitCode() != 0) {
        fwprintf(stderr, L"walkuser: the shown run ended with %lu\n", process.ExitCode());
        return 1;
    }
    const std::string expected = ReadAll(headless);
    const std::string seen = ReadAll(shown);
    DeleteFileW(headless.c_str());
    DeleteFileW(shown.c_str());
    RemoveDirectoryW(folder.c_str());
    if (expected.empty() || expected != seen) {
        fprintf(stderr, "walkuser: the shown run's facts differ from the headless run's; first difference: %s\n",
                FirstDifference(expected, seen).c_str());
        return 1;
    }
    wprintf(L"walkuser: %d pages waited for the user; the shown run's facts equal the headless run's\n", pages);
    return 0;
}

// Enough different colours on a grid across the picture: not an empty or uniform capture.
bool LooksDrawn(Gdiplus::Bitmap& picture)
{
    std::set<Gdiplus::ARGB> colours;
    const UINT width = picture.GetWidth();
    const UINT height = picture.GetHeight();
    for (UINT y = 0; y < 24; ++y) {
        for (UINT x = 0; x < 24; ++x) {
            Gdiplus::Color colour;
            picture.GetPixel(x * width / 24, y * height / 24, &colour);
            colours.insert(colour.GetValue());
        }
    }
    return colours.size() >= 3;
}

int Pictures(const std::vector<std::wstring>& arguments)
{
    const std::wstring folder = TempFolder(L"pictures");
    std::vector<std::wstring> run = arguments;
    run.insert(run.end(), {L"--pictures", folder});
    const bool played = RunToEnd(run);

    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*.png").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            names.push_back(found.cFileName);
        while (FindNextFileW(search, &found));
        FindClose(search);
    }
    std::sort(names.begin(), names.end());
    bool good = played && !names.empty();
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    for (size_t i = 0; i < names.size(); ++i) {
        wchar_t number[8];
        swprintf(number, 8, L"%02zu-", i + 1);
        const std::wstring path = folder + L"\\" + names[i];
        UINT width = 0, height = 0;
        bool drawn = false;
        {
            Gdiplus::Bitmap picture(path.c_str());
            if (picture.GetLastStatus() == Gdiplus::Ok) {
                width = picture.GetWidth();
                height = picture.GetHeight();
                drawn = width >= 100 && height >= 60 && LooksDrawn(picture);
            }
        }
        const bool numbered = names[i].compare(0, 3, number) == 0;
        wprintf(L"%ls %ux%u%ls%ls\n", names[i].c_str(), width, height, numbered ? L"" : L" (out of order)",
                drawn ? L"" : L" (not a drawn picture)");
        good = good && numbered && drawn;
        DeleteFileW(path.c_str());
    }
    Gdiplus::GdiplusShutdown(token);
    RemoveDirectoryW(folder.c_str());
    if (!good) {
        fputws(L"walkuser: the pictures are not right\n", stderr);
        return 1;
    }
    wprintf(L"walkuser: %zu pictures, numbered in order\n", names.size());
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    std::vector<std::wstring> arguments(argv + std::min(argc, 2), argv + argc);
    if (mode == L"wait") {
        int panelButton = kNextButton;
        if (!arguments.empty() && arguments[0] == L"--cancel") {
            panelButton = kCancelButton;
            arguments.erase(arguments.begin());
        }
        int wizardButton = IDOK;
        if (arguments.size() >= 2 && arguments[0] == L"--wizard-button") {
            wizardButton = _wtoi(arguments[1].c_str());
            arguments.erase(arguments.begin(), arguments.begin() + 2);
        }
        return Wait(panelButton, wizardButton, arguments);
    }
    if (mode == L"pictures")
        return Pictures(arguments);
    fputws(L"usage: walkuser wait [--cancel] [--wizard-button ID] [HOSTRUN-ARGUMENTS] | walkuser pictures [HOSTRUN-ARGUMENTS]\n", stderr);
    return 2;
}
