// What a user would find broken on a dialog, checked on the live window: text cut off by its
// control, controls lying on top of each other, and a Tab order that skips a control, visits one
// twice or never comes back to where it started. Each check answers the problems it found, one
// readable line each; an empty answer means the dialog passed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace pagetest {

// Visible child controls of dialog whose text needs more room than the control gives it:
// push buttons, check boxes, radio buttons, group boxes and static texts, measured with the
// control's own font (wrapping statics by height, the others by width).
std::vector<std::wstring> ClippedTextProblems(HWND dialog);

// Pairs of visible child controls whose window rectangles intersect. Group boxes frame other
// controls by design and are left out.
std::vector<std::wstring> OverlapProblems(HWND dialog);

// Both of the above.
std::vector<std::wstring> LayoutProblems(HWND dialog);

// Focuses the first tab stop of dialog and presses Tab as the dialog manager sees it (the
// key goes through IsDialogMessage), until the focus is back on the first control or has
// moved more often than there are controls. Every visible, enabled control with WS_TABSTOP
// must be reached exactly once per round; a group of radio buttons counts as one stop,
// whichever of its buttons takes the focus.
std::vector<std::wstring> TabOrderProblems(HWND dialog);

// "1021 Edit \"C:\\Data\"" and the like: how a problem names a control.
std::wstring DescribeControl(HWND control);

// The lines joined for a test's failure message.
std::string JoinProblems(const std::vector<std::wstring>& problems);

}  // namespace pagetest
