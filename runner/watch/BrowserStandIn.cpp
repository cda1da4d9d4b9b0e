// The links of an installation in scenarios (link, host-resources, ui-language, browser,
// shell-answer: their syntax is in engine/ScenarioLanguage.cpp), and what opening them starts.
//
// From the first browser or shell-answer directive on, the runner watches the plug-in: the programs it starts
// (CreateProcessW) are waited for after each link a step presses, and what it asks the shell to
// open (ShellExecuteW) is journalled instead of opened. The stand-in browser writes the command
// line it was started with. After each call the report tells both, in the order they happened:
//
//   link-started [COMMAND-LINE]   a program started with exactly this command line (between the
//                                 brackets, so that a blank at its end shows)
//   shell-open LINK               the shell was asked to open LINK (the fallback when no command
//                                 is registered or it cannot be started)
//
// The host's program folder, where it keeps its own documents, is written <host-folder> then.
#include "FileBytes.h"
#include "watch/ImportHook.h"
#include "watch/LinkWatch.h"
#include "engine/MachineFolders.h"
#include "RegistryArranger.h"
#include "engine/WiraxPlayer.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

namespace runner {

namespace {

using hostkit::ExpectWords;
using hostkit::ScenarioError;
using hostkit::ScenarioLine;

constexpr wchar_t kHttpCommandKey[] = L"Software\\Classes\\http\\shell\\open\\command";
constexpr wchar_t kJournalVariable[] = L"HOSTRUN_BROWSER_JOURNAL";
constexpr wchar_t kBrowserPlaceholder[] = L"<browser>";
constexpr DWORD kBrowserTimeoutMs = 20000;

using CreateProcessFunction = BOOL(WINAPI*)(LPCWSTR, LPWSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID,
                                            LPCWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION);

std::string Utf8Line(const std::wstring& text) { return hostkit::Utf8(text) + "\n"; }

void Append(const std::wstring& path, const std::string& text)
{
    for (int attempt = 0; attempt < 50; ++attempt) {
        HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
            CloseHandle(file);
            return;
        }
        Sleep(20);
    }
}

std::wstring RunnerFolder()
{
    wchar_t path[MAX_PATH] = L"";
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

// One scenario's watch: the hooks, the started processes, the journal and the registry values.
class LinkWatch {
public:
    explicit LinkWatch(HMODULE plugin)
    {
        wchar_t temp[MAX_PATH + 1] = L"";
        GetTempPathW(MAX_PATH + 1, temp);
        m_journal = std::wstring(temp) + L"hostrun-links-" + std::to_wstring(GetCurrentProcessId()) + L".log";
        DeleteFileW(m_journal.c_str());
        SetEnvironmentVariableW(kJournalVariable, m_journal.c_str());
        m_shell = std::make_unique<ImportHook>(plugin, "SHELL32.dll", "ShellExecuteW", reinterpret_cast<void*>(&ShellOpened));
        m_process = std::make_unique<ImportHook>(plugin, "KERNEL32.dll", "CreateProcessW", reinterpret_cast<void*>(&ProcessStarted));
    }
    ~LinkWatch()
    {
        m_shell.reset();
        m_process.reset();
        for (HANDLE process : m_processes)
            CloseHandle(process);
        SetEnvironmentVariableW(kJournalVariable, nullptr);
        DeleteFileW(m_journal.c_str());
    }
    LinkWatch(const LinkWatch&) = delete;
    LinkWatch& operator=(const LinkWatch&) = delete;

    bool Watching() const { return m_shell->Original() && m_process->Original(); }
    hostkit::RegistryArranger& Registry() { return m_registry; }

    size_t Started()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_processes.size();
    }

    void WaitSince(size_t mark)
    {
        std::vector<HANDLE> waiting;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            waiting.assign(m_processes.begin() + static_cast<std::ptrdiff_t>(std::min(mark, m_processes.size())), m_processes.end());
        }
        const ULONGLONG deadline = GetTickCount64() + kBrowserTimeoutMs;
        for (HANDLE process : waiting) {
            const ULONGLONG now = GetTickCount64();
            WaitForSingleObject(process, now < deadline ? static_cast<DWORD>(deadline - now) : 0);
        }
    }

    // The journal's lines since the last time, once every started program has ended.
    std::vector<std::wstring> NewLines()
    {
        WaitSince(0);
        std::vector<std::wstring> lines;
        std::string bytes;
        if (!hostkit::ReadFileBytes(m_journal, bytes))
            return lines;
        size_t at = std::min(m_read, bytes.size());
        for (size_t end = bytes.find('\n', at); end != std::string::npos; end = bytes.find('\n', at)) {
            lines.push_back(hostkit::FromUtf8(bytes.substr(at, end - at)));
            at = end + 1;
        }
        m_read = at;
        return lines;
    }

    static LinkWatch* current;

private:
    static HINSTANCE WINAPI ShellOpened(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR, INT)
    {
        std::wstring line = L"shell-open ";
        if (verb && _wcsicmp(verb, L"open") != 0)
            line += L"(" + std::wstring(verb) + L") ";
        line += file ? file : L"";
        if (parameters && *parameters)
            line += L" " + std::wstring(parameters);
        INT_PTR answer = kOpened;
        if (current) {
            Append(current->m_journal, Utf8Line(line));
            std::lock_guard<std::mutex> lock(current->m_mutex);
            if (!current->m_shellAnswers.empty()) {
                answer = current->m_shellAnswers.front();
                if (current->m_shellAnswers.size() > 1)
                    current->m_shellAnswers.erase(current->m_shellAnswers.begin());
            }
        }
        return reinterpret_cast<HINSTANCE>(answer);
    }

public:
    static constexpr INT_PTR kOpened = 42;  // opened, as far as the plug-in can tell

    void AnswerShell(std::vector<INT_PTR> answers)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_shellAnswers = std::move(answers);
    }

private:

    static BOOL WINAPI ProcessStarted(LPCWSTR application, LPWSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                                      LPSECURITY_ATTRIBUTES threadAttributes, BOOL inherit, DWORD flags, LPVOID environment,
                                      LPCWSTR directory, LPSTARTUPINFOW startup, LPPROCESS_INFORMATION information)
    {
        if (!current)
            return CreateProcessW(application, commandLine, processAttributes, threadAttributes, inherit, flags, environment,
                                  directory, startup, information);
        auto original = reinterpret_cast<CreateProcessFunction>(current->m_process->Original());
        const BOOL started = original(application, commandLine, processAttributes, threadAttributes, inherit, flags, environment,
                                      directory, startup, information);
        const DWORD error = GetLastError();
        HANDLE copy = nullptr;
        if (started && information
            && DuplicateHandle(GetCurrentProcess(), information->hProcess, GetCurrentProcess(), &copy, SYNCHRONIZE, FALSE, 0)) {
            std::lock_guard<std::mutex> lock(current->m_mutex);
            current->m_processes.push_back(copy);
        }
        SetLastError(error);
        return started;
    }

    std::wstring m_journal;
    size_t m_read = 0;
    std::unique_ptr<ImportHook> m_shell;
    std::unique_ptr<ImportHook> m_process;
    std::mutex m_mutex;
    std::vector<HANDLE> m_processes;
    std::vector<INT_PTR> m_shellAnswers;
    hostkit::RegistryArranger m_registry;
};

LinkWatch* LinkWatch::current = nullptr;

void ReportLinks(Report& report)
{
    if (!LinkWatch::current)
        return;
    for (const std::wstring& line : LinkWatch::current->NewLines()) {
        if (line.rfind(L"started ", 0) == 0) {
            const std::wstring commandLine = line.substr(8);
            report.Line(L"a link started " + Quoted(commandLine));
            report.Fact(L"link-started [" + commandLine + L"]");
        } else if (line.rfind(L"shell-open ", 0) == 0) {
            report.Line(L"a link was handed to the shell: " + Quoted(line.substr(11)));
            report.Fact(line);
        }
    }
}

LinkWatch& WatchOf(WiraxSession& session, const ScenarioLine& line)
{
    if (LinkWatch::current)
        return *LinkWatch::current;
    auto watch = std::make_shared<LinkWatch>(session.plugin);
    if (!watch->Watching())
        throw ScenarioError(line.number, L"the runner cannot watch how WiraxUI.dll opens links (its imports of ShellExecuteW and CreateProcessW are not where they are expected)");
    LinkWatch::current = watch.get();
    // Documents named relative to the host are opened from the host's program folder.
    AddFolderRole(RunnerFolder(), L"<host-folder>");
    // Released with the scenario's other arrangements: hooks undone, registry values put back.
    session.arranged.push_back(std::shared_ptr<void>(nullptr, [watch](void*) mutable {
        LinkWatch::current = nullptr;
        watch.reset();
    }));
    session.afterEachCall.push_back(ReportLinks);
    return *watch;
}

void Browser(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    ExpectWords(line, 1, 1, L"browser COMMAND|none");
    HKEY user = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kHttpCommandKey, 0, KEY_READ | KEY_WOW64_64KEY, &user) == ERROR_SUCCESS) {
        RegCloseKey(user);
        throw ScenarioError(line.number, L"the user's own http command (HKCU\\" + std::wstring(kHttpCommandKey)
                                             + L") would hide the machine's one that the scenario registers");
    }
    LinkWatch& watch = WatchOf(session, line);
    const std::wstring& command = line.words[1];
    if (command == L"none") {
        if (!watch.Registry().RemoveValue(HKEY_LOCAL_MACHINE, kHttpCommandKey, L""))
            throw ScenarioError(line.number, L"could not remove the http command (error " + std::to_wstring(watch.Registry().LastError()) + L")");
        report.Line(L"no command is registered for http links");
        return;
    }
    std::wstring registered = command;
    if (registered.find(kBrowserPlaceholder) != std::wstring::npos) {
        const std::wstring browser = RunnerFolder() + L"\\standin-browser.exe";
        if (GetFileAttributesW(browser.c_str()) == INVALID_FILE_ATTRIBUTES)
            throw ScenarioError(line.number, L"the stand-in browser is not there: " + browser);
        AddFolderRole(browser, kBrowserPlaceholder);
        for (size_t at = registered.find(kBrowserPlaceholder); at != std::wstring::npos;
             at = registered.find(kBrowserPlaceholder, at + browser.size()))
            registered.replace(at, wcslen(kBrowserPlaceholder), browser);
    }
    if (!watch.Registry().SetString(HKEY_LOCAL_MACHINE, kHttpCommandKey, L"", registered))
        throw ScenarioError(line.number, L"could not register the http command (error " + std::to_wstring(watch.Registry().LastError()) + L")");
    report.Line(L"http links open with " + Quoted(command));
}

void ShellAnswer(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    ExpectWords(line, 1, 1, L"shell-answer CODE[,CODE...]");
    std::vector<INT_PTR> answers;
    std::wstring rest = line.words[1];
    for (size_t comma; !rest.empty(); rest = comma == std::wstring::npos ? std::wstring() : rest.substr(comma + 1)) {
        comma = rest.find(L',');
        answers.push_back(static_cast<INT_PTR>(hostkit::ParseNumber(line, rest.substr(0, comma))));
    }
    if (answers.empty())
        throw ScenarioError(line.number, L"expected the codes the shell answers, such as 31 or 2,31");
    LinkWatch& watch = WatchOf(session, line);
    watch.AnswerShell(std::move(answers));
    report.Line(L"the shell answers " + line.words[1]);
}

void Link(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    ExpectWords(line, 2, 3, L"link documentation|support|requirements ADDRESS [DOCUMENT]");
    const std::wstring& which = line.words[1];
    CSetupManager& setup = session.setup;
    std::wstring* address = which == L"documentation" ? &setup.m_documentationUrl
                            : which == L"support"     ? &setup.m_supportUrl
                            : which == L"requirements" ? &setup.m_requirementsUrl
                                                        : nullptr;
    std::wstring* document = which == L"documentation" ? &setup.m_documentationPath
                             : which == L"support"     ? &setup.m_supportPath
                                                       : &setup.m_requirementsPath;
    if (!address)
        throw ScenarioError(line.number, L"expected documentation, support or requirements, found '" + which + L"'");
    *address = line.words[2];
    if (line.words.size() > 3)
        *document = line.words[3];
    report.Line(L"the " + which + L" link: address " + Quoted(*address) + L", document " + Quoted(*document));
}

void HostResources(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    ExpectWords(line, 1, 2, L"host-resources HOST-FOLDER [SOURCE-FOLDER]");
    session.setup.m_hostResPath = line.words[1];
    if (line.words.size() > 2)
        session.setup.m_sourceResPath = line.words[2];
    report.Line(L"host resources in " + Quoted(session.setup.m_hostResPath) + L", source resources in "
                + Quoted(session.setup.m_sourceResPath));
}

void UiLanguage(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    ExpectWords(line, 1, 1, L"ui-language TAG");
    session.setup.m_uiLanguage = line.words[1];
    report.Line(L"setup language " + line.words[1]);
}

const bool kRegistered = [] {
    WiraxDirectives()[L"browser"] = Browser;
    WiraxDirectives()[L"link"] = Link;
    WiraxDirectives()[L"shell-answer"] = ShellAnswer;
    WiraxDirectives()[L"host-resources"] = HostResources;
    WiraxDirectives()[L"ui-language"] = UiLanguage;
    return true;
}();

}  // namespace

size_t StartedProcessCount() { return LinkWatch::current ? LinkWatch::current->Started() : 0; }

void WaitForStartedProcesses(size_t mark)
{
    if (LinkWatch::current)
        LinkWatch::current->WaitSince(mark);
}

}  // namespace runner
