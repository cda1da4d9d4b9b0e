// What the picture programs and the runner share: saving what the screen shows of a window as a
// PNG file, with the name suffix of the display resolution, and finding a shown dialog.
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

// The same picture saved as the PNG file path; false when it could not be written.
bool SaveAs(HWND window, const std::wstring& path);

// "" at 96 pixels per inch, otherwise "-144dpi" and the like: what the picture programs put into
// the names of pictures taken at another resolution.
std::wstring ScreenDpiSuffix();

// A visible dialog with the caption, waited for up to ten seconds; null when none came.
HWND WaitForWindow(const wchar_t* caption);

}  // namespace pageshots
