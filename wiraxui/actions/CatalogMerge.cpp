#include "actions/CatalogMerge.h"

#include "actions/Paths.h"
#include "actions/ProcessRunner.h"

#include <windows.h>

#include <array>

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
constexpr std::array<const wchar_t*, 3> kSourceDatabases = {L"%s\\%s_wrx_plc_src.mdb", L"%s\\%s_default_cat_src.mdb",
                                                            L"%s\\%s_footprint_lookup_src.mdb"};
constexpr const wchar_t* kRedistributable = L"3rdParty\\x86\\VCRedist\\2015\\vcredist_x86.exe";

bool EqualNoCase(const std::wstring& a, const wchar_t* b) { return _wcsicmp(a.c_str(), b) == 0; }

// One of the "%s\%s_..._src.mdb" names: folder, backslash, manufacturer folder name and suffix.
std::wstring SourceDatabaseName(const wchar_t* format, const std::wstring& folder, const std::wstring& manufacturer)
{
    std::wstring name = format;
    name.replace(name.find(L"%s"), 2, folder);
    name.replace(name.find(L"%s"), 2, manufacturer);
    return name;
}

struct Folders {
    std::wstring work;        // no trailing backslash
    std::wstring toolSource;  // ends with a backslash
    std::wstring resourceSource;
    std::wstring catalogs;
    std::wstring plcDatabases;
    std::wstring manufacturerDatabases;  // no trailing backslash
};

void CopyTools(const Folders& folders, const std::wstring& language)
{
    for (const wchar_t* tool : kTools)
        CopyReplacing(folders.toolSource + tool, folders.work + L"\\" + tool, false);
    for (const wchar_t* resource : kLanguageResources)
        CopyReplacing(folders.resourceSource + language + L"\\" + resource, folders.work + L"\\" + language + L"\\" + resource, false);
    for (const wchar_t* runtime : kRuntime)
        CopyReplacing(folders.toolSource + runtime, folders.work + L"\\" + runtime, false);
}

void RunRedistributable(const InstallContext& context)
{
    std::wstring path = context.sourceRoot + kRedistributable;
    if (!FileExists(path))
        path = WithBackslash(context.deploymentFolder) + kRedistributable;
    if (FileExists(path))
        RunProcess(Quoted(path), L" /install /quiet /norestart", SW_HIDE);
}

void MergeManufacturer(const InstallContext& context, const Folders& folders, const std::wstring& manufacturer)
{
    std::wstring source = folders.manufacturerDatabases;
    if (UsesFrenchDatabases(context.localeId, manufacturer))
        source += L"\\FrMDBs";
    std::array<std::wstring, 3> copies;
    for (size_t i = 0; i < kSourceDatabases.size(); ++i) {
        copies[i] = SourceDatabaseName(kSourceDatabases[i], folders.work, manufacturer);
        CopyReplacing(SourceDatabaseName(kSourceDatabases[i], source, manufacturer), copies[i], true);
    }
    RunProcess(Quoted(folders.work + L"\\Cdb.exe"), MergeArguments(context.languageName, manufacturer, folders.work), SW_HIDE);
    for (const std::wstring& copy : copies)
        DeleteFileW(copy.c_str());
}

void CleanUp(const Folders& folders, const std::wstring& language)
{
    for (const wchar_t* tool : kTools)
        DeleteFileW((folders.work + L"\\" + tool).c_str());
    for (const wchar_t* resource : kLanguageResources)
        DeleteFileW((folders.work + L"\\" + language + L"\\" + resource).c_str());
    for (const wchar_t* runtime : kRuntime)
        DeleteFileW((folders.work + L"\\" + runtime).c_str());
    RemoveDirectoryW((folders.work + L"\\" + language).c_str());
    RemoveDirectoryW(folders.work.c_str());
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

// Takes the first free name by creating it, so that two installations at once never share one.
std::wstring MakeWorkingFolder(const std::wstring& temporaryFolder)
{
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::wstring candidate = FreeWorkingFolder(temporaryFolder);
        if (CreateDirectoryW(candidate.c_str(), nullptr) || GetLastError() != ERROR_ALREADY_EXISTS)
            return candidate;
    }
    return FreeWorkingFolder(temporaryFolder);
}

}  // namespace

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
    wchar_t temporary[MAX_PATH + 1] = L"";
    GetTempPathW(MAX_PATH + 1, temporary);

    Folders folders;
    folders.work = MakeWorkingFolder(temporary);
    folders.toolSource = context.sourceRoot + context.platform + L"\\Wirax\\PF\\Root\\Wirax\\x86\\";
    folders.resourceSource = context.languageSource + L"WiraxLP\\PF\\Root\\Wirax\\x86\\";
    folders.catalogs = context.supportPath + L"WxData\\" + context.languageName + L"\\catalogs\\";
    folders.plcDatabases = context.supportPath + L"WxData\\" + context.languageName + L"\\Plc\\";
    folders.manufacturerDatabases = context.languageSource + L"WiraxContentLP\\PF\\Root\\Wirax\\MDBs";
    const std::wstring& language = context.languageName;

    CreateDirectoryW((folders.work + L"\\" + language).c_str(), nullptr);
    CopyTools(folders, language);
    const std::array<std::wstring, 3> homes = {folders.catalogs, folders.catalogs, folders.plcDatabases};
    for (size_t i = 0; i < kDatabases.size(); ++i)
        CopyReplacing(homes[i] + kDatabases[i], folders.work + L"\\" + kDatabases[i], true);

    context.progress.Phase();
    context.progress.Reset(context.SelectedCount());
    RunRedistributable(context);

    for (size_t row = 0; row < kManufacturerCount; ++row) {
        if (context.Cancelled())
            return kCancelled;
        if (context.selected[row] != 1)
            continue;
        MergeManufacturer(context, folders, kManufacturers[row].folderName);
        context.progress.Step();
    }
    for (const wchar_t* database : kDatabases)
        RunProcess(Quoted(folders.work + L"\\wrxCompactMDB.exe"), Quoted(folders.work + L"\\" + database), SW_HIDE);

    Pause();
    for (size_t i = 0; i < kDatabases.size(); ++i) {
        const std::wstring working = folders.work + L"\\" + kDatabases[i];
        // The shared databases are what every client reads: one that could not be put back is told.
        if (FileExists(working) && !CopyReplacing(working, homes[i] + kDatabases[i], false))
            context.copyFailures.Record(homes[i] + kDatabases[i]);
        DeleteFileW(working.c_str());
    }
    CleanUp(folders, language);
    return kDone;
}

}  // namespace wiraxui::actions
