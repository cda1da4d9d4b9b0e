// What the links of a page started, while a scenario's "browser" directive is in force
// (BrowserStandIn.cpp): the runner watches the plug-in's CreateProcessW and ShellExecuteW, and
// the stand-in browser writes the command line it got into the run's link journal.
#pragma once

#include <cstddef>

namespace runner {

// How many processes the plug-in started so far (0 while no browser directive is in force).
size_t StartedProcessCount();

// Waits, up to a time limit, until the processes the plug-in started after the first `mark`
// ones have ended, so that what a browser wrote is in the journal.
void WaitForStartedProcesses(size_t mark);

}  // namespace runner
