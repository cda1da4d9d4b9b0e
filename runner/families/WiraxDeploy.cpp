// Deployment in hostrun: the installation's media and languages, and the shared library
// installation with a live progress bar on the console.
//
// The directives (sample-media, language, show-tree, fresh-folder) and the call's cancel forms
// are in engine/ScenarioLanguage.cpp with their syntax. show-tree's facts are tree-root PATH,
// then tree-file RELATIVE-PATH; cancel-after=N counts progress steps (the reset that announces a
// phase's total is no step), cancel-at-record=N every progress record.
// The report ends with the phases of the progress (facts progress-phase N ...) and then every
// item text in the order posted, with its phase (facts progress-text PHASE TEXT; phase 0 before
// the first phase): what the host writes to its log of the deployment.
#include "engine/WiraxPlayer.h"

#include "engine/MachineFolders.h"
#include "FileTree.h"
#include "SampleMedia.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <io.h>
#include <optional>

namespace runner {

namespace {

using hostkit::ExpectWords;
using hostkit::ParseNumber;
using hostkit::RemoveTree;
using hostkit::ScenarioError;
using hostkit::ScenarioLine;
using hostkit::TemporaryFolder;

void SampleMedia(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    ExpectWords(line, 0, 5, L"sample-media [FOLDER [edition=N] [library-files=N] [file-bytes=N] [user-files=N]]");
    std::wstring folder = line.words.size() > 1 ? line.words[1] : std::wstring();
    media::SampleMediaOptions options;
    for (size_t i = 2; i < line.words.size(); ++i) {
        const std::wstring& word = line.words[i];
        const size_t equals = word.find(L'=');
        const std::wstring key = equals == std::wstring::npos ? word : word.substr(0, equals);
        const long long value = equals == std::wstring::npos ? -1 : ParseNumber(line, word.substr(equals + 1));
        if (value < 0 || value > 100000000)
            throw ScenarioError(line.number, L"expected edition=N, library-files=N, file-bytes=N or user-files=N, found '" + word + L"'");
        if (key == L"edition")
            options.edition = static_cast<unsigned>(value);
        else if (key == L"library-files" && value > 0 && value <= 10000)
            options.filesPerLibrary = static_cast<int>(value);
        else if (key == L"file-bytes")
            options.libraryFileBytes = static_cast<size_t>(value);
        else if (key == L"user-files" && value <= 100000)
            options.userDataFiles = static_cast<int>(value);
        else
            throw ScenarioError(line.number, L"expected edition=N, library-files=N, file-bytes=N or user-files=N, found '" + word + L"'");
    }
    if (folder.empty()) {
        folder = TemporaryFolder() + L"wirax-media-" + std::to_wstring(GetCurrentProcessId());
        session.arranged.push_back(std::shared_ptr<void>(nullptr, [folder](void*) { RemoveTree(folder); }));
        // Its name carries the process number: the facts name it by its role.
        AddFolderRole(folder, L"<sample-media>");
    }
    while (folder.size() > 3 && folder.back() == L'\\')
        folder.pop_back();
    RemoveTree(folder);
    options.platform = session.setup.m_targetPlatform == 2 ? L"x86" : L"x64";
    const auto started = std::chrono::steady_clock::now();
    const media::SampleMediaResult made = media::GenerateSampleMedia(folder, options);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    if (!made.ok)
        throw ScenarioError(line.number, L"sample media not made: " + made.error);
    session.setup.m_sourceRoot = folder;
    report.Line(L"sample media in " + Quoted(folder) + L": " + std::to_wstring(made.archives) + L" archives, "
                + std::to_wstring(made.files) + L" files (" + std::to_wstring(took.count()) + L" ms)");
    report.Fact(L"sample-media " + std::to_wstring(made.archives) + L" archives " + std::to_wstring(made.files) + L" files");
}

void Language(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    ExpectWords(line, 1, 3, L"language TAG [PACK-NAME PACKAGE]");
    if (line.words.size() == 3)
        throw ScenarioError(line.number, L"a language pack needs its name and its package path");
    session.setup.m_languageName = line.words[1];
    session.setup.m_languageList = {line.words[1]};
    report.Line(L"installation language " + line.words[1]);
    if (line.words.size() == 4) {
        CProduct* main = session.setup.FindProduct(L"WIRAX_MAIN");
        if (!main)
            throw ScenarioError(line.number, L"a language pack needs the product WIRAX_MAIN declared first");
        CProduct* pack = session.setup.AddProduct(L"WIRAX_MAIN_" + line.words[1]);
        pack->m_name = line.words[2];
        pack->m_packagePath = line.words[3];
        report.Line(L"language pack " + Quoted(line.words[2]) + L" from " + Quoted(line.words[3]));
    }
}

void ListTree(const std::wstring& root, const std::wstring& relative, Report& report)
{
    // By name: the order in which the file system hands out entries differs between machines.
    std::vector<std::pair<std::wstring, WIN32_FIND_DATAW>> entries;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((root + relative + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            entries.emplace_back(name, found);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return _wcsicmp(a.first.c_str(), b.first.c_str()) < 0; });
    for (const auto& [name, entry] : entries) {
        const std::wstring path = relative.empty() ? name : relative + L"\\" + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ListTree(root, path, report);
        } else {
            report.Line(L"  " + path + L" (" + Bytes(static_cast<long long>(entry.nFileSizeLow)) + L" bytes)");
            report.Fact(L"tree-file " + path);
        }
    }
}

void ShowTree(WiraxSession& session, const ScenarioLine& line, Report&)
{
    ExpectWords(line, 1, 1, L"show-tree PATH");
    std::wstring root = line.words[1];
    while (!root.empty() && root.back() == L'\\')
        root.pop_back();
    session.closingReports.push_back([root](Report& report) {
        report.Heading(L"Files below " + root);
        // The root first, so that the files of two trees stay apart.
        report.Fact(L"tree-root " + root);
        ListTree(root + L"\\", L"", report);
    });
}

void FreshFolder(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    ExpectWords(line, 1, 1, L"fresh-folder PATH");
    std::wstring folder = line.words[1];
    // A folder below the temporary folder, whose path differs from one machine to the next.
    static const std::wstring kTemp = L"<temp>\\";
    if (folder.rfind(kTemp, 0) == 0)
        folder = TemporaryFolder() + folder.substr(kTemp.size());
    while (folder.size() > 3 && folder.back() == L'\\')
        folder.pop_back();
    if (folder.size() <= 3)
        throw ScenarioError(line.number, L"a drive's root cannot be a fresh folder");
    RemoveTree(folder);
    session.arranged.push_back(std::shared_ptr<void>(nullptr, [folder](void*) { RemoveTree(folder); }));
    report.Line(L"folder " + Quoted(folder) + L" starts empty");
}

// An item text the plug-in posted, with the phase it came in (0: before the first phase).
struct ProgressText {
    size_t phase = 0;
    std::wstring text;
};

// One phase of the action as the host saw it: begun by an empty item text.
struct Phase {
    int total = 0;
    int steps = 0;
    int items = 0;
    std::wstring lastItem;
};

// Draws the progress the plug-in reports on one console line, as the host's progress page would.
class ProgressBar {
public:
    explicit ProgressBar(bool live) : m_live(live) {}
    ~ProgressBar() { Finish(); }

    void Update(int kind, const wchar_t* text, const ProgressMessage* record)
    {
        if (kind == Setup::PROGRESS_TEXT) {
            const std::wstring item = text ? text : L"";
            if (item.empty()) {
                m_phases.emplace_back();
            } else {
                m_texts.push_back({m_phases.size(), item});
                if (!m_phases.empty()) {
                    m_phases.back().lastItem = item;
                    ++m_phases.back().items;
                }
            }
        } else if (kind == Setup::PROGRESS_RECORD && record) {
            ++m_recordsSeen;
        }
        if (kind == Setup::PROGRESS_RECORD && record && !m_phases.empty()) {
            if (record->kind == Setup::PROGRESS_RESET) {
                m_phases.back().total = record->value;
            } else if (record->kind == Setup::PROGRESS_STEP) {
                m_phases.back().steps += record->value;
                ++m_stepsSeen;  // a step, not the reset that announces a phase's total
            }
        }
        Draw();
    }

    // The step records so far; resets and item texts do not count.
    int Steps() const { return m_stepsSeen; }
    // Every progress record so far (kind 12: resets and steps alike).
    int Records() const { return m_recordsSeen; }
    const std::vector<Phase>& Phases() const { return m_phases; }
    // Every item text in the order posted: what the host's log of the deployment holds.
    const std::vector<ProgressText>& Texts() const { return m_texts; }

    void Finish()
    {
        if (m_drawn) {
            fputs("\n", stderr);
            m_drawn = false;
        }
    }

private:
    void Draw()
    {
        if (!m_live || m_phases.empty())
            return;
        const Phase& phase = m_phases.back();
        const int width = 30;
        const int filled = phase.total > 0 ? std::min(width, phase.steps * width / phase.total) : 0;
        std::string bar(static_cast<size_t>(filled), '#');
        bar.resize(width, '.');
        std::string item = hostkit::Utf8(phase.lastItem);
        if (item.size() > 38)
            item = "..." + item.substr(item.size() - 35);
        fprintf(stderr, "\r  phase %zu [%s] %d/%d %-38s", m_phases.size(), bar.c_str(), phase.steps, phase.total, item.c_str());
        fflush(stderr);
        m_drawn = true;
    }

    bool m_live;
    bool m_drawn = false;
    int m_stepsSeen = 0;
    int m_recordsSeen = 0;
    std::vector<Phase> m_phases;
    std::vector<ProgressText> m_texts;
};

// People read a phase's first and last item texts; the facts keep every one.
constexpr size_t kTextsShownAtEachEnd = 10;

void ReportTexts(const std::vector<ProgressText>& texts, Report& report)
{
    for (size_t i = 0; i < texts.size();) {
        size_t end = i;
        while (end < texts.size() && texts[end].phase == texts[i].phase)
            ++end;
        const std::wstring where = texts[i].phase == 0 ? L"before the first phase" : L"phase " + std::to_wstring(texts[i].phase);
        const size_t count = end - i;
        for (size_t k = i; k < end; ++k) {
            const size_t place = k - i;
            if (count > 2 * kTextsShownAtEachEnd && place == kTextsShownAtEachEnd)
                report.Line(L"  ... " + std::to_wstring(count - 2 * kTextsShownAtEachEnd) + L" more texts of " + where);
            if (count > 2 * kTextsShownAtEachEnd && place >= kTextsShownAtEachEnd && place < count - kTextsShownAtEachEnd)
                continue;
            report.Line(L"  " + where + L": " + Quoted(texts[k].text));
        }
        i = end;
    }
    for (const ProgressText& text : texts)
        report.Fact(L"progress-text " + std::to_wstring(text.phase) + L" " + text.text);
}

// HOSTRUN_PROGRESS_LOG names a file that receives, while the deployment runs, one line per moment
// that marks its phases: "<ms> start", "<ms> phase <n>", "<ms> reset <total>", "<ms> end <result>",
// milliseconds since the call began. Each line is on disk before the work goes on, so that a
// watching program can time what it does (the kill test, the deployment benchmark).
class ProgressLog {
public:
    ProgressLog()
    {
        wchar_t path[MAX_PATH] = L"";
        if (GetEnvironmentVariableW(L"HOSTRUN_PROGRESS_LOG", path, MAX_PATH) == 0)
            return;
        m_file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        QueryPerformanceFrequency(&m_frequency);
        QueryPerformanceCounter(&m_start);
    }
    ~ProgressLog()
    {
        if (m_file != INVALID_HANDLE_VALUE)
            CloseHandle(m_file);
    }
    ProgressLog(const ProgressLog&) = delete;
    ProgressLog& operator=(const ProgressLog&) = delete;

    void Mark(const std::string& what)
    {
        if (m_file == INVALID_HANDLE_VALUE)
            return;
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        char line[160];
        const int length = snprintf(line, sizeof line, "%.1f %s\n",
                                    1000.0 * static_cast<double>(now.QuadPart - m_start.QuadPart) / static_cast<double>(m_frequency.QuadPart),
                                    what.c_str());
        DWORD written = 0;
        WriteFile(m_file, line, static_cast<DWORD>(length), &written, nullptr);
    }

private:
    HANDLE m_file = INVALID_HANDLE_VALUE;
    LARGE_INTEGER m_frequency{};
    LARGE_INTEGER m_start{};
};

std::wstring CallInstallSharedLibrary(WiraxSession& session, FARPROC function, const ScenarioLine& line)
{
    ExpectWords(line, 1, 2, L"call InstallSharedLibrary [cancel-after=N|cancel-at-record=N]");
    long long cancelAfter = -1;
    long long cancelAtRecord = -1;
    if (line.words.size() > 2) {
        const std::wstring& word = line.words[2];
        static const std::wstring kAtRecord = L"cancel-at-record=";
        if (word.rfind(L"cancel-after=", 0) == 0) {
            cancelAfter = ParseNumber(line, word.substr(13));
        } else if (word.rfind(kAtRecord, 0) == 0) {
            cancelAtRecord = ParseNumber(line, word.substr(kAtRecord.size()));
            if (cancelAtRecord < 1)
                throw ScenarioError(line.number, L"records are counted from 1: cancel-at-record=" + word.substr(kAtRecord.size()));
        } else {
            throw ScenarioError(line.number, L"expected cancel-after=N or cancel-at-record=N, found '" + word + L"'");
        }
    }
    // Where the host raised the flag for cancel-at-record: the record, its kind and its phase.
    std::optional<std::wstring> cancelledAt;
    DWORD mode = 0;
    ProgressBar bar(GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0 || _isatty(_fileno(stderr)));
    ProgressLog log;
    session.setup.m_progressCallbacks.push_back([&](int kind, const wchar_t* text, void* progress) {
        bar.Update(kind, text, static_cast<const ProgressMessage*>(progress));
        if (kind == Setup::PROGRESS_TEXT && (!text || !*text))
            log.Mark("phase " + std::to_string(bar.Phases().size()));
        else if (kind == Setup::PROGRESS_RECORD && progress
                 && static_cast<const ProgressMessage*>(progress)->kind == Setup::PROGRESS_RESET)
            log.Mark("reset " + std::to_string(static_cast<const ProgressMessage*>(progress)->value));
        if (cancelAfter >= 0 && bar.Steps() >= cancelAfter)
            session.setup.m_cancelFlag = true;
        if (kind == 12 && progress && !cancelledAt && bar.Records() == cancelAtRecord) {
            session.setup.m_cancelFlag = true;
            const int recordKind = static_cast<const ProgressMessage*>(progress)->kind;
            cancelledAt = std::to_wstring(cancelAtRecord) + (recordKind == 0 ? L" reset" : recordKind == 2 ? L" step" : L" kind-" + std::to_wstring(recordKind))
                          + L" phase=" + std::to_wstring(bar.Phases().size());
        }
    });
    const auto started = std::chrono::steady_clock::now();
    auto call = reinterpret_cast<int (*)(uintptr_t*)>(reinterpret_cast<void*>(function));
    log.Mark("start");
    const int result = call(session.record.data());
    log.Mark("end " + std::to_string(result));
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    session.setup.m_progressCallbacks.pop_back();
    bar.Finish();

    const std::vector<Phase> phases = bar.Phases();
    const std::vector<ProgressText> texts = bar.Texts();
    const long long milliseconds = took.count();
    if (cancelAtRecord > 0) {
        // A cancel that never came (the plug-in reported fewer records) is told as well.
        session.callReports.push_back([cancelledAt, cancelAtRecord](Report& report) {
            report.Line(cancelledAt ? L"the host cancelled at progress record " + *cancelledAt
                                    : L"the plug-in reported fewer than " + std::to_wstring(cancelAtRecord) + L" progress records: no cancel");
            report.Fact(L"progress-cancel " + cancelledAt.value_or(L"none"));
        });
    }
    session.closingReports.push_back([phases, texts, milliseconds, result](Report& report) {
        report.Heading(L"Progress of InstallSharedLibrary (" + std::to_wstring(result) + L" after " + std::to_wstring(milliseconds)
                       + L" ms)");
        size_t number = 0;
        for (const Phase& phase : phases) {
            ++number;
            std::wstring text = L"phase " + std::to_wstring(number) + L": " + std::to_wstring(phase.steps) + L" of "
                                + std::to_wstring(phase.total) + L" steps, " + std::to_wstring(phase.items) + L" items";
            if (!phase.lastItem.empty())
                text += L", last " + Quoted(phase.lastItem);
            report.Line(text);
            report.Fact(L"progress-phase " + std::to_wstring(number) + L" steps=" + std::to_wstring(phase.steps) + L" total="
                        + std::to_wstring(phase.total) + L" items=" + std::to_wstring(phase.items));
        }
        // After the phases, so that their lines stay together as they always were.
        if (!texts.empty())
            report.Line(L"the texts the host's log shows, in order:");
        ReportTexts(texts, report);
    });
    return std::to_wstring(result);
}

const bool kRegistered = [] {
    WiraxDirectives()[L"sample-media"] = SampleMedia;
    WiraxDirectives()[L"language"] = Language;
    WiraxDirectives()[L"show-tree"] = ShowTree;
    WiraxDirectives()[L"fresh-folder"] = FreshFolder;
    WiraxExports()[L"InstallSharedLibrary"] = CallInstallSharedLibrary;
    return true;
}();

}  // namespace

}  // namespace runner
