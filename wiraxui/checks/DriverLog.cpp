#include "checks/DriverLog.h"

#include <windows.h>

#include <cstdio>
#include <locale>
#include <share.h>

namespace wiraxui {

namespace {

std::string Narrowed(const std::wstring& text)
{
    const std::ctype<wchar_t>& narrowing = std::use_facet<std::ctype<wchar_t>>(std::locale());
    std::string result(text.size(), '\0');
    narrowing.narrow(text.data(), text.data() + text.size(), '?', &result[0]);
    return result;
}

class CTextFile {
public:
    explicit CTextFile(const std::wstring& path) : m_file(_wfsopen(path.c_str(), L"wt", _SH_DENYNO)) {}
    ~CTextFile()
    {
        if (m_file)
            fclose(m_file);
    }
    CTextFile(const CTextFile&) = delete;
    CTextFile& operator=(const CTextFile&) = delete;
    FILE* Get() const { return m_file; }
    // True when everything written so far reached the file.
    bool Close()
    {
        const bool closed = m_file && fclose(m_file) == 0;
        m_file = nullptr;
        return closed;
    }

private:
    FILE* m_file;
};

bool WriteLine(FILE* file, const std::wstring& text)
{
    const std::string bytes = Narrowed(text) + "\n";
    return fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

}  // namespace

std::wstring DriverLogPath()
{
    wchar_t folder[MAX_PATH] = L"";
    const DWORD length = GetTempPathW(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH)
        return std::wstring();
    return std::wstring(folder, length) + kDriverLogName;
}

std::wstring FormatHelpLine(const std::wstring& format, const std::wstring& link)
{
    const size_t at = format.find(L"%s");
    if (at == std::wstring::npos)
        return format;
    return format.substr(0, at) + link + format.substr(at + 2);
}

bool WriteDriverLog(const std::wstring& path, const std::wstring& message, const std::wstring& helpLine)
{
    if (path.empty())
        return false;
    CTextFile file(path);
    if (!file.Get())
        return false;
    const bool written = WriteLine(file.Get(), message) && WriteLine(file.Get(), helpLine);
    return file.Close() && written;
}

}  // namespace wiraxui
