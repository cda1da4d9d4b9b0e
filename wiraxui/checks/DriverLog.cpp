#include "checks/DriverLog.h"

#include "util/FinalPath.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdint>
#include <cstdio>
#include <locale>

namespace wiraxui {

namespace {

std::string Narrowed(const std::wstring& text)
{
    const std::ctype<wchar_t>& narrowing = std::use_facet<std::ctype<wchar_t>>(std::locale());
    std::string result(text.size(), '\0');
    narrowing.narrow(text.data(), text.data() + text.size(), '?', &result[0]);
    return result;
}

// The temporary folder is the user's: a name there may be a hard link or a link to any file the
// installer may write. An earlier log is removed (which takes only that name away, whatever it
// pointed at) and the log is created anew; a name that appears again in between is not written.
FILE* CreateFresh(const std::wstring& path)
{
    // A link at the name is refused rather than deleted: some platforms (Wine) delete what it
    // points at instead. A hard link is only a second name, and deleting this one leaves the other.
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES && LeadsElsewhere(path))
        return nullptr;
    if (!DeleteFileW(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
        return nullptr;
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_TEXT);
    if (descriptor == -1) {
        CloseHandle(handle);
        return nullptr;
    }
    FILE* file = _wfdopen(descriptor, L"wt");
    if (!file)
        _close(descriptor);  // closes the handle too
    return file;
}

class CTextFile {
public:
    explicit CTextFile(const std::wstring& path) : m_file(CreateFresh(path)) {}
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
