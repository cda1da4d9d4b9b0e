// "show-file PATH": the report shows a file's lines as they are at that point of the scenario:
// the tools' journal after a deployment, a merged database, a settings file. Facts:
//
//   file-line PATH:N TEXT     line N of the file (from 1), empty lines too
//   file-missing PATH         there is no such file
//
// The file is read as UTF-16 when it starts with its byte-order mark, as UTF-8 when it is valid
// UTF-8, and in the ANSI code page otherwise.
#include "FileBytes.h"
#include "engine/WiraxPlayer.h"

#include <windows.h>

#include <string>
#include <vector>

namespace runner {

namespace {

using hostkit::ExpectWords;
using hostkit::ScenarioLine;

std::wstring Decoded(const std::string& bytes)
{
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE)
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / sizeof(wchar_t));
    size_t start = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    if (bytes.size() <= start)
        return std::wstring();
    const char* data = bytes.data() + start;
    const int size = static_cast<int>(bytes.size() - start);
    UINT page = CP_UTF8;
    int length = MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, data, size, nullptr, 0);
    if (length == 0) {
        page = CP_ACP;
        length = MultiByteToWideChar(page, 0, data, size, nullptr, 0);
    }
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(page, 0, data, size, text.data(), length);
    return text;
}

std::vector<std::wstring> SplitLines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

void ShowFile(WiraxSession&, const ScenarioLine& line, Report& report)
{
    ExpectWords(line, 1, 1, L"show-file PATH");
    const std::wstring& path = line.words[1];
    std::string bytes;
    report.Heading(L"[line " + std::to_wstring(line.number) + L"] file " + path);
    if (!hostkit::ReadFileBytes(path, bytes)) {
        report.Line(L"not there");
        report.Fact(L"file-missing " + path);
        return;
    }
    const std::vector<std::wstring> lines = SplitLines(Decoded(bytes));
    report.Line(std::to_wstring(lines.size()) + L" lines:");
    for (size_t number = 0; number < lines.size(); ++number) {
        report.Line(L"  " + lines[number]);
        report.Fact(L"file-line " + path + L":" + std::to_wstring(number + 1) + L" " + lines[number]);
    }
}

const bool kRegistered = [] {
    WiraxDirectives()[L"show-file"] = ShowFile;
    return true;
}();

}  // namespace

}  // namespace runner
