// Nothing may cross a plug-in's export boundary but the export's own value: a failure inside
// becomes the value the export promises for that case. Shared by both plug-ins.
#pragma once

#include "PluginTrace.h"

#include <exception>
#include <utility>

namespace plugins {

// Builds its line only when somebody listens, and never lets the building itself throw.
template <typename Result>
void TraceOutcome(const wchar_t* event, const char* caught, const Result& value) noexcept
{
    if (!TraceListening())
        return;
    try {
        if (caught)
            Trace(event, TraceText(caught) + L" (answered " + TraceValue(value) + L")");
        else
            Trace(event, TraceValue(value));
    } catch (...) {
    }
}

template <typename Result, typename Body>
Result Guarded(Result onFailure, Body&& body) noexcept
{
    try {
        return std::forward<Body>(body)();
    } catch (const std::exception& error) {
        TraceOutcome(L"exception", error.what(), onFailure);
        return onFailure;
    } catch (...) {
        TraceOutcome(L"exception", "not a standard exception", onFailure);
        return onFailure;
    }
}

// An export's whole body: guarded as above, and traced (its call, its result, whatever it
// refused or caught on the way) under its name.
template <typename Result, typename Body>
Result GuardedExport(const wchar_t* name, Result onFailure, Body&& body) noexcept
{
    RefreshTraceSwitch();
    ExportScope scope(name);
    Trace(L"call");
    const Result result = Guarded(onFailure, std::forward<Body>(body));
    TraceOutcome(L"result", nullptr, result);
    return result;
}

}  // namespace plugins
