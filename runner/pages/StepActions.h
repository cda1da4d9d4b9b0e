// What a step does to a control of the current dialog, as the user would do it. Each kind of
// control has its own file: buttons, boxes and lists (ControlSteps.cpp), the wizard pages' links
// (LinkSteps.cpp), the file dialog's name box (FileDialogSteps.cpp).
//
// An action is made on the user's thread, where a mistake is told with the step's line, and
// run on a thread of its own: it may not come back until a dialog the page opens is closed.
#pragma once

#include "pages/StepReading.h"

#include <windows.h>

#include <functional>
#include <set>
#include <string>

namespace runner {
struct WiraxSession;
}

namespace runner::pages {

using StepAction = std::function<void()>;

// Windows as the user sees them.
std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);
bool IsClass(HWND window, const wchar_t* name);
// The visible top-level dialogs of the thread that shows the page.
std::set<HWND> DialogsOf(DWORD thread);
bool IsCheckBox(HWND control);

// The action of a click, check, clear, type or select step on control. Throws ScenarioError
// (the step's line) when the control cannot take it.
StepAction ControlAction(WiraxSession& session, const Step& step, HWND control);

// LinkSteps.cpp: a link control of a wizard page (a static control that notifies its page) is
// pressed with the mouse, down and up in its middle; the action comes back once every browser
// the link started has ended, so that what it wrote is in the journal.
bool IsLinkControl(HWND control);
StepAction PressLink(WiraxSession& session, HWND link);

// KeySteps.cpp: the focus moved to control as the user's Tab moves it; true when it is there.
bool FocusControl(HWND control, DWORD pageThread);
// Enter or Space (step.text) pressed on the focused control: the key messages go through the
// page thread's queue; the action comes back once the page's loop has taken them.
StepAction PressKey(const Step& step, HWND control, DWORD pageThread);
// A wizard button pressed, and pressed again while the page handles the first press (inside
// the host's leave callback); told(true) when the second press came during the first.
StepAction PressTwice(HWND button, std::function<void(bool)> told);
// Run by the host's callbacks on the page's thread: when a second press is on its way, lets
// the thread's messages through until the page has handled it.
void LetSecondPressIn();

// LinkSteps.cpp: the link with this text inside a rich label (the host's control) is pressed
// with the mouse in its middle, where the label laid it out. Throws ScenarioError when the
// label has no such link.
bool IsRichLabel(HWND control);
StepAction PressRichLabelLink(const Step& step, HWND label);

// FileDialogSteps.cpp: the edit box a "type" step writes into: the control itself, the edit of
// a combo box, or the edit inside the open-file dialog's name box (a ComboBoxEx32 under Wine).
// Null when the control has none.
HWND EditToTypeInto(HWND control);

}  // namespace runner::pages
