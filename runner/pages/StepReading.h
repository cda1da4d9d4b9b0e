// The user's (or the host's) steps on a page as the runner reads them from the scenario lines
// after a page export's call, and the window messages and timings the step player and the host
// panel share.
#pragma once

#include "Scenario.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace runner::pages {

constexpr UINT kHostCommit = WM_APP + 1;           // lParam: the step
constexpr UINT kHostPropertyChanged = WM_APP + 2;  // lParam: the step
constexpr UINT kHostWaits = WM_APP + 3;            // the scenario's steps ran; the panel's buttons are the user's
constexpr int kNextButton = 30001;                 // the host panel's button row
constexpr int kCancelButton = 30002;
// Marks the window (host panel or wizard page) while the runner waits for the user on it, so
// that a program standing in for the user knows when to act.
constexpr wchar_t kWaitingProperty[] = L"HostrunWaitsForUser";
constexpr DWORD kPictureSettleMs = 400;  // a window just shown or changed paints first
constexpr DWORD kStepTimeoutMs = 30000;
constexpr DWORD kLeaveTimeoutMs = 10000;
constexpr DWORD kShownStepPauseMs = 600;
constexpr int kPageHeightChangedCode = -610;

enum class StepKind { Click, Check, Clear, Type, Select, Answer, Commit, PropertyChanged, Read, Key, PressTwice };

struct Step {
    int line = 0;
    StepKind kind = StepKind::Click;
    int control = 0;
    std::wstring text;  // typed text, selected or list item, property name, key (enter, space), link text;
                        // "caption" for a read step that reads it
    std::optional<std::wstring> value;
    int answer = 0;
    std::wstring said;     // the scenario's words, for the report
    bool ifAsked = false;  // an answer of the one-word form: no dialog to answer is no mistake
    bool written = true;   // a line of the scenario's, not a step the one-word form stands for
};

// Throws ScenarioError for a step the page kind does not take.
std::vector<Step> ReadSteps(const std::vector<hostkit::ScenarioLine>& lines, bool wizard);

// Where the steps that leave the page begin: the last one, when it is the host's commit of a
// configuration page or a button of a wizard page, with the answers right before it (they are
// for the dialogs that leaving opens). That is where the host waits for the user; with --show
// these steps are the user's to take. steps.size() when the steps do not leave the page.
size_t LeavingStepsStart(const std::vector<Step>& steps, bool wizard);

}  // namespace runner::pages
