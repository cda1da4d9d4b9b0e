// hostrun's side of the FormwellChecks scenarios: loads FormwellPlayer.dll and plays through it.
#pragma once

#include "engine/Report.h"
#include "Scenario.h"

#include <vector>

namespace runner {

// Returns the process exit code like PlayWirax; scenario mistakes are thrown as ScenarioError.
int PlayFormwell(const std::vector<hostkit::ScenarioLine>& lines, Report& report);

}  // namespace runner
