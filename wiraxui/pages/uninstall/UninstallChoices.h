// What the removal page decides, apart from its window: the heading, what the uninstaller is told
// about the symbol libraries and where, and what the language-pack answer means.
#pragma once

#include <windows.h>

#include <string>

namespace wiraxui {

// The heading with every "[ProductName]" replaced by the installation's title.
std::wstring UninstallHeading(const std::wstring& pattern, const std::wstring& title);

// "1" keeps the symbol libraries on removal: the user asked for it, or they are shared.
const wchar_t* SkipSymbolLibrariesValue(bool keepChecked, bool sharedSymbols);

// Values of the product's uninstall key (local machine, 64-bit view): "SharedSymbol" is 1, and
// "SymLibIni" (empty when missing). Without a product code the key is not opened.
bool ReadSharedSymbols(const std::wstring& productCode);
std::wstring ReadSymLibIni(const std::wstring& productCode);

// Only a settings file of the symbol libraries takes the entry: an absolute path (drive or
// network share) to an existing file named "SymLib.ini". Anything else would send the profile
// functions to a file of the Windows folder, or to a file of any name.
bool IsSymbolLibrarySettingsFile(const std::wstring& path);

// Writes "Skip Symbol Libraries" of section "Uninstall"; false when the path is not a settings
// file (nothing is written then) or the write failed.
bool WriteSkipSymbolLibraries(const std::wstring& path, const wchar_t* value);

// How the answer of the language-pack question ends Next.
enum class LangPackAnswer { Remove, Keep, StayOnPage, Other };
LangPackAnswer ClassifyLangPackAnswer(INT_PTR code);

}  // namespace wiraxui
