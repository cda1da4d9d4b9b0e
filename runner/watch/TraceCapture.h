// hostrun --trace: the plug-in's engineers' trace in the report. hostrun switches the trace on as
// an engineer would (WIRAXUI_TRACE=1 in its environment before the plug-in is loaded) and, while
// the scenario plays, takes each line the plug-in hands OutputDebugStringW through the plug-in's
// import of it, before passing it on, so that a debugger or Wine's +debugstr channel still sees it.
#pragma once

#include "watch/ImportHook.h"

#include <memory>
#include <string>
#include <vector>

namespace runner {

class TraceCapture {
public:
    // Call before the plug-in is loaded.
    static void SwitchOn();
    explicit TraceCapture(HMODULE plugin);
    ~TraceCapture();
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    // False when the plug-in does not import OutputDebugStringW: it cannot write a trace.
    bool Watching() const { return m_hook && m_hook->Original(); }
    // The lines written since the last call, without their line ends.
    std::vector<std::wstring> Take();

private:
    std::unique_ptr<ImportHook> m_hook;
};

}  // namespace runner
