// The floor of the support copy: only what the deployment's copy must do, on the same tree. List
// the tree, create its folders, and per file the shell's silent copy into a temporary name in the
// destination folder and one move onto the final name. No progress, no checks, no leftovers look.
//
//   copyfloor SOURCE DESTINATION      prints "files N ms M"
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

void List(const std::wstring& root, const std::wstring& relative, std::vector<std::wstring>& folders, std::vector<std::wstring>& files)
{
    folders.push_back(relative);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((root + relative + L"\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            List(root, relative + L"\\" + name, folders, files);
        else
            files.push_back(relative + L"\\" + name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: copyfloor SOURCE DESTINATION\n");
        return 2;
    }
    const std::wstring source = argv[1], destination = argv[2];
    const auto started = std::chrono::steady_clock::now();
    std::vector<std::wstring> folders, files;
    List(source, L"", folders, files);
    for (const std::wstring& folder : folders)
        SHCreateDirectoryExW(nullptr, (destination + folder).c_str(), nullptr);
    int failed = 0;
    for (const std::wstring& file : files) {
        const std::wstring target = destination + file;
        const std::wstring temporary = target.substr(0, target.find_last_of(L'\\') + 1) + L"~wxp1.tmp";
        std::wstring from = source + file + L'\0';
        std::wstring to = temporary + L'\0';
        SHFILEOPSTRUCTW operation{};
        operation.wFunc = FO_COPY;
        operation.pFrom = from.c_str();
        operation.pTo = to.c_str();
        operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
        if (SHFileOperationW(&operation) != 0
            || !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            ++failed;
    }
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started);
    printf("files %zu ms %lld failed %d\n", files.size(), static_cast<long long>(took.count()), failed);
    return failed == 0 ? 0 : 1;
}
