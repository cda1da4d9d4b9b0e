// deploykill: a deployment of the sample media played by a child hostrun, ended with
// TerminateProcess at 30 moments spread over its phases (unpacking, manufacturers, support copies,
// merge). After each kill every file below the shared folders must be its earlier version, the
// complete new one (the archive entry, the source file, or what the whole deployment makes of it)
// or absent when it had no earlier version; the only other names allowed are the recognisable
// temporary files, and a deployment that runs to its end afterwards must remove every one of them.
//
//   deploykill [KILLS]      (30 by default; run from the folder of hostrun.exe)
// Exit code 0 when every kill left what it may; one line per kill on the console.
#include "ActionsTestSupport.h"
#include "SampleMedia.h"
#include "ZipBuilder.h"
#include "actions/WholeFile.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using actionstest::ReadBytes;
using hostkit::RemoveTree;
using Tree = std::map<std::wstring, std::string>;

std::string Utf8(const std::wstring& text) { return media::Utf8(text); }

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

std::wstring BaseName(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// The files below `root` by relative path with their bytes; temporary files apart.
Tree Snapshot(const std::wstring& root, std::vector<std::wstring>* temporaries = nullptr)
{
    Tree tree;
    for (const auto& [path, attributes] : actionstest::Walk(root)) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        if (wiraxui::actions::IsTemporaryName(BaseName(path))) {
            if (temporaries)
                temporaries->push_back(path);
            continue;
        }
        tree[path] = ReadBytes(root + L"\\" + path);
    }
    return tree;
}

bool MakeFolders(const std::wstring& folder)
{
    if (GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    const size_t slash = folder.find_last_of(L'\\');
    if (slash != std::wstring::npos && slash > 2)
        MakeFolders(folder.substr(0, slash));
    return CreateDirectoryW(folder.c_str(), nullptr) != 0;
}

// The shared folders as the earlier deployment left them; the temporary files killed runs left
// stay, so that the last deployment has to clear them.
void Restore(const std::wstring& share, const Tree& earlier)
{
    for (const auto& [path, attributes] : actionstest::Walk(share)) {
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) || wiraxui::actions::IsTemporaryName(BaseName(path)))
            continue;
        SetFileAttributesW((share + L"\\" + path).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW((share + L"\\" + path).c_str());
    }
    for (const auto& [path, bytes] : earlier) {
        const std::wstring full = share + L"\\" + path;
        MakeFolders(full.substr(0, full.find_last_of(L'\\')));
        actionstest::WriteBytes(full, bytes);
    }
}

struct Mark {
    double ms = 0;
    std::string what;
};

std::vector<Mark> ReadMarks(const std::wstring& log)
{
    std::vector<Mark> marks;
    std::istringstream lines(ReadBytes(log));
    for (std::string line; std::getline(lines, line);) {
        const size_t blank = line.find(' ');
        if (blank == std::string::npos)
            continue;
        marks.push_back({atof(line.substr(0, blank).c_str()), line.substr(blank + 1)});
    }
    return marks;
}

// Which part of the work a moment falls in, by the last phase mark before it.
const char* const kGroups[] = {"unpacking", "manufacturers", "support copies", "merge", "after the merge"};

int GroupOfPhase(int phase)
{
    if (phase <= 0)
        return 0;
    if (phase == 1)
        return 1;
    if (phase <= 4)
        return 2;
    return 3;
}

class Deployment {
public:
    Deployment(std::wstring scratch) : m_scratch(std::move(scratch)) {}

    std::wstring Scenario(const std::wstring& media, const std::wstring& share) const
    {
        std::wstring text = L"plugin WiraxUI\nsetup-mode 6\ntarget-platform x64\n";
        text += L"source-root \"" + media + L"\"\nlanguage en-us\n";
        text += L"deployment-folder \"" + m_scratch + L"\\deployment\\\"\ninstall-path \"" + m_scratch + L"\\deployment\\\"\n";
        text += L"product WIRAX_MAIN state=2\n";
        for (const wchar_t* property : {L"PLNDVERSION \"2027\"", L"PLNDPRODUCTID \"0410\"", L"PLNDLOCALEID \"1033\"", L"LANG2LONG \"en-us\"",
                                        L"DRAWINGSTANDARD \"IEC\"", L"SYMBOLLIBRARY \"\"", L"WIRAXDEFAULTFOLDER \"Wirax 2027\"",
                                        L"Manufacturer \"Tarvena\"", L"SHAREDSUPPORT \"0\"", L"SHAREDSYMBOL \"0\""})
            text += L"property WIRAX_MAIN " + std::wstring(property) + L"\n";
        text += L"call InitializeProduct_WRX\ncall ManufacturerContentPage\n";
        text += L"user check 1205 \"AB\"\nuser check 1205 \"ABB\"\nuser check 1205 \"MERLIN GERIN\"\nuser commit\n";
        text += L"call SharedLibraryPage\nuser check 1159\nuser type 1021 \"" + share + L"\\Support\"\n";
        text += L"user check 1160\nuser type 1022 \"" + share + L"\\Symbols\"\nuser commit\n";
        text += L"call CheckBeforeInstall\ncall InstallSharedLibrary\n";
        return text;
    }

    struct Outcome {
        bool started = false;
        bool ended = false;  // the call returned before the kill
        std::string result;
        int phase = 0;       // the last phase begun
        DWORD exitCode = 0;
        std::vector<Mark> marks;
    };

    // Plays the scenario in a child hostrun; with `killAfter` >= 0 ends it that many milliseconds
    // after the child's progress log holds the landmark numbered `anchor` (0 is "start"). The
    // landmarks come in the same order in every run, so the kill lands in the part of the work
    // meant, however fast the run is.
    Outcome Run(const std::wstring& scenario, double killAfter, size_t anchor = 0)
    {
        const int number = ++m_runs;
        const std::wstring run = m_scratch + L"\\run" + std::to_wstring(number);
        RemoveTree(run);
        MakeFolders(run + L"\\temp");
        const std::wstring scenarioPath = run + L"\\deployment.txt";
        actionstest::WriteBytes(scenarioPath, Utf8(scenario));
        const std::wstring log = run + L"\\progress.log";
        SetEnvironmentVariableW(L"HOSTRUN_PROGRESS_LOG", log.c_str());
        SetEnvironmentVariableW(L"TMP", (run + L"\\temp").c_str());
        SetEnvironmentVariableW(L"TEMP", (run + L"\\temp").c_str());
        SetEnvironmentVariableW(L"WIRAX_TOOL_JOURNAL", (run + L"\\tools.log").c_str());

        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE output = CreateFileW((run + L"\\report.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = output;
        startup.hStdError = output;
        std::wstring commandLine = L"\"" + ProgramFolder() + L"\\hostrun.exe\" \"" + scenarioPath + L"\"";
        PROCESS_INFORMATION child{};
        Outcome outcome;
        // The tools the killed host had started would live on and keep the test's output open: the
        // host and all it starts are one job, ended with it.
        HANDLE job = CreateJobObjectW(nullptr, nullptr);
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, ProgramFolder().c_str(),
                            &startup, &child)) {
            CloseHandle(output);
            CloseHandle(job);
            return outcome;
        }
        CloseHandle(output);
        if (job)
            AssignProcessToJobObject(job, child.hProcess);
        ResumeThread(child.hThread);
        CloseHandle(child.hThread);
        const ULONGLONG deadline = GetTickCount64() + 180000;
        if (killAfter >= 0) {
            LARGE_INTEGER frequency, seen, now;
            QueryPerformanceFrequency(&frequency);
            bool begun = false;
            while (!begun && GetTickCount64() < deadline && WaitForSingleObject(child.hProcess, 0) == WAIT_TIMEOUT) {
                const std::string text = ReadBytes(log);
                begun = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) > anchor;
                if (!begun)
                    Sleep(1);
            }
            QueryPerformanceCounter(&seen);
            for (;;) {
                QueryPerformanceCounter(&now);
                const double elapsed = 1000.0 * static_cast<double>(now.QuadPart - seen.QuadPart) / static_cast<double>(frequency.QuadPart);
                if (!begun || elapsed >= killAfter)
                    break;
                Sleep(elapsed + 2 < killAfter ? 1 : 0);
            }
            if (begun)
                TerminateProcess(child.hProcess, 99);
        }
        if (WaitForSingleObject(child.hProcess, static_cast<DWORD>(deadline > GetTickCount64() ? deadline - GetTickCount64() : 0)) != WAIT_OBJECT_0)
            TerminateProcess(child.hProcess, 98);
        WaitForSingleObject(child.hProcess, 10000);
        if (job) {
            TerminateJobObject(job, 97);
            CloseHandle(job);
        }
        GetExitCodeProcess(child.hProcess, &outcome.exitCode);
        CloseHandle(child.hProcess);

        outcome.marks = ReadMarks(log);
        for (const Mark& mark : outcome.marks) {
            if (mark.what == "start")
                outcome.started = true;
            else if (mark.what.rfind("phase ", 0) == 0)
                outcome.phase = atoi(mark.what.c_str() + 6);
            else if (mark.what.rfind("end ", 0) == 0) {
                outcome.ended = true;
                outcome.result = mark.what.substr(4);
            }
        }
        return outcome;
    }

    std::wstring Report(int number) const { return m_scratch + L"\\run" + std::to_wstring(number) + L"\\report.txt"; }
    int Runs() const { return m_runs; }

private:
    std::wstring m_scratch;
    int m_runs = 0;
};

struct Moment {
    size_t anchor;  // the landmark the kill is timed from
    double after;   // milliseconds after it
    double at;      // when that was in the whole run, for the report
    int group;
};

// The moments to kill at, from a whole run's landmarks: spread evenly over the unpacking, the
// manufacturers, the copying part of each folder tree (after its pause) and the merge (before the
// action's last pause), each timed from the landmark that begins its part.
std::vector<Moment> Moments(const std::vector<Mark>& marks, int kills)
{
    struct Window {
        size_t anchor;
        double from, length;
    };
    std::vector<Window> windows[4];
    int phase = 0, resets = 0;
    size_t open = 0;
    double opened = 0;
    int openGroup = 0;
    const auto close = [&](double at) {
        if (openGroup >= 0)
            windows[openGroup].push_back({open, opened, std::max(0.0, at - opened)});
        openGroup = -1;
    };
    for (size_t i = 0; i < marks.size(); ++i) {
        const Mark& mark = marks[i];
        if (mark.what == "start") {
            open = i, opened = mark.ms, openGroup = 0;
        } else if (mark.what.rfind("phase ", 0) == 0) {
            close(mark.ms);
            phase = atoi(mark.what.c_str() + 6);
            resets = 0;
            if (phase == 1 || phase == 5)
                open = i, opened = mark.ms, openGroup = phase == 1 ? 1 : 3;
        } else if (mark.what.rfind("reset ", 0) == 0 && ++resets == 2 && phase >= 2 && phase <= 4) {
            open = i, opened = mark.ms, openGroup = 2;
        } else if (mark.what.rfind("end ", 0) == 0) {
            close(mark.ms - 1000);  // the action's own last pause
        }
    }
    const int share[4] = {kills * 8 / 30, kills * 7 / 30, kills * 8 / 30, kills - kills * 8 / 30 * 2 - kills * 7 / 30};
    std::vector<Moment> moments;
    for (int group = 0; group < 4; ++group) {
        double total = 0;
        for (const Window& window : windows[group])
            total += window.length;
        for (int i = 0; i < share[group]; ++i) {
            // A little short of the even spread, so that a slower run is still in the same part.
            double offset = 0.9 * total * (i + 0.5) / share[group];
            for (const Window& window : windows[group]) {
                if (offset <= window.length) {
                    moments.push_back({window.anchor, offset, window.from + offset, group});
                    break;
                }
                offset -= window.length;
            }
        }
    }
    return moments;
}

class Checker {
public:
    Checker(std::wstring share, const Tree& earlier, const Tree& whole, std::wstring media)
        : m_share(std::move(share)), m_earlier(earlier), m_whole(whole), m_media(std::move(media))
    {
    }

    // Problems with the state of the shared folders now; `temporaries` receives the leftovers.
    std::vector<std::string> Check(std::vector<std::wstring>& temporaries) const
    {
        std::vector<std::string> problems;
        const Tree now = Snapshot(m_share, &temporaries);
        for (const auto& [path, bytes] : now) {
            if (Acceptable(path, bytes))
                continue;
            problems.push_back(Utf8(path) + ": " + std::to_string(bytes.size()) + " bytes that are neither its earlier version nor a whole new one");
        }
        for (const auto& [path, bytes] : m_earlier) {
            if (!now.count(path))
                problems.push_back(Utf8(path) + ": the earlier version is gone");
        }
        return problems;
    }

private:
    bool Acceptable(const std::wstring& path, const std::string& bytes) const
    {
        const auto earlier = m_earlier.find(path);
        if (earlier != m_earlier.end() && earlier->second == bytes)
            return true;
        const auto whole = m_whole.find(path);
        if (whole != m_whole.end() && whole->second == bytes)
            return true;
        // The catalog databases are copied from the media first and merged afterwards: the copy
        // as it came from the media is a whole file too.
        for (const std::wstring& source : Sources(path)) {
            if (actionstest::Exists(source) && ReadBytes(source) == bytes)
                return true;
        }
        return false;
    }

    std::vector<std::wstring> Sources(const std::wstring& path) const
    {
        const std::wstring data = L"Support\\WxData\\";
        if (path.rfind(data, 0) != 0)
            return {};
        const std::wstring relative = path.substr(data.size());
        const std::wstring language = m_media + L"\\x64\\en-us\\Wirax\\";
        std::vector<std::wstring> sources = {language + L"WiraxPS\\PF\\Root\\Wirax\\UDC\\" + relative};
        const std::wstring plc = L"en-us\\Plc\\";
        if (relative.rfind(plc, 0) == 0)
            sources.push_back(language + L"WiraxPS\\Wirax\\PF\\TRVN\\Root\\UDC\\en-us\\Plc\\Enu\\" + relative.substr(plc.size()));
        if (relative.rfind(L"en-us\\", 0) == 0)
            sources.push_back(language + L"WiraxContentLP\\PF\\Root\\Wirax\\UDC\\" + relative);
        return sources;
    }

    std::wstring m_share;
    const Tree& m_earlier;
    const Tree& m_whole;
    std::wstring m_media;
};

media::SampleMediaOptions Edition(unsigned edition)
{
    media::SampleMediaOptions options;
    options.edition = edition;
    // Large enough that a kill lands in the middle of files; the earlier edition has fewer files,
    // so that some new files have no earlier version and some earlier files no successor.
    options.filesPerLibrary = edition == 1 ? 8 : 10;
    options.libraryFileBytes = 160 * 1024;
    options.filesPerManufacturer = edition == 1 ? 10 : 12;
    options.userDataFiles = edition == 1 ? 80 : 120;
    options.userDataFileBytes = 48 * 1024;
    return options;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int kills = argc > 1 ? _wtoi(argv[1]) : 30;
    wchar_t temp[MAX_PATH + 1] = L"";
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring scratch = std::wstring(temp) + L"deploykill-" + std::to_wstring(GetCurrentProcessId());
    RemoveTree(scratch);
    MakeFolders(scratch);
    const std::wstring share = scratch + L"\\share";
    const std::wstring oldMedia = scratch + L"\\media-old", newMedia = scratch + L"\\media-new";
    int failures = 0;
    const auto fail = [&failures](const std::string& text) {
        printf("FAIL %s\n", text.c_str());
        ++failures;
    };
    for (const auto& [folder, edition] : {std::pair<std::wstring, unsigned>{oldMedia, 1}, {newMedia, 2}}) {
        const media::SampleMediaResult made = media::GenerateSampleMedia(folder, Edition(edition));
        if (!made.ok) {
            printf("FAIL sample media not made: %s\n", Utf8(made.error).c_str());
            return 1;
        }
    }

    Deployment deployment(scratch);
    const Deployment::Outcome first = deployment.Run(deployment.Scenario(oldMedia, share), -1);
    if (!first.ended || first.result != "0") {
        printf("FAIL the earlier deployment did not end with 0 (see %s)\n", Utf8(deployment.Report(deployment.Runs())).c_str());
        return 1;
    }
    const Tree earlier = Snapshot(share);
    const std::wstring scenario = deployment.Scenario(newMedia, share);
    const Deployment::Outcome reference = deployment.Run(scenario, -1);
    if (!reference.ended || reference.result != "0") {
        printf("FAIL the whole deployment did not end with 0 (see %s)\n", Utf8(deployment.Report(deployment.Runs())).c_str());
        return 1;
    }
    const Tree whole = Snapshot(share);
    printf("earlier deployment: %zu files; whole new deployment: %zu files in %.0f ms\n", earlier.size(), whole.size(),
           reference.marks.empty() ? 0.0 : reference.marks.back().ms);

    const Checker checker(share, earlier, whole, newMedia);
    int hits[5] = {};
    size_t leftoversSeen = 0;
    Tree leftovers;  // every temporary file a kill left, with what it held
    for (const Moment& moment : Moments(reference.marks, kills)) {
        const int group = moment.group;
        Restore(share, earlier);
        const Deployment::Outcome killed = deployment.Run(scenario, moment.after, moment.anchor);
        std::vector<std::wstring> temporaries;
        const std::vector<std::string> problems = checker.Check(temporaries);
        const int hit = killed.ended ? 4 : GroupOfPhase(killed.phase);
        ++hits[hit];
        leftoversSeen += temporaries.size();
        for (const std::wstring& path : temporaries)
            leftovers[path] = ReadBytes(share + L"\\" + path);
        printf("kill %2d at %7.1f ms (meant for %s): in %s, %zu temporary files%s\n", deployment.Runs() - 2, moment.at, kGroups[group],
               kGroups[hit], temporaries.size(), problems.empty() ? "" : ", PROBLEMS:");
        if (!killed.started)
            fail("the deployment call did not begin (see " + Utf8(deployment.Report(deployment.Runs())) + ")");
        for (const std::string& problem : problems)
            fail("  " + problem);
    }
    for (int group = 0; group < 4; ++group) {
        if (hits[group] == 0)
            fail(std::string("no kill landed in ") + kGroups[group]);
    }

    // A deployment that runs to its end removes what the killed ones left and leaves the whole
    // new deployment. The next killed run may have removed a leftover already: all of them are put
    // back where their kill left them.
    Restore(share, earlier);
    for (const auto& [path, bytes] : leftovers)
        actionstest::WriteBytes(share + L"\\" + path, bytes);
    std::vector<std::wstring> before;
    Snapshot(share, &before);
    const Deployment::Outcome last = deployment.Run(scenario, -1);
    if (!last.ended || last.result != "0")
        fail("the last deployment did not end with 0");
    std::vector<std::wstring> after;
    const Tree final = Snapshot(share, &after);
    for (const std::wstring& path : after)
        fail("temporary file left after a whole deployment: " + Utf8(path));
    if (final != whole)
        fail("the last deployment did not leave what the whole deployment left");
    printf("kills: %d unpacking, %d manufacturers, %d support copies, %d merge, %d after the call; %zu temporary files "
           "seen after kills, %zu present before the last deployment, %zu after it\n",
           hits[0], hits[1], hits[2], hits[3], hits[4], leftoversSeen, before.size(), after.size());
    if (failures == 0)
        RemoveTree(scratch);
    printf(failures ? "%d problems\n" : "every kill left whole files or none\n", failures);
    return failures ? 1 : 0;
}
