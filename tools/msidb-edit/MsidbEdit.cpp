// msidb-edit: reads and changes an installer package the way the product line's installer
// tooling does, for an installer engineer at the command line.
//
//   msidb-edit PACKAGE property NAME [--table TABLE]   print a property (TABLE: Property, or
//                                                      MsiPatchMetadata of a patch)
//   msidb-edit PACKAGE property NAME VALUE             write a property (delete, then insert)
//   msidb-edit PACKAGE directory KEY [ROOT]            print a directory's full target path
//   msidb-edit PACKAGE codepage                        print the code page
//   msidb-edit PACKAGE codepage NUMBER                 force the code page
//
// Exit code: 0 done, 1 the package refused or failed the step (nothing saved), 2 usage.
#include "util/msidb/DirectoryData.h"
#include "util/msidb/MsiDatabase.h"
#include "util/msidb/PropertyData.h"

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

using namespace wiraxui::msidb;

namespace {

constexpr wchar_t kUsage[] =
    L"usage: msidb-edit PACKAGE property NAME [--table TABLE]\n"
    L"       msidb-edit PACKAGE property NAME VALUE\n"
    L"       msidb-edit PACKAGE directory KEY [ROOT]\n"
    L"       msidb-edit PACKAGE codepage [NUMBER]\n";

// A console shows the text as it is; a file or pipe receives UTF-8.
void Print(DWORD which, const std::wstring& text)
{
    HANDLE out = GetStdHandle(which);
    if (!out || out == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    DWORD mode = 0;
    if (GetConsoleMode(out, &mode)) {
        WriteConsoleW(out, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

int Fail(const MsiResult& result)
{
    Print(STD_ERROR_HANDLE, L"msidb-edit: " + result.message + L"\n");
    return 1;
}

int Usage()
{
    Print(STD_ERROR_HANDLE, kUsage);
    return 2;
}

bool ParseNumber(const std::wstring& text, int& number)
{
    if (text.empty() || text.size() > 9)
        return false;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return false;
    }
    number = std::stoi(text);
    return true;
}

int ShowProperty(const std::wstring& package, const std::wstring& name, const std::wstring& table)
{
    CMsiDatabase database;
    MsiResult result = database.Open(package, false);
    if (!result)
        return Fail(result);
    PropertyData property;
    property.table = table;
    result = property.Read(database.Handle(), name);
    if (!result)
        return Fail(result);
    Print(STD_OUTPUT_HANDLE, property.value + L"\n");
    return 0;
}

int WriteProperty(const std::wstring& package, const std::wstring& name, const std::wstring& value)
{
    CMsiDatabase database;
    MsiResult result = database.Open(package, true);
    if (!result)
        return Fail(result);
    PropertyData property(name, value);
    result = property.Write(database.Handle());
    if (!result)
        return Fail(result);  // closing without commit leaves the package as it was
    result = database.Commit();
    if (!result)
        return Fail(result);
    Print(STD_OUTPUT_HANDLE, name + L"=" + value + L"\n");
    return 0;
}

int ShowDirectory(const std::wstring& package, const std::wstring& key, const std::wstring* root)
{
    CMsiDatabase database;
    MsiResult result = database.Open(package, false);
    if (!result)
        return Fail(result);
    // Without a root the package's own TARGETDIR decides, else it stays the installer's
    // placeholder, which stands for a folder with its trailing backslash.
    std::wstring base;
    std::wstring placeholder;
    PropertyData target;
    if (root)
        base = *root;
    else if (target.Read(database.Handle(), kTargetDir))
        base = target.value;
    else
        placeholder = L"[TARGETDIR]";
    std::wstring path;
    result = DirectoryData::ResolvePath(database.Handle(), key, base, path);
    if (!result)
        return Fail(result);
    Print(STD_OUTPUT_HANDLE, placeholder + path + L"\n");
    return 0;
}

int Codepage(const std::wstring& package, const std::wstring* number)
{
    CMsiDatabase database;
    int codepage = 0;
    if (number && !ParseNumber(*number, codepage))
        return Usage();
    MsiResult result = database.Open(package, number != nullptr);
    if (!result)
        return Fail(result);
    if (number) {
        result = ForceCodepage(database.Handle(), codepage);
        if (result)
            result = database.Commit();
        if (!result)
            return Fail(result);
    }
    result = ReadCodepage(database.Handle(), codepage);
    if (!result)
        return Fail(result);
    Print(STD_OUTPUT_HANDLE, std::to_wstring(codepage) + L"\n");
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::vector<std::wstring> args(argv + 1, argv + argc);
    if (args.size() < 2)
        return Usage();
    const std::wstring& package = args[0];
    const std::wstring& command = args[1];
    if (command == L"property") {
        if (args.size() == 3)
            return ShowProperty(package, args[2], L"Property");
        if (args.size() == 5 && args[3] == L"--table")
            return ShowProperty(package, args[2], args[4]);
        if (args.size() == 4)
            return WriteProperty(package, args[2], args[3]);
        return Usage();
    }
    if (command == L"directory" && (args.size() == 3 || args.size() == 4))
        return ShowDirectory(package, args[2], args.size() == 4 ? &args[3] : nullptr);
    if (command == L"codepage" && (args.size() == 2 || args.size() == 3))
        return Codepage(package, args.size() == 3 ? &args[2] : nullptr);
    return Usage();
}
