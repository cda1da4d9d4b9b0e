// The meeting point of hostrun and FormwellPlayer.dll. The two setup hosts name their classes
// alike (CProduct, CSetupManager, CSetupContext), so hostrun, which links the older host, leaves
// the newer host's side to a library of its own and talks to it through this header only.
#pragma once

#include "Scenario.h"

#include <string>
#include <vector>

namespace formwellrun {

// Where the player tells what happened; hostrun puts its report behind it.
class IPlayerReport {
public:
    virtual void Heading(const std::wstring& text) = 0;
    virtual void Line(const std::wstring& text) = 0;
    virtual void Fact(const std::wstring& text) = 0;

protected:
    ~IPlayerReport() = default;
};

// A mistake in the scenario; line 0 when it is not tied to a line.
struct PlayerError {
    int line = 0;
    std::wstring message;
};

// Plays the scenario against FormwellChecks.dll. Returns the process exit code: 0 played,
// 2 scenario error (error filled), 3 plug-in missing.
using PlayFormwellScenarioFunction = int(const std::vector<hostkit::ScenarioLine>& lines, IPlayerReport& report,
                                         PlayerError& error);

}  // namespace formwellrun
