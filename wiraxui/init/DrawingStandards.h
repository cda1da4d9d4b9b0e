// The drawing standards and their symbol libraries: one table that product initialisation, the
// drawing standard page, the symbol library pages and the uninstall work all read.
//
// A standard's code is the value of "DRAWINGSTANDARD"; its token is how "SYMBOLLIBRARY" lists
// it. Codes are searched in "SYMBOLLIBRARY" as substrings (case-sensitive), so a list that holds
// "IEC6" also holds "IEC". The columns differ on purpose where the places that read them differ.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace wiraxui {

// A short list of installer property names, in the order they are written.
struct LibraryProperties {
    std::array<const wchar_t*, 5> names{};
    size_t count = 0;

    const wchar_t* const* begin() const { return names.data(); }
    const wchar_t* const* end() const { return names.data() + count; }
    bool empty() const { return count == 0; }
};

struct DrawingStandard {
    const wchar_t* code;
    // Drawing standard page: its radio button (0: not offered there), the libraries a choice
    // there asks for, and those asked for when "SYMBOLLIBRARY" holds the code (empty: the page
    // does not look for it). The page resets the second column before it writes.
    int radioButton;
    LibraryProperties chosenProperties;
    LibraryProperties listedProperties;
    // Symbol library pages: the token in "SYMBOLLIBRARY", the check box, the libraries of the
    // box, what they are written as while the box is clear, and the bytes a checked box adds.
    const wchar_t* token;
    int checkBox;
    LibraryProperties tokenProperties;
    const wchar_t* clearedValue;
    long long bytes;
    // The registry value (under the platform key) that says an installation has the library.
    const wchar_t* installedValue;
    // Product initialisation: the text it searches in "SYMBOLLIBRARY" (null: it does not look
    // for this standard) and the libraries it writes from that search, in its write order;
    // "clearedValue" again for a text that is not found.
    const wchar_t* initialisationSearch;
    LibraryProperties initialisationProperties;
    // Written "1" instead of "0" when the pages reset the libraries of every standard.
    const wchar_t* resetToOne;
    // The page's reset after a change of standard also clears these.
    LibraryProperties alsoResetOnStandardChange;
    // Further boxes checked when a change of drawing standard selects this one.
    int alsoCheckedBox;
};

constexpr size_t kDrawingStandardCount = 8;
// In table order, which is the order every caller processes them in.
extern const std::array<DrawingStandard, kDrawingStandardCount> kDrawingStandards;

// Every installation gets the base symbol libraries, whatever is chosen.
constexpr long long kSymbolLibraryBaseBytes = 2705308172LL;

// The standard offered as a drawing standard (one with a radio button) whose code equals code,
// ignoring case; null for anything else.
const DrawingStandard* FindOfferedStandard(const std::wstring& code);

// The standard whose check box is box; null for any other control.
const DrawingStandard* FindStandardByBox(int box);

// Case-sensitive substring search, as "SYMBOLLIBRARY" is read everywhere.
bool ListContains(const std::wstring& list, const wchar_t* text);

using PropertyWrites = std::vector<std::pair<std::wstring, std::wstring>>;

// What the pages write before they set a standard's libraries: every library the drawing
// standard page knows back to "0" (one stays "1"); with a change of standard seen by the
// symbol library page, a few more.
PropertyWrites LibraryReset(bool standardChange);

}  // namespace wiraxui
