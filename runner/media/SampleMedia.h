// A small but complete installation source for the shared library installation: the fourteen
// symbol library archives, manufacturer archives, user data, PLC and content folders for two
// languages, the merge tools and their databases, and the runtime redistributable.
#pragma once

#include <string>
#include <vector>

namespace media {

struct SampleMediaOptions {
    std::wstring platform = L"x64";
    std::vector<std::wstring> languages = {L"en-us", L"de-de"};
    // Archive base names and folder names of the manufacturers whose content the media carries.
    std::vector<std::pair<std::wstring, std::wstring>> manufacturers = {
        {L"ab", L"AB"}, {L"abb", L"ABB"}, {L"MERLIN_GERIN", L"MERLIN GERIN"}, {L"Telemecanique", L"TELEMECANIQUE"}};
    int filesPerLibrary = 6;
    // 0: the small sizes of the examples; else the size of each library and manufacturer file.
    size_t libraryFileBytes = 0;
    int filesPerManufacturer = 3;  // in the panel archive; the panel_mm archive has one less
    // Extra user data: that many files of that size in a tree of 25 files a folder.
    int userDataFiles = 0;
    size_t userDataFileBytes = 4096;
    // Another edition of the same media: other bytes in every archive entry and file, the same names.
    unsigned edition = 0;
    // Where the stand-in tools are (Cdb.exe, wrxCompactMDB.exe, vcredist_x86.exe); default: the
    // folder of the running program.
    std::wstring toolFolder;
};

struct SampleMediaResult {
    bool ok = false;
    std::wstring error;
    size_t archives = 0;
    size_t files = 0;
};

// Builds the media below `root` (made if missing; it should be empty).
SampleMediaResult GenerateSampleMedia(const std::wstring& root, const SampleMediaOptions& options = {});

// Writes a file, making its folders. False on failure.
bool WriteMediaFile(const std::wstring& path, const std::string& data);

}  // namespace media
