// What one call of the shared library installation works with: the host's installation, the
// paths computed at the start of the call, and the progress reports it sends on the way.
#pragma once

#include "actions/ActionResult.h"
#include "init/ManufacturerTable.h"

#include <array>
#include <string>
#include <vector>

class CSetupManager;

namespace wiraxui::actions {

// Progress the host shows: kind 9 names the item at work (an empty text starts a phase), kind 12
// carries a reset or a step of the bar.
class ProgressReporter {
public:
    explicit ProgressReporter(CSetupManager& setup) : m_setup(setup) {}
    void Phase();
    void Item(const std::wstring& name);
    void Reset(int total);
    void Step(int size = 1);

private:
    CSetupManager& m_setup;
};

// Files of the support half that could not be copied: all are counted, the first few are kept by
// name so that the host can be told which.
struct CopyFailures {
    static constexpr size_t kNamed = 5;
    size_t count = 0;
    std::vector<std::wstring> first;
    void Record(const std::wstring& path)
    {
        if (first.size() < kNamed)
            first.push_back(path);
        ++count;
    }
};

struct InstallContext {
    explicit InstallContext(CSetupManager& host) : setup(host), progress(host) {}

    CSetupManager& setup;
    ProgressReporter progress;
    std::wstring sourceRoot;       // ends with a backslash
    std::wstring platform;         // "x86" or "x64"
    std::wstring languageName;     // "en-us"
    std::wstring languageSource;   // ends with a backslash
    std::wstring localeId;         // "409", "40C"
    std::wstring supportPath;      // ends with a backslash
    std::wstring symbolPath;       // ends with a backslash
    std::wstring deploymentFolder;
    std::array<int, kManufacturerCount> selected{};
    CopyFailures copyFailures;

    // A failure the host must hear of: the text (one line, plain words: what failed and why) is
    // posted as an item text, so that it is what the host's log of the deployment ends with, and
    // traced for engineers. Answers kFailed, for `return context.ReportFailure(...)`.
    int ReportFailure(const std::wstring& text);

    bool Cancelled() const;
    CancelCheck CancelProbe() const
    {
        return [this] { return Cancelled(); };
    }
    int SelectedCount() const;
};

// The behaviour's own pauses: after a folder-tree reset, before copying merged databases back and
// before the action returns.
void Pause();

}  // namespace wiraxui::actions
