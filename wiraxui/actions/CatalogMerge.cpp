#include "actions/CatalogMerge.h"

#include "actions/Paths.h"
#include "actions/ProcessRunner.h"
#include "actions/WholeFile.h"
#include "util/Handle.h"

#include <windows.h>
#include <sddl.h>

#include <array>
#include <map>
#include <memory>
#include <vector>

namespace wiraxui::actions {

namespace {

constexpr std::array<const wchar_t*, 5> kTools = {L"wrxDbMergeCore.dll", L"wrxDbMigrate.dll", L"wrxPmOleDb.dll", L"Cdb.exe",
                                                  L"wrxCompactMDB.exe"};
constexpr std::array<const wchar_t*, 2> kLanguageResources = {L"wrxdbmergeres.dll", L"wrxDbMigrateRes.dll"};
constexpr std::array<const wchar_t*, 16> kRuntime = {
    L"api-ms-win-crt-conio-l1-1-0.dll",      L"api-ms-win-crt-convert-l1-1-0.dll",    L"api-ms-win-crt-environment-l1-1-0.dll",
    L"api-ms-win-crt-filesystem-l1-1-0.dll", L"api-ms-win-crt-heap-l1-1-0.dll",       L"api-ms-win-crt-locale-l1-1-0.dll",
    L"api-ms-win-crt-math-l1-1-0.dll",       L"api-ms-win-crt-multibyte-l1-1-0.dll",  L"api-ms-win-crt-private-l1-1-0.dll",
    L"api-ms-win-crt-process-l1-1-0.dll",    L"api-ms-win-crt-runtime-l1-1-0.dll",    L"api-ms-win-crt-stdio-l1-1-0.dll",
    L"api-ms-win-crt-string-l1-1-0.dll",     L"api-ms-win-crt-time-l1-1-0.dll",       L"api-ms-win-crt-utility-l1-1-0.dll",
    L"ucrtbase.dll"};
constexpr std::array<const wchar_t*, 3> kDatabases = {L"default_cat.mdb", L"footprint_lookup.mdb", L"wrx_plc.mdb"};
constexpr std::array<const wchar_t*, 3> kSourceDatabaseSuffixes = {L"_wrx_plc_src.mdb", L"_default_cat_src.mdb",
                                                                   L"_footprint_lookup_src.mdb"};
constexpr const wchar_t* kRedistributable = L"3rdParty\\x86\\VCRedist\\2015\\vcredist_x86.exe";

bool EqualNoCase(const std::wstring& a, const wchar_t* b) { return _wcsicmp(a.c_str(), b) == 0; }

// One of the "<folder>\<manufacturer>_..._src.mdb" names, put together piece by piece: a folder
// whose name holds "%s" stays the folder it is.
std::wstring SourceDatabaseName(const std::wstring& folder, const std::wstring& manufacturer, const wchar_t* suffix)
{
    return folder + L"\\" + manufacturer + suffix;
}

struct Folders {
    std::wstring work;        // no trailing backslash
    std::wstring toolSource;  // ends with a backslash
    std::wstring resourceSource;
    std::wstring catalogs;
    std::wstring plcDatabases;
    std::wstring manufacturerDatabases;  // no trailing backslash
};

UniqueHandle Owned(HANDLE handle) { return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle); }

// The account this process runs as, in SID text form; empty when the token cannot be read.
std::wstring CurrentAccount()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    UniqueHandle owned(token);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    if (size == 0)
        return {};
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token, TokenUser, buffer.data(), size, &size))
        return {};
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text))
        return {};
    std::wstring account = text;
    LocalFree(text);
    return account;
}

// The working folder's descriptor: full access for SYSTEM, the Administrators and the account
// that runs the installation, and nothing inherited from the temporary folder, where every user
// may create files (as SYSTEM it is C:\Windows\Temp). The tools run from there with the
// installer's rights, so nobody else may put or change anything in it.
class ProtectedFolderDescriptor {
public:
    ProtectedFolderDescriptor()
    {
        std::wstring sddl = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
        const std::wstring account = CurrentAccount();
        if (account.empty())
            return;
        if (account != L"S-1-5-18")
            sddl += L"(A;OICI;FA;;;" + account + L")";
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
            return;
        m_descriptor.reset(descriptor);
        m_attributes.nLength = sizeof m_attributes;
        m_attributes.lpSecurityDescriptor = descriptor;
        m_attributes.bInheritHandle = FALSE;
    }
    // Null when the descriptor could not be made: no folder is then made at all.
    SECURITY_ATTRIBUTES* Attributes() { return m_descriptor ? &m_attributes : nullptr; }

private:
    struct Free {
        void operator()(void* memory) const { LocalFree(memory); }
    };
    std::unique_ptr<void, Free> m_descriptor;
    SECURITY_ATTRIBUTES m_attributes{};
};

bool IsPlainEntry(DWORD attributes, bool folder)
{
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)
           && ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folder;
}

// Opens a folder this call made and holds it: without delete sharing nobody can rename it and put
// something else under its name while the merge works in it. Null when the name is a link.
UniqueHandle HoldFolder(const std::wstring& path)
{
    UniqueHandle folder = Owned(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                            FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!folder || !GetFileInformationByHandle(folder.Get(), &information) || !IsPlainEntry(information.dwFileAttributes, true))
        return {};
    // Wine shows a link made on its host's side only to a look by name.
    if (!IsPlainEntry(GetFileAttributesW(path.c_str()), true))
        return {};
    return folder;
}

// Opens a plain file for reading with reading shared only: while the handle is open nobody can
// write, rename or delete it. Null for a link or a file with more than one name.
UniqueHandle HoldFile(const std::wstring& path)
{
    UniqueHandle file = Owned(CreateFileW(ExtendedPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!file || !GetFileInformationByHandle(file.Get(), &information) || !IsPlainEntry(information.dwFileAttributes, false)
        || information.nNumberOfLinks != 1)
        return {};
    if (!IsPlainEntry(GetFileAttributesW(ExtendedPath(path).c_str()), false))
        return {};
    return file;
}

bool SameContent(HANDLE first, HANDLE second)
{
    LARGE_INTEGER firstSize{}, secondSize{};
    if (!GetFileSizeEx(first, &firstSize) || !GetFileSizeEx(second, &secondSize) || firstSize.QuadPart != secondSize.QuadPart)
        return false;
    std::vector<char> a(64 * 1024), b(64 * 1024);
    for (LONGLONG left = firstSize.QuadPart; left > 0;) {
        const DWORD chunk = static_cast<DWORD>(left < static_cast<LONGLONG>(a.size()) ? left : static_cast<LONGLONG>(a.size()));
        DWORD gotA = 0, gotB = 0;
        if (!ReadFile(first, a.data(), chunk, &gotA, nullptr) || !ReadFile(second, b.data(), chunk, &gotB, nullptr) || gotA != chunk
            || gotB != chunk || memcmp(a.data(), b.data(), chunk) != 0)
            return false;
        left -= chunk;
    }
    return true;
}

enum class Staged {
    kCopied,    // the copy is there and equals its source
    kNoSource,  // the media lack the file, and nothing stands under its name in the working folder
    kFailed,    // the copy failed or differs from its source: the working folder is not what this call made
};

// Copies one file into the working folder and reads the copy back against its source. With
// `held`, the checked copy stays open (reading shared only) so that what later runs is what was
// checked.
Staged Stage(const std::wstring& from, const std::wstring& to, bool clearReadOnly, UniqueHandle* held)
{
    UniqueHandle source = Owned(CreateFileW(ExtendedPath(from).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!source) {
        const DWORD error = GetLastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return missing && GetFileAttributesW(ExtendedPath(to).c_str()) == INVALID_FILE_ATTRIBUTES ? Staged::kNoSource : Staged::kFailed;
    }
    if (!CopyReplacing(from, to, clearReadOnly))
        return Staged::kFailed;
    UniqueHandle copy = HoldFile(to);
    if (!copy || !SameContent(source.Get(), copy.Get()))
        return Staged::kFailed;
    if (held)
        *held = std::move(copy);
    return Staged::kCopied;
}

// What one merge works with: its folders, what it holds open in them, and which working
// databases are copies of the shared ones.
struct Workspace {
    Folders folders;
    std::wstring language;
    UniqueHandle folderHold;
    UniqueHandle languageHold;
    std::map<std::wstring, UniqueHandle> held;  // the tools and their libraries, by path
    std::array<bool, 3> copied{};
    std::wstring refused;  // the file whose copy failed, when one did

    bool Holds(const std::wstring& path) const { return held.count(path) != 0; }
    void Release()
    {
        held.clear();
        languageHold.Reset();
        folderHold.Reset();
    }
};

// Copies the tools, the language resources and the runtime libraries, each held from its check
// until the merge ends. False at the first copy that failed or differs.
bool StageTools(Workspace& work)
{
    const Folders& folders = work.folders;
    std::vector<std::pair<std::wstring, std::wstring>> files;
    for (const wchar_t* tool : kTools)
        files.emplace_back(folders.toolSource + tool, folders.work + L"\\" + tool);
    for (const wchar_t* resource : kLanguageResources)
        files.emplace_back(folders.resourceSource + work.language + L"\\" + resource, folders.work + L"\\" + work.language + L"\\" + resource);
    for (const wchar_t* runtime : kRuntime)
        files.emplace_back(folders.toolSource + runtime, folders.work + L"\\" + runtime);
    for (const auto& [from, to] : files) {
        UniqueHandle held;
        const Staged staged = Stage(from, to, false, &held);
        if (staged == Staged::kFailed) {
            work.refused = to;
            return false;
        }
        if (staged == Staged::kCopied)
            work.held.emplace(to, std::move(held));
    }
    return true;
}

// Runs a tool from the copy this call made and holds; a tool the media lack is not started. False
// when a quit message ended the wait while the tool still runs.
bool RunTool(const Workspace& work, const wchar_t* tool, const std::wstring& arguments)
{
    const std::wstring path = work.folders.work + L"\\" + tool;
    if (!work.Holds(path))
        return true;
    bool stillRunning = false;
    RunProcess(Quoted(path), arguments, SW_HIDE, &stillRunning);
    return !stillRunning;
}

// False when a quit message ended the wait while the redistributable still runs.
bool RunRedistributable(const InstallContext& context)
{
    std::wstring path = context.sourceRoot + kRedistributable;
    if (!FileExists(path))
        path = WithBackslash(context.deploymentFolder) + kRedistributable;
    bool stillRunning = false;
    if (FileExists(path))
        RunProcess(Quoted(path), L" /install /quiet /norestart", SW_HIDE, &stillRunning);
    return !stillRunning;
}

enum class Merged { kDone, kRefused, kStillRunning };

Merged MergeManufacturer(const InstallContext& context, Workspace& work, const std::wstring& manufacturer)
{
    const Folders& folders = work.folders;
    std::wstring source = folders.manufacturerDatabases;
    if (UsesFrenchDatabases(context.localeId, manufacturer))
        source += L"\\FrMDBs";
    std::array<std::wstring, 3> copies;
    Merged merged = Merged::kDone;
    for (size_t i = 0; i < kSourceDatabaseSuffixes.size() && merged == Merged::kDone; ++i) {
        copies[i] = SourceDatabaseName(folders.work, manufacturer, kSourceDatabaseSuffixes[i]);
        // Data that is not the manufacturer's own would go into every client's catalogs.
        if (Stage(SourceDatabaseName(source, manufacturer, kSourceDatabaseSuffixes[i]), copies[i], true, nullptr) == Staged::kFailed) {
            work.refused = copies[i];
            merged = Merged::kRefused;
        }
    }
    if (merged == Merged::kDone && !RunTool(work, L"Cdb.exe", MergeArguments(work.language, manufacturer, folders.work)))
        return Merged::kStillRunning;  // the tool still works on the copies: they stay
    for (const std::wstring& copy : copies) {
        if (!copy.empty())
            DeleteFileW(copy.c_str());
    }
    return merged;
}

void CleanUp(Workspace& work)
{
    work.Release();
    const Folders& folders = work.folders;
    for (const wchar_t* tool : kTools)
        DeleteFileW((folders.work + L"\\" + tool).c_str());
    for (const wchar_t* resource : kLanguageResources)
        DeleteFileW((folders.work + L"\\" + work.language + L"\\" + resource).c_str());
    for (const wchar_t* runtime : kRuntime)
        DeleteFileW((folders.work + L"\\" + runtime).c_str());
    RemoveDirectoryW((folders.work + L"\\" + work.language).c_str());
    RemoveDirectoryW(folders.work.c_str());
}

// A merge that found a file in its working folder that it did not put there, or could not make
// its copy: no tool starts any more, no database goes back to the share, and the host is told
// which file. What this call put into the folder goes.
int Refuse(InstallContext& context, Workspace& work)
{
    if (!work.refused.empty())
        context.progress.Item(L"not copied: " + work.refused);
    work.Release();
    for (const wchar_t* database : kDatabases)
        DeleteFileW((work.folders.work + L"\\" + database).c_str());
    CleanUp(work);
    return kFailed;
}

}  // namespace

std::wstring FreeWorkingFolder(const std::wstring& temporaryFolder)
{
    const std::wstring base = WithBackslash(temporaryFolder) + L"MergeMDB";
    std::wstring candidate = base;
    for (unsigned counter = 0; GetFileAttributesW(candidate.c_str()) != INVALID_FILE_ATTRIBUTES; ++counter)
        candidate = base + std::to_wstring(counter);
    return candidate;
}

namespace {

// Takes the first free name by creating it, protected, so that two installations at once never
// share one and nobody else's folder is ever used: a name taken in the meantime moves on to the
// next, any other failure ends the search. Empty when no folder was made.
std::wstring MakeWorkingFolder(const std::wstring& temporaryFolder, SECURITY_ATTRIBUTES* protection)
{
    if (!protection)
        return {};
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::wstring candidate = FreeWorkingFolder(temporaryFolder);
        if (CreateDirectoryW(candidate.c_str(), protection))
            return candidate;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return {};
    }
    return {};
}

}  // namespace

bool IsPlainFolderName(const std::wstring& name)
{
    if (name.empty() || name == L"." || name == L"..")
        return false;
    // Windows drops trailing dots and blanks from a name: such a name would be another folder's.
    if (name.back() == L'.' || name.back() == L' ')
        return false;
    for (const wchar_t c : name) {
        if (c < 0x20 || c == 0x7F || wcschr(L"\\/:*?\"<>|", c) != nullptr)
            return false;
    }
    return true;
}

std::wstring MergeArguments(const std::wstring& languageName, const std::wstring& manufacturerFolder, const std::wstring& workingFolder)
{
    return L"-L \"" + languageName + L"\" -I \"" + manufacturerFolder + L"\" -C \"" + workingFolder + L"\\default_cat.mdb\" -F \""
           + workingFolder + L"\\footprint_lookup.mdb\" -P \"" + workingFolder + L"\\wrx_plc.mdb\" -S \"" + workingFolder + L"\" -N";
}

bool UsesFrenchDatabases(const std::wstring& localeId, const std::wstring& manufacturerFolder)
{
    return EqualNoCase(localeId, L"40C")
           && (EqualNoCase(manufacturerFolder, L"TELEMECANIQUE") || EqualNoCase(manufacturerFolder, L"MERLIN GERIN")
               || EqualNoCase(manufacturerFolder, L"LEGRAND"));
}

int MergeCatalogDatabases(InstallContext& context)
{
    if (context.Cancelled())
        return kCancelled;
    // The language name becomes folder names and one of the merge tool's quoted arguments.
    if (!IsPlainFolderName(context.languageName))
        return kFailed;
    wchar_t temporary[MAX_PATH + 1] = L"";
    const DWORD length = GetTempPathW(MAX_PATH + 1, temporary);
    if (length == 0 || length > MAX_PATH)
        return kFailed;

    ProtectedFolderDescriptor protection;
    Workspace work;
    Folders& folders = work.folders;
    work.language = context.languageName;
    folders.work = MakeWorkingFolder(temporary, protection.Attributes());
    if (folders.work.empty())
        return kFailed;
    // A name that is a link by now leads elsewhere: nothing is written or removed through it.
    work.folderHold = HoldFolder(folders.work);
    if (!work.folderHold)
        return kFailed;
    // The folder is new, so its language sub-folder must be made here, not found.
    const std::wstring languageFolder = folders.work + L"\\" + work.language;
    if (!CreateDirectoryW(languageFolder.c_str(), protection.Attributes()) || !(work.languageHold = HoldFolder(languageFolder))) {
        work.Release();
        RemoveDirectoryW(folders.work.c_str());
        return kFailed;
    }

    folders.toolSource = context.sourceRoot + context.platform + L"\\Wirax\\PF\\Root\\Wirax\\x86\\";
    folders.resourceSource = context.languageSource + L"WiraxLP\\PF\\Root\\Wirax\\x86\\";
    folders.catalogs = context.supportPath + L"WxData\\" + work.language + L"\\catalogs\\";
    folders.plcDatabases = context.supportPath + L"WxData\\" + work.language + L"\\Plc\\";
    folders.manufacturerDatabases = context.languageSource + L"WiraxContentLP\\PF\\Root\\Wirax\\MDBs";

    if (!StageTools(work))
        return Refuse(context, work);
    const std::array<std::wstring, 3> homes = {folders.catalogs, folders.catalogs, folders.plcDatabases};
    for (size_t i = 0; i < kDatabases.size(); ++i) {
        const Staged staged = Stage(homes[i] + kDatabases[i], folders.work + L"\\" + kDatabases[i], true, nullptr);
        if (staged == Staged::kFailed) {
            work.refused = folders.work + L"\\" + kDatabases[i];
            return Refuse(context, work);
        }
        work.copied[i] = staged == Staged::kCopied;
    }

    context.progress.Phase();
    context.progress.Reset(context.SelectedCount());
    // A tool still running when a quit message ended the wait has not finished its work: nothing
    // more starts, nothing goes back to the share, and the working folder stays as a cancel
    // leaves it. The installation stops like a cancelled one.
    if (!RunRedistributable(context))
        return kCancelled;

    for (size_t row = 0; row < kManufacturerCount; ++row) {
        if (context.Cancelled())
            return kCancelled;
        if (context.selected[row] != 1)
            continue;
        const Merged merged = MergeManufacturer(context, work, kManufacturers[row].folderName);
        if (merged == Merged::kStillRunning)
            return kCancelled;
        if (merged == Merged::kRefused)
            return Refuse(context, work);
        context.progress.Step();
    }
    for (const wchar_t* database : kDatabases) {
        if (!RunTool(work, L"wrxCompactMDB.exe", Quoted(folders.work + L"\\" + database)))
            return kCancelled;
    }

    Pause();
    for (size_t i = 0; i < kDatabases.size(); ++i) {
        const std::wstring working = folders.work + L"\\" + kDatabases[i];
        // Only a copy of the shared database goes back, and it is held while it is copied: what
        // reaches every client is what the tools worked on.
        if (work.copied[i] && FileExists(working)) {
            UniqueHandle held = HoldFile(working);
            // The shared databases are what every client reads: one that could not be put back is told.
            if (!held || !CopyReplacing(working, homes[i] + kDatabases[i], false))
                context.copyFailures.Record(homes[i] + kDatabases[i]);
        }
        DeleteFileW(working.c_str());
    }
    CleanUp(work);
    return kDone;
}

}  // namespace wiraxui::actions
