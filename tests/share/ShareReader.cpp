// A workstation that reads the shared libraries while a deployment replaces them: it reads every
// file of the reference trees from the share, again and again until the stop file appears, and
// tells each read apart as the earlier version, the new version, absent, unreadable, or neither
// (a partial or mixed file, which must never be seen).
//
//   sharereader SHARE-ROOT EARLIER-ROOT NEWER-ROOT STOP-FILE
// Prints "reads N earlier N newer N absent N unreadable N mixed N passes N"; exit 1 on a mixed read.
#include "KernelHandle.h"

#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

bool ReadWhole(const std::wstring& path, std::string& data, DWORD& error)
{
    hostkit::KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return false;
    }
    data.clear();
    char chunk[65536];
    DWORD got = 0;
    for (;;) {
        if (!ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr)) {
            error = GetLastError();
            return false;
        }
        if (got == 0)
            return true;
        data.append(chunk, got);
    }
}

void List(const std::wstring& root, const std::wstring& relative, std::vector<std::wstring>& into)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((root + relative + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            List(root, relative + L"\\" + name, into);
        else
            into.push_back(relative + L"\\" + name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

struct Versions {
    bool hasEarlier = false;
    std::string earlier;
    std::string newer;
};

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 5) {
        fprintf(stderr, "usage: sharereader SHARE-ROOT EARLIER-ROOT NEWER-ROOT STOP-FILE\n");
        return 2;
    }
    const std::wstring share = argv[1], earlierRoot = argv[2], newerRoot = argv[3], stop = argv[4];
    std::vector<std::wstring> names;
    List(newerRoot, L"", names);
    std::map<std::wstring, Versions> versions;
    for (const std::wstring& name : names) {
        Versions& v = versions[name];
        DWORD error = 0;
        if (!ReadWhole(newerRoot + name, v.newer, error)) {
            fprintf(stderr, "cannot read the reference %ls (%lu)\n", name.c_str(), error);
            return 2;
        }
        v.hasEarlier = ReadWhole(earlierRoot + name, v.earlier, error);
    }
    if (versions.empty()) {
        fprintf(stderr, "no reference files below %ls\n", newerRoot.c_str());
        return 2;
    }

    unsigned long long reads = 0, earlier = 0, newer = 0, absent = 0, unreadable = 0, mixed = 0, passes = 0;
    std::string data;
    while (GetFileAttributesW(stop.c_str()) == INVALID_FILE_ATTRIBUTES) {
        for (const auto& [name, v] : versions) {
            DWORD error = 0;
            ++reads;
            if (!ReadWhole(share + name, data, error)) {
                if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                    ++absent;
                else
                    ++unreadable;
                continue;
            }
            if (v.hasEarlier && data == v.earlier) {
                ++earlier;
            } else if (data == v.newer) {
                ++newer;
            } else {
                if (mixed < 5)
                    fprintf(stderr, "mixed or partial: %ls (%zu bytes)\n", name.c_str(), data.size());
                ++mixed;
            }
        }
        ++passes;
    }
    printf("reads %llu earlier %llu newer %llu absent %llu unreadable %llu mixed %llu passes %llu\n", reads, earlier, newer,
           absent, unreadable, mixed, passes);
    return mixed == 0 ? 0 : 1;
}
