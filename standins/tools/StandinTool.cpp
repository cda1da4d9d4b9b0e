// Stand-ins of the external programs the shared library installation starts: the catalog merge
// tool, the database compaction tool and the runtime redistributable. Each one appends its exact
// command line to a journal file, and the two database tools change the databases they are given
// so that the order and effect of a merge can be read back. Like the real tools, the database tools
// fail (non-zero exit, nothing created) on a database that is not there. The stand-in databases are text.
//
// Journal: the file named by WIRAX_TOOL_JOURNAL, else "wirax-tools.log" in the temporary folder.
// WIRAX_TOOL_DELAY_MS makes the program wait that long before it ends.
#include "ToolJournal.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

using standin_tools::AppendText;
using standin_tools::Environment;
using standin_tools::JournalPath;
using standin_tools::Missing;
using standin_tools::Utf8;

[[maybe_unused]] std::string ReadText(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string text(64 * 1024, '\0');
    DWORD got = 0;
    ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &got, nullptr);
    CloseHandle(file);
    text.resize(got);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

std::wstring ProgramName()
{
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring full(path);
    return full.substr(full.find_last_of(L'\\') + 1);
}

#if defined(STANDIN_MERGE)
// The merge tool: "-L lang -I manufacturer -C cat.mdb -F footprint.mdb -P plc.mdb -S folder -N".
// Each target database gains one line naming the manufacturer and the data it took from that
// manufacturer's source copy in the working folder.
int Merge(int count, wchar_t** words)
{
    std::wstring manufacturer, folder, cat, footprint, plc;
    for (int i = 1; i + 1 < count; ++i) {
        const std::wstring option = words[i];
        if (option == L"-I") manufacturer = words[++i];
        else if (option == L"-S") folder = words[++i];
        else if (option == L"-C") cat = words[++i];
        else if (option == L"-F") footprint = words[++i];
        else if (option == L"-P") plc = words[++i];
        else if (option == L"-L") ++i;
    }
    if (manufacturer.empty() || folder.empty() || cat.empty() || footprint.empty() || plc.empty())
        return 2;
    const std::pair<std::wstring, const wchar_t*> targets[] = {
        {cat, L"_default_cat_src.mdb"}, {footprint, L"_footprint_lookup_src.mdb"}, {plc, L"_wrx_plc_src.mdb"}};
    // A target database that is not there ends the merge before any database is touched.
    for (const auto& target : targets) {
        if (GetFileAttributesW(target.first.c_str()) == INVALID_FILE_ATTRIBUTES)
            return 4;
    }
    int result = 0;
    for (const auto& [target, suffix] : targets) {
        std::string data = ReadText(folder + L"\\" + manufacturer + suffix);
        if (data.empty())
            data = "(no source data)";
        if (!AppendText(target, "merged " + Utf8(manufacturer) + ": " + data + "\n", Missing::Fail))
            result = 3;
    }
    return result;
}
#endif

#if defined(STANDIN_COMPACT)
int Compact(int count, wchar_t** words)
{
    if (count < 2)
        return 2;
    return AppendText(words[1], "compacted\n", Missing::Fail) ? 0 : 3;
}
#endif

}  // namespace

int wmain()
{
    const std::wstring name = ProgramName();
    AppendText(JournalPath(), Utf8(name) + "|" + Utf8(GetCommandLineW()) + "\n");
    if (const std::wstring delay = Environment(L"WIRAX_TOOL_DELAY_MS"); !delay.empty())
        Sleep(static_cast<DWORD>(_wtoi(delay.c_str())));

    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    int result = 0;
#if defined(STANDIN_MERGE)
    result = Merge(count, words);
#elif defined(STANDIN_COMPACT)
    result = Compact(count, words);
#endif
    LocalFree(words);
    return result;
}
