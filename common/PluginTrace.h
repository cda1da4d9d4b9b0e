// The engineers' trace of a plug-in: one line per event, handed to OutputDebugStringW, where a
// debugger, a debug-output viewer or Wine's +debugstr channel shows it. Every line has the form
//
//   [MODULE] EXPORT: EVENT[: DETAIL]
//
// (MODULE the plug-in's file name without extension, EXPORT the export at work or "-" outside
// one; EVENT is "call", "result", "refused", "failed" or "exception"). Nobody listens unless a
// debugger is attached or the environment variable WIRAXUI_TRACE holds a value other than "0";
// until then a trace costs one flag test and formats nothing. The variable is read again at the
// start of every export, so that it can be set between two calls.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <string_view>
#include <type_traits>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace plugins {

namespace trace_detail {

inline std::atomic<int> switchState{-1};  // -1 not read yet, 0 off, 1 on
inline thread_local const wchar_t* currentExport = nullptr;

// Longest detail kept: a line is read by people, and what comes from outside is bounded.
constexpr size_t kMaxDetail = 1024;

inline std::wstring ModuleName()
{
    wchar_t path[MAX_PATH + 1] = L"";
    const DWORD length = GetModuleFileNameW(reinterpret_cast<HMODULE>(&__ImageBase), path, MAX_PATH);
    std::wstring name(path, length < MAX_PATH ? length : MAX_PATH);
    const size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos)
        name.erase(0, slash + 1);
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.erase(dot);
    return name;
}

// Text from outside (entry names, paths, exception texts) stays on its line: control characters
// become '?', and the detail is cut at a fixed length.
inline void AppendSanitised(std::wstring& line, std::wstring_view text)
{
    const size_t kept = text.size() < kMaxDetail ? text.size() : kMaxDetail;
    for (size_t i = 0; i < kept; ++i)
        line += text[i] < 0x20 || text[i] == 0x7F ? L'?' : text[i];
    if (kept < text.size())
        line += L"...";
}

}  // namespace trace_detail

// Reads WIRAXUI_TRACE again; every export does so at its start.
inline void RefreshTraceSwitch() noexcept
{
    wchar_t value[8] = L"";
    const DWORD length = GetEnvironmentVariableW(L"WIRAXUI_TRACE", value, 8);
    const bool on = length > 0 && length < 8 && !(value[0] == L'0' && value[1] == 0);
    trace_detail::switchState.store(on ? 1 : 0, std::memory_order_relaxed);
}

inline bool TraceListening() noexcept
{
    if (trace_detail::switchState.load(std::memory_order_relaxed) < 0)
        RefreshTraceSwitch();
    return trace_detail::switchState.load(std::memory_order_relaxed) == 1 || IsDebuggerPresent();
}

// The one function that writes a trace line.
inline void Trace(const wchar_t* event, std::wstring_view detail = {}) noexcept
{
    if (!TraceListening())
        return;
    try {
        static const std::wstring module = trace_detail::ModuleName();
        std::wstring line = L"[" + module + L"] ";
        line += trace_detail::currentExport ? trace_detail::currentExport : L"-";
        line += L": ";
        line += event;
        if (!detail.empty()) {
            line += L": ";
            trace_detail::AppendSanitised(line, detail);
        }
        line += L"\n";
        OutputDebugStringW(line.c_str());
    } catch (...) {
        // No memory for the line: the trace is lost, the export goes on.
    }
}

// Narrow text (an exception's what()) in the trace, read in the ANSI code page.
inline std::wstring TraceText(const char* text)
{
    if (!text || !*text)
        return {};
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 1)
        return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

// An export's result as the trace shows it: numbers as numbers, truth values as words, a pointer
// only as there or not (its address differs from run to run).
template <typename Result>
std::wstring TraceValue(const Result& value)
{
    if constexpr (std::is_same_v<Result, bool>)
        return value ? L"true" : L"false";
    else if constexpr (std::is_pointer_v<Result>)
        return value ? L"an object" : L"null";
    else if constexpr (std::is_integral_v<Result> || std::is_enum_v<Result>)
        return std::to_wstring(static_cast<long long>(value));
    else
        return L"(a value)";
}

// The export at work on this thread, for the lines written while it runs; the outer one comes
// back when it ends.
class ExportScope {
public:
    explicit ExportScope(const wchar_t* name) noexcept : m_outer(trace_detail::currentExport)
    {
        trace_detail::currentExport = name;
    }
    ~ExportScope() { trace_detail::currentExport = m_outer; }
    ExportScope(const ExportScope&) = delete;
    ExportScope& operator=(const ExportScope&) = delete;

private:
    const wchar_t* m_outer;
};

}  // namespace plugins
