// What the picture programs share: saving what the screen shows of a window as a PNG file in the
// output folder, with the name suffix of the display resolution, and finding a shown dialog.
#pragma once

#include <windows.h>

#include <string>

namespace pageshots {

// The output folder and the suffix that goes before ".png"; set once from the command line.
void SetOutput(const std::wstring& folder, const std::wstring& suffix);
const std::wstring& Suffix();
// How many pictures were saved so far.
int SavedCount();

// What the screen shows where window is, frame included, saved as FOLDER\baseName SUFFIX.png.
void Save(HWND window, const std::wstring& baseName);

// A visible dialog with the caption, waited for up to ten seconds; null when none came.
HWND WaitForWindow(const wchar_t* caption);

}  // namespace pageshots
