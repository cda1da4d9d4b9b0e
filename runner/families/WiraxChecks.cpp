// How hostrun calls the pre-install checks and notices, and the directives that arrange the
// machine for them (the directives' syntax: engine/ScenarioLanguage.cpp).
#include "engine/WiraxPlayer.h"

#include "DialogAnswerer.h"
#include "ResourceString.h"
#include "MsiProducts.h"

#include <HostCore.h>

#include <cstring>
#include <optional>

namespace runner {

namespace {

using hostkit::ExpectWords;
using hostkit::ParseNumber;
using hostkit::ScenarioError;
using hostkit::ScenarioLine;

// Result words start here; no check writes it, so a word that still holds it was left alone.
constexpr int kUntouched = -1;

constexpr size_t kNoticeChars = 1024;
struct NoticeRecord {
    int32_t kind;
    wchar_t firstText[kNoticeChars];
    wchar_t message[kNoticeChars];
    wchar_t linkTitle[kNoticeChars];
    wchar_t link[kNoticeChars];
};
static_assert(sizeof(NoticeRecord) == 8196, "the host's notice record");

CProduct* ProductNamed(WiraxSession& session, const ScenarioLine& line, const std::wstring& key)
{
    return hostkit::RequireDeclared(line, key, session.setup.FindProduct(key.c_str()));
}

std::wstring YesNo(bool value) { return value ? L"true" : L"false"; }

std::wstring Word(int value) { return value == kUntouched ? std::wstring(L"untouched") : std::to_wstring(value); }

void ReportResultWords(WiraxSession& session, const std::wstring& name, int state, int action)
{
    session.callReports.push_back([name, state, action](Report& report) {
        report.Line(L"state result " + Word(state) + L", action result " + Word(action));
        report.Fact(L"result-words " + name + L" " + Word(state) + L" " + Word(action));
    });
}

std::wstring ProductKey(const WiraxSession& session, const CProduct* product)
{
    for (const auto& known : session.setup.Products()) {
        if (known.get() == product)
            return known->Key();
    }
    return product ? L"(another product)" : L"(none)";
}

void ReportStandardChecks(WiraxSession& session, const int* state, const int* action, bool answer)
{
    const std::vector<HostCore::StandardCheckCall> calls = HostCore::StandardCheckCalls();
    HostCore::ClearStandardCheckCalls();
    std::vector<std::wstring> lines;
    for (const HostCore::StandardCheckCall& call : calls) {
        const bool ownWords = call.stateResult == state && call.actionResult == action;
        lines.push_back(L"mode " + std::to_wstring(call.setupMode) + L", product " + ProductKey(session, call.product)
                        + (ownWords ? L", the host's result words" : L", other result words") + L", values "
                        + std::to_wstring(call.value5) + L" " + std::to_wstring(call.value6) + L" "
                        + std::to_wstring(call.value8) + L", text " + Quoted(call.hostText) + L" -> " + YesNo(answer));
    }
    session.callReports.push_back([lines](Report& report) {
        if (lines.empty())
            report.Line(L"the host's standard check was not called");
        for (const std::wstring& text : lines) {
            report.Line(L"the host's standard check received " + text);
            report.Fact(L"standard-check " + text);
        }
    });
}

// The driver check's log: shown when the call wrote it.
class LogWatch {
public:
    LogWatch()
    {
        wchar_t folder[MAX_PATH] = L"";
        const DWORD length = GetTempPathW(MAX_PATH, folder);
        if (length > 0 && length < MAX_PATH)
            m_path = std::wstring(folder) + L"Access Database Driver Install Failed.log";
        m_before = WriteTime();
    }
    void Report(WiraxSession& session) const
    {
        const std::optional<ULONGLONG> after = WriteTime();
        if (!after || after == m_before)
            return;
        std::vector<std::string> lines;
        if (FILE* file = _wfopen(m_path.c_str(), L"rb")) {
            std::string content;
            char buffer[4096];
            size_t read = 0;
            while ((read = fread(buffer, 1, sizeof buffer, file)) > 0)
                content.append(buffer, read);
            fclose(file);
            size_t start = 0;
            while (start < content.size()) {
                const size_t end = content.find('\n', start);
                lines.push_back(content.substr(start, end == std::string::npos ? std::string::npos : end - start + 1));
                start = end == std::string::npos ? content.size() : end + 1;
            }
        }
        const std::wstring path = m_path;
        session.callReports.push_back([lines, path](runner::Report& report) {
            report.Line(L"log written: " + Quoted(path));
            for (const std::string& line : lines) {
                // Line ends are shown as they are on disk.
                std::wstring shown;
                for (unsigned char c : line)
                    shown += c == '\r' ? std::wstring(L"\\r") : c == '\n' ? std::wstring(L"\\n") : std::wstring(1, c);
                report.Line(L"  " + shown);
                report.Fact(L"driver-log " + shown);
            }
        });
    }

private:
    std::optional<ULONGLONG> WriteTime() const
    {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (m_path.empty() || !GetFileAttributesExW(m_path.c_str(), GetFileExInfoStandard, &data))
            return std::nullopt;
        return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    }

    std::wstring m_path;
    std::optional<ULONGLONG> m_before;
};

bool g_standardCheckAnswer = true;

std::wstring CallDriverCheck(WiraxSession& session, FARPROC function, const ScenarioLine& line)
{
    ExpectWords(line, 2, 6, L"call CheckAceDriver PRODUCT [HOST-TEXT [VALUE5 VALUE6 VALUE8]]");
    if (line.words.size() != 3 && line.words.size() != 4 && line.words.size() != 7)
        throw ScenarioError(line.number, L"give the three values that are passed on together");
    CProduct* product = ProductNamed(session, line, line.words[2]);
    const std::wstring hostText = line.words.size() > 3 ? line.words[3] : std::wstring();
    const bool values = line.words.size() == 7;
    const int value5 = values ? static_cast<int>(ParseNumber(line, line.words[4])) : 0;
    const int value6 = values ? static_cast<int>(ParseNumber(line, line.words[5])) : 0;
    const int value8 = values ? static_cast<int>(ParseNumber(line, line.words[6])) : 0;

    auto check = reinterpret_cast<bool (*)(int, CProduct*, int*, int*, int, int, const wchar_t*, int)>(
        reinterpret_cast<void*>(function));
    HostCore::ClearStandardCheckCalls();
    HostCore::SetStandardCheckAnswer(g_standardCheckAnswer);
    LogWatch log;
    int state = kUntouched;
    int action = kUntouched;
    const bool result = check(session.setup.m_setupMode, product, &state, &action, value5, value6, hostText.c_str(), value8);
    ReportResultWords(session, line.words[1], state, action);
    ReportStandardChecks(session, &state, &action, g_standardCheckAnswer);
    log.Report(session);
    return YesNo(result);
}

std::wstring CallProductCheck(WiraxSession& session, FARPROC function, const ScenarioLine& line)
{
    ExpectWords(line, 2, 2, L"call EXPORT PRODUCT");
    CProduct* product = ProductNamed(session, line, line.words[2]);
    auto check = reinterpret_cast<bool (*)(int, CProduct*, int*, int*)>(reinterpret_cast<void*>(function));
    int state = kUntouched;
    int action = kUntouched;
    const bool result = check(session.setup.m_setupMode, product, &state, &action);
    ReportResultWords(session, line.words[1], state, action);
    return YesNo(result);
}

std::wstring LibraryString(const wchar_t* library, UINT id)
{
    return hostkit::ResourceString(CSetupContext::Instance()->GetResDllPath(library), id);
}

std::wstring CallBeforeInstall(WiraxSession& session, FARPROC function, const ScenarioLine& line)
{
    ExpectWords(line, 1, 1, L"call CheckBeforeInstall");
    // The warning's caption is the plug-in's text 397; its box is answered like a user would.
    // Without the resource library the plug-in has no caption either, and shows the box untitled.
    const std::wstring caption = LibraryString(L"WiraxUIRes.dll", 397);
    hostkit::DialogAnswerer boxes({caption}, IDOK);
    auto check = reinterpret_cast<int (*)(uintptr_t*)>(reinterpret_cast<void*>(function));
    const int result = check(session.record.data());
    const std::vector<hostkit::SeenDialog> seen = boxes.Seen();
    session.callReports.push_back([seen](Report& report) {
        for (const hostkit::SeenDialog& dialog : seen) {
            report.Line(L"the plug-in showed " + Quoted(dialog.caption) + L": " + Quoted(dialog.text) + L" (answered OK)");
            report.Fact(L"dialog " + dialog.caption + L" | " + dialog.text);
        }
    });
    return std::to_wstring(result);
}

std::wstring Field(const wchar_t* field, const wchar_t* untouched)
{
    if (std::memcmp(field, untouched, kNoticeChars * sizeof(wchar_t)) == 0)
        return L"untouched";
    size_t length = 0;
    while (length < kNoticeChars && field[length])
        ++length;
    return Quoted(std::wstring(field, length));
}

std::wstring CallRecordNotice(WiraxSession& session, FARPROC function, const ScenarioLine& line)
{
    ExpectWords(line, 2, 2, L"call EXPORT PARAMETER");
    const std::wstring parameter = line.words[2];
    auto notice = reinterpret_cast<bool (*)(uintptr_t*, NoticeRecord*)>(reinterpret_cast<void*>(function));
    // The host's record before the call: every byte set, so that fields the plug-in left alone show.
    auto record = std::make_unique<NoticeRecord>();
    auto blank = std::make_unique<NoticeRecord>();
    std::memset(record.get(), 0x2A, sizeof(NoticeRecord));
    std::memset(blank.get(), 0x2A, sizeof(NoticeRecord));
    session.record[PageRecord::kNoticeParameter] = reinterpret_cast<uintptr_t>(parameter.c_str());
    const bool result = notice(session.record.data(), record.get());
    session.record[PageRecord::kNoticeParameter] = 0;

    const std::wstring kind = record->kind == blank->kind ? std::wstring(L"untouched") : std::to_wstring(record->kind);
    const std::vector<std::pair<std::wstring, std::wstring>> fields = {
        {L"kind", kind},
        {L"first-text", Field(record->firstText, blank->firstText)},
        {L"message", Field(record->message, blank->message)},
        {L"link-title", Field(record->linkTitle, blank->linkTitle)},
        {L"link", Field(record->link, blank->link)},
    };
    session.callReports.push_back([fields](Report& report) {
        for (const auto& [name, value] : fields) {
            report.Line(L"notice record " + name + L": " + value);
            report.Fact(L"notice-record " + name + L" " + value);
        }
    });
    return YesNo(result);
}

std::wstring CallProductNotice(WiraxSession& session, FARPROC function, const ScenarioLine& line)
{
    ExpectWords(line, 3, 3, L"call VCCatalogBrowserMessage PRODUCT PARAMETER");
    CProduct* product = ProductNamed(session, line, line.words[2]);
    auto notice = reinterpret_cast<bool (*)(int, CProduct*, int, int, const wchar_t*)>(reinterpret_cast<void*>(function));
    return YesNo(notice(session.setup.m_setupMode, product, 0, 0, line.words[3].c_str()));
}

void ChooseStandardCheckAnswer(WiraxSession&, const ScenarioLine& line, Report& report)
{
    ExpectWords(line, 1, 1, L"host-check yes|no");
    if (line.words[1] != L"yes" && line.words[1] != L"no")
        throw ScenarioError(line.number, L"expected yes or no, found '" + line.words[1] + L"'");
    g_standardCheckAnswer = line.words[1] == L"yes";
    report.Line(L"the host's standard check answers " + YesNo(g_standardCheckAnswer));
}

// Sets a variable of this process and puts its earlier value back at the end.
class EnvironmentValue {
public:
    EnvironmentValue(const std::wstring& name, const std::optional<std::wstring>& value) : m_name(name)
    {
        const DWORD needed = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
        if (needed > 0) {
            std::wstring previous(needed, L'\0');
            const DWORD length = GetEnvironmentVariableW(name.c_str(), &previous[0], needed);
            previous.resize(length);
            m_previous = previous;
        }
        SetEnvironmentVariableW(name.c_str(), value ? value->c_str() : nullptr);
    }
    ~EnvironmentValue() { SetEnvironmentVariableW(m_name.c_str(), m_previous ? m_previous->c_str() : nullptr); }
    EnvironmentValue(const EnvironmentValue&) = delete;
    EnvironmentValue& operator=(const EnvironmentValue&) = delete;

private:
    std::wstring m_name;
    std::optional<std::wstring> m_previous;
};

void SetEnvironment(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    ExpectWords(line, 2, 2, L"environment NAME VALUE|-");
    const std::optional<std::wstring> value = line.words[2] == L"-" ? std::nullopt : std::optional<std::wstring>(line.words[2]);
    session.arranged.push_back(std::make_shared<EnvironmentValue>(line.words[1], value));
    report.Line(L"environment " + line.words[1] + (value ? L" = " + Quoted(*value) : std::wstring(L" removed")));
}

const bool kRegistered = [] {
    WiraxExports()[L"CheckAceDriver"] = CallDriverCheck;
    for (const wchar_t* name : {L"ACE2010DriverCheck", L"CheckForGlobalProduct", L"CheckForFormwell", L"VCSQLMigrationMessage"})
        WiraxExports()[name] = CallProductCheck;
    WiraxExports()[L"CheckBeforeInstall"] = CallBeforeInstall;
    WiraxExports()[L"DisplayDepotraMessage"] = CallRecordNotice;
    WiraxExports()[L"CBCatalogBrowserMessage"] = CallRecordNotice;
    WiraxExports()[L"VCCatalogBrowserMessage"] = CallProductNotice;
    WiraxDirectives()[L"host-check"] = ChooseStandardCheckAnswer;
    WiraxDirectives()[L"environment"] = SetEnvironment;
    return true;
}();

}  // namespace

}  // namespace runner
