#include "util/msidb/MsiDatabase.h"

#include "util/Handle.h"

#include <shlwapi.h>

#include <vector>

namespace wiraxui::msidb {

namespace {

constexpr wchar_t kForceCodepageFile[] = L"_ForceCodepage.idt";
constexpr wchar_t kForceCodepageTable[] = L"_ForceCodepage";

// A folder of its own under the temporary folder, so that no other process can put a file of the
// same name in the unit's way; removed with its content when the object goes.
class CPrivateTempFolder {
public:
    CPrivateTempFolder()
    {
        wchar_t temp[MAX_PATH] = L"";
        wchar_t unique[MAX_PATH] = L"";
        const DWORD length = GetTempPathW(MAX_PATH, temp);
        if (length == 0 || length >= MAX_PATH || !GetTempFileNameW(temp, L"mdb", 0, unique))
            return;
        // The unique name was created as a file; it becomes the folder.
        DeleteFileW(unique);
        if (CreateDirectoryW(unique, nullptr))
            m_path = unique;
    }
    ~CPrivateTempFolder()
    {
        if (m_path.empty())
            return;
        DeleteFileW(File(kForceCodepageFile).c_str());
        RemoveDirectoryW(m_path.c_str());
    }
    CPrivateTempFolder(const CPrivateTempFolder&) = delete;
    CPrivateTempFolder& operator=(const CPrivateTempFolder&) = delete;

    bool Exists() const { return !m_path.empty(); }
    const std::wstring& Path() const { return m_path; }
    std::wstring File(const wchar_t* name) const { return m_path + L"\\" + name; }

private:
    std::wstring m_path;
};

MsiResult FailedToOpen(const std::wstring& path, DWORD error)
{
    // The installer tooling of the product line reports this step in these words.
    return MsiResult::Failure(error, L"Failed to open " + path + L"!");
}

}  // namespace

MsiResult CMsiDatabase::Open(const std::wstring& path, bool forChanges)
{
    m_database.Reset();
    m_path.clear();
    m_forChanges = false;
    const bool patch = _wcsicmp(PathFindExtensionW(path.c_str()), L".msp") == 0;
    // The open modes are small numbers passed as a pointer; a patch adds the patch-file flag,
    // 32 as a byte address (MSIDBOPEN_PATCHFILE characters). Changes, to a patch as to a
    // package, are transacted until Commit.
    constexpr uintptr_t kPatchFile = 32;
    const uintptr_t base = reinterpret_cast<uintptr_t>(forChanges ? MSIDBOPEN_TRANSACT : MSIDBOPEN_READONLY);
    LPCWSTR mode = reinterpret_cast<LPCWSTR>(base + (patch ? kPatchFile : 0));
    const UINT result = MsiOpenDatabaseW(path.c_str(), mode, m_database.Receive());
    if (result != ERROR_SUCCESS) {
        m_database.Reset();
        return MsiResult::Failure(result, L"Failed to open " + path + L"! (installer error " + std::to_wstring(result) + L")");
    }
    m_path = path;
    m_forChanges = forChanges;
    return MsiResult::Ok();
}

MsiResult CMsiDatabase::Commit()
{
    // The installer answers a commit on a database opened read-only with success and writes
    // nothing: that is no save.
    if (!m_database.Get() || !m_forChanges)
        return MsiResult::Failure(ERROR_ACCESS_DENIED, L"The changes to " + m_path +
                                                           L" could not be saved: the database is not open for changes");
    const UINT result = MsiDatabaseCommit(m_database.Get());
    if (result != ERROR_SUCCESS)
        return MsiResult::Failure(result, L"The changes to " + m_path + L" could not be saved (installer error " +
                                              std::to_wstring(result) + L")");
    return MsiResult::Ok();
}

bool FitsCodepage(const std::wstring& text, int codepage)
{
    if (text.empty() || codepage == CP_UTF8)
        return true;
    const UINT page = codepage == 0 ? CP_ACP : static_cast<UINT>(codepage);
    BOOL usedDefault = FALSE;
    int size = WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                   nullptr, &usedDefault);
    if (size == 0 && GetLastError() == ERROR_INVALID_FLAGS)  // code pages that know no best fit
        size = WideCharToMultiByte(page, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, &usedDefault);
    return size > 0 && !usedDefault;
}

std::string ForceCodepageFileText(int codepage) { return "\n\n" + std::to_string(codepage) + "\t_ForceCodepage\n"; }

MsiResult ForceCodepage(MSIHANDLE database, int codepage)
{
    CPrivateTempFolder folder;
    if (!folder.Exists())
        return FailedToOpen(L"the temporary folder", GetLastError());
    const std::wstring path = folder.File(kForceCodepageFile);
    {
        UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY, nullptr));
        if (file.Get() == INVALID_HANDLE_VALUE)
            return FailedToOpen(path, GetLastError());
        // Digits, a tab and the table name: the same bytes in every ANSI code page.
        const std::string text = ForceCodepageFileText(codepage);
        DWORD written = 0;
        if (!WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
            written != text.size())
            return FailedToOpen(path, GetLastError());
    }
    const UINT result = MsiDatabaseImportW(database, folder.Path().c_str(), kForceCodepageFile);
    if (result != ERROR_SUCCESS)
        return MsiResult::Failure(result, L"Code page " + std::to_wstring(codepage) + L" could not be given to the database (installer error " +
                                              std::to_wstring(result) + L")");
    return MsiResult::Ok();
}

MsiResult ReadCodepage(MSIHANDLE database, int& codepage)
{
    CPrivateTempFolder folder;
    if (!folder.Exists())
        return FailedToOpen(L"the temporary folder", GetLastError());
    const UINT result = MsiDatabaseExportW(database, kForceCodepageTable, folder.Path().c_str(), kForceCodepageFile);
    if (result != ERROR_SUCCESS)
        return MsiResult::Failure(result, L"The code page could not be read (installer error " + std::to_wstring(result) + L")");
    const std::wstring path = folder.File(kForceCodepageFile);
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE)
        return FailedToOpen(path, GetLastError());
    char buffer[256] = "";
    DWORD read = 0;
    ReadFile(file.Get(), buffer, sizeof buffer - 1, &read, nullptr);
    buffer[read] = '\0';
    // Two empty lines (column names and types), then "<code page>\t_ForceCodepage".
    const std::string text(buffer);
    size_t line = 0;
    for (int skipped = 0; skipped < 2 && line != std::string::npos; ++skipped) {
        line = text.find('\n', line);
        if (line != std::string::npos)
            ++line;
    }
    if (line == std::string::npos || line >= text.size() || text[line] < '0' || text[line] > '9')
        return MsiResult::Failure(ERROR_INVALID_DATA, L"The installer's code page record is not understood");
    codepage = std::atoi(text.c_str() + line);
    return MsiResult::Ok();
}

}  // namespace wiraxui::msidb
