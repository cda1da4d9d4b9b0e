// How hostrun plays the plug-in's pages: a configuration page inside a host panel window, a wizard
// page with its own loop, and the user's (or the host's) steps on them, one scenario line a step:
//
//   call SymbolLibraryPage
//   user check 1201            check box (or "user check ID ITEM" for an item of a list view)
//   user clear 1202
//   user click 1180            push button or radio button
//   user type 1050 "D:\Libs"   replaces an edit's text
//   user select 1100 "text"    combo box or list box item
//   user answer yes            the next dialog the page opens is answered: ok|yes|no|cancel
//   user read caption          what the user reads: the current dialog's caption, or the text of
//   user read 1064             one of its controls (facts window-caption TEXT, control-text ID TEXT)
//   host changed NAME [VALUE]  the host sets a property of the page's product and tells the page
//   user commit                the host commits the configuration page (may come more than once)
//   user next                  next|back|first|cancel: a wizard page's buttons
//
// Steps act on the current dialog: the page, or a dialog the page opened over itself and left
// unanswered. Headless the runner is the user. The host waits for the user where the steps leave
// the page (its last commit or wizard button, with the answers just before it): with --show the
// steps before are played slowly on the display and the rest is the user's, in the host panel's
// button row (Next > commits, Cancel does not) or with the wizard page's own buttons; with
// --pictures the page is photographed there.
#pragma once

#include "engine/WiraxPlayer.h"

namespace runner {

// Callers for WiraxExports(): each opens its page and plays the steps that follow the call.
std::wstring PlayConfigurationPage(WiraxSession& session, FARPROC function, const hostkit::ScenarioLine& line);
std::wstring PlayWizardPage(WiraxSession& session, FARPROC function, const hostkit::ScenarioLine& line);

}  // namespace runner
