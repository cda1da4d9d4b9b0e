// The unpacker on a large archive, for scripts/bench-unpack.sh.
//
//   unpackbench make ARCHIVE MEGABYTES FILES   a deterministic archive of mixed compressibility
//   unpackbench unpack ARCHIVE FOLDER          unpacks it; prints the time, bytes and peak memory
//   unpackbench media FOLDER                   installation media of realistic shape for
//                                              scripts/bench-deploy.sh: the fourteen library archives
//                                              and twelve manufacturers' archives (about 1.1 GB
//                                              unpacked), a user data tree of 5,000 files
#include "SampleMedia.h"
#include "ZipBuilder.h"
#include "actions/Unpacker.h"

#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

int Make(const std::wstring& archive, long long megabytes, int files)
{
    media::ZipBuilder zip(archive);
    if (!zip.IsOpen()) {
        fwprintf(stderr, L"cannot create %ls\n", archive.c_str());
        return 1;
    }
    const long long total = megabytes * 1024 * 1024;
    const size_t each = static_cast<size_t>(total / files);
    // Text-like, half-and-half, mostly noise and pure noise, plus some stored entries.
    const int kinds[] = {95, 70, 40, 0};
    for (int i = 0; i < files; ++i) {
        media::ZipEntryOptions options;
        options.level = i % 10 == 9 ? 0 : 6;
        // Sizes vary around the mean so that small and large files both appear.
        const size_t size = each / 2 + (static_cast<size_t>(i) * 7919 % each);
        char name[96];
        snprintf(name, sizeof name, "bench/group%02d/file%04d.bin", i % 37, i);
        if (!zip.Add(name, media::SampleBytes(static_cast<uint32_t>(i) + 11, size, kinds[i % 4]), options)) {
            fprintf(stderr, "cannot add %s\n", name);
            return 1;
        }
    }
    return zip.Close() ? 0 : 1;
}

int Unpack(const std::wstring& archive, const std::wstring& folder)
{
    std::wstring destination = folder;
    if (destination.back() != L'\\')
        destination += L'\\';
    CreateDirectoryW(folder.c_str(), nullptr);
    const auto started = std::chrono::steady_clock::now();
    std::string why;
    const int result = wiraxui::actions::UnpackArchive(archive, destination, [] { return false; }, &why);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    printf("result=%d seconds=%.3f peak_working_set_kb=%zu%s%s\n", result, seconds, memory.PeakWorkingSetSize / 1024,
           why.empty() ? "" : " why=", why.c_str());
    return result == 0 ? 0 : 1;
}

int Media(const std::wstring& folder)
{
    media::SampleMediaOptions options;
    options.manufacturers = {{L"ab", L"AB"},         {L"abb", L"ABB"},         {L"beckhoff", L"BECKHOFF"},
                             {L"eaton", L"EATON"},   {L"FESTO", L"FESTO"},     {L"ge", L"GE"},
                             {L"LEGRAND", L"LEGRAND"}, {L"MERLIN_GERIN", L"MERLIN GERIN"}, {L"omron", L"OMRON"},
                             {L"RITTAL", L"RITTAL"}, {L"siemens", L"SIEMENS"}, {L"wago", L"WAGO"}};
    options.filesPerLibrary = 240;
    options.libraryFileBytes = 256 * 1024;
    options.filesPerManufacturer = 40;
    options.userDataFiles = 5000;
    options.userDataFileBytes = 16 * 1024;
    const auto started = std::chrono::steady_clock::now();
    const media::SampleMediaResult made = media::GenerateSampleMedia(folder, options);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (!made.ok) {
        fwprintf(stderr, L"media not made: %ls\n", made.error.c_str());
        return 1;
    }
    printf("media: %zu archives, %zu files in %.1f s\n", made.archives, made.files, seconds);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"make" && argc == 5)
        return Make(argv[2], _wtoi64(argv[3]), _wtoi(argv[4]));
    if (command == L"unpack" && argc == 4)
        return Unpack(argv[2], argv[3]);
    if (command == L"media" && argc == 3)
        return Media(argv[2]);
    fputs("usage: unpackbench make ARCHIVE MEGABYTES FILES | unpack ARCHIVE FOLDER | media FOLDER\n", stderr);
    return 2;
}
