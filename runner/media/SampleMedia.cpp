#include "SampleMedia.h"

#include "ZipBuilder.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace media {

namespace {

constexpr const wchar_t* kLibraries[] = {L"as2",      L"gb2",    L"Hyd_Iso125", L"iec2", L"iec4",  L"iec-60617", L"ieee",
                                         L"jic1",     L"jic125", L"jis2",       L"NFPA", L"panel", L"pid",       L"pneu_iso125"};
constexpr const wchar_t* kToolFiles[] = {L"wrxDbMergeCore.dll", L"wrxDbMigrate.dll", L"wrxPmOleDb.dll"};
constexpr const wchar_t* kRuntime[] = {
    L"api-ms-win-crt-conio-l1-1-0.dll",      L"api-ms-win-crt-convert-l1-1-0.dll",   L"api-ms-win-crt-environment-l1-1-0.dll",
    L"api-ms-win-crt-filesystem-l1-1-0.dll", L"api-ms-win-crt-heap-l1-1-0.dll",      L"api-ms-win-crt-locale-l1-1-0.dll",
    L"api-ms-win-crt-math-l1-1-0.dll",       L"api-ms-win-crt-multibyte-l1-1-0.dll", L"api-ms-win-crt-private-l1-1-0.dll",
    L"api-ms-win-crt-process-l1-1-0.dll",    L"api-ms-win-crt-runtime-l1-1-0.dll",   L"api-ms-win-crt-stdio-l1-1-0.dll",
    L"api-ms-win-crt-string-l1-1-0.dll",     L"api-ms-win-crt-time-l1-1-0.dll",      L"api-ms-win-crt-utility-l1-1-0.dll",
    L"ucrtbase.dll"};

bool MakeFolders(const std::wstring& folder)
{
    if (folder.empty() || GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    const size_t slash = folder.find_last_of(L'\\');
    if (slash != std::wstring::npos && slash > 2 && !MakeFolders(folder.substr(0, slash)))
        return false;
    return CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

class Builder {
public:
    Builder(const std::wstring& root, const SampleMediaOptions& options) : m_root(root), m_options(options)
    {
        if (m_root.empty() || m_root.back() != L'\\')
            m_root += L'\\';
        if (m_options.toolFolder.empty())
            m_options.toolFolder = ProgramFolder();
    }

    SampleMediaResult Run()
    {
        const std::wstring content = m_root + m_options.platform + L"\\WiraxContent\\PF\\Root\\Wirax\\";
        uint32_t seed = 1 + m_options.edition * 1000;
        for (const wchar_t* library : kLibraries) {
            ZipArchive(content + L"LibZips\\" + library + L".zip", Utf8(library), seed++, m_options.filesPerLibrary);
        }
        const int panels = std::max(1, m_options.filesPerManufacturer);
        for (const auto& [base, folder] : m_options.manufacturers) {
            ZipArchive(content + L"Manufacturer\\" + base + L".zip", "panel", seed++, panels);
            ZipArchive(content + L"Manufacturer\\" + base + L"_mm.zip", "panel_mm", seed++, std::max(1, panels - 1));
        }
        for (const std::wstring& language : m_options.languages)
            Language(language);
        Tools();
        m_result.ok = m_result.error.empty();
        return m_result;
    }

private:
    void Fail(const std::wstring& what)
    {
        if (m_result.error.empty())
            m_result.error = what;
    }

    void File(const std::wstring& path, const std::string& data)
    {
        if (!WriteMediaFile(path, data))
            Fail(L"cannot write " + path);
        ++m_result.files;
    }

    void Copy(const std::wstring& from, const std::wstring& to)
    {
        MakeFolders(to.substr(0, to.find_last_of(L'\\')));
        if (!CopyFileW(from.c_str(), to.c_str(), FALSE))
            Fail(L"cannot copy " + from);
        ++m_result.files;
    }

    // An archive of the library kind: a top folder with symbol files in two sub-folders, names
    // with "/" separators and folder entries, some data stored and some deflated.
    void ZipArchive(const std::wstring& path, const std::string& top, uint32_t seed, int files)
    {
        MakeFolders(path.substr(0, path.find_last_of(L'\\')));
        ZipBuilder zip(path);
        zip.AddFolder(top + "/");
        zip.AddFolder(top + "/symbols/");
        zip.AddFolder(top + "/empty/");
        for (int i = 0; i < files; ++i) {
            ZipEntryOptions options;
            options.level = i % 3 == 0 ? 0 : 6;
            const std::string name = top + (i % 2 ? "/symbols/" : "/") + "item" + std::to_string(i) + ".dwg";
            const size_t size = m_options.libraryFileBytes ? m_options.libraryFileBytes : 2000 + static_cast<size_t>(i) * 700;
            if (!zip.Add(name, SampleBytes(seed * 100 + static_cast<uint32_t>(i), size, 60), options))
                Fail(L"cannot add to " + path);
        }
        if (!zip.Close())
            Fail(L"cannot write " + path);
        ++m_result.archives;
    }

    void UserDataTree(const std::wstring& userData)
    {
        for (int i = 0; i < m_options.userDataFiles; ++i) {
            wchar_t name[64] = L"";
            swprintf(name, 64, L"Blocks\\group%03d\\block%05d.dwg", i / 25, i);
            const uint32_t seed = 500000 + m_options.edition * 100000 + static_cast<uint32_t>(i);
            File(userData + name, SampleBytes(seed, m_options.userDataFileBytes, 50));
        }
    }

    void Language(const std::wstring& language)
    {
        const std::string tag = Utf8(m_options.edition ? language + L" (edition " + std::to_wstring(m_options.edition) + L")" : language);
        const std::wstring source = m_root + m_options.platform + L"\\" + language + L"\\Wirax\\";
        const std::wstring userData = source + L"WiraxPS\\PF\\Root\\Wirax\\UDC\\";
        File(userData + L"wd.env", "WD_LANGUAGE=" + tag + "\r\n");
        File(userData + L"Templates\\a3.dwt", "template a3 " + tag + "\r\n");
        File(userData + L"Templates\\a4.dwt", "template a4 " + tag + "\r\n");
        File(userData + L"Settings\\Project\\default.wdp", "project " + tag + "\r\n");
        UserDataTree(userData);

        const std::wstring plc = source + L"WiraxPS\\Wirax\\PF\\TRVN\\Root\\UDC\\" + language + L"\\Plc\\";
        File(plc + L"Enu\\wrx_plc.mdb", "plc database (enu)\r\n");
        File(plc + L"Enu\\modules\\io.txt", "io modules (enu)\r\n");
        File(plc + L"Loc\\wrx_plc.mdb", "plc database (" + tag + ")\r\n");
        File(plc + L"Loc\\modules\\io.txt", "io modules (" + tag + ")\r\n");
        File(plc + L"Enu\\modules\\analog.txt", "analog modules (enu)\r\n");
        File(plc + L"Loc\\modules\\analog.txt", "analog modules (" + tag + ")\r\n");

        const std::wstring contentRoot = source + L"WiraxContentLP\\PF\\Root\\Wirax\\";
        File(contentRoot + L"UDC\\" + language + L"\\catalogs\\default_cat.mdb", "catalog " + tag + "\r\n");
        File(contentRoot + L"UDC\\" + language + L"\\catalogs\\footprint_lookup.mdb", "footprints " + tag + "\r\n");
        File(contentRoot + L"UDC\\" + language + L"\\Panel\\footprints.txt", "panel footprints " + tag + "\r\n");
        for (const auto& manufacturer : m_options.manufacturers) {
            const std::wstring& folder = manufacturer.second;
            const std::string name = Utf8(folder);
            for (const wchar_t* kind : {L"_wrx_plc_src.mdb", L"_default_cat_src.mdb", L"_footprint_lookup_src.mdb"}) {
                File(contentRoot + L"MDBs\\" + folder + kind, name + Utf8(kind) + " data");
                File(contentRoot + L"MDBs\\FrMDBs\\" + folder + kind, name + Utf8(kind) + " donnees");
            }
        }
        const std::wstring resources = source + L"WiraxLP\\PF\\Root\\Wirax\\x86\\" + language + L"\\";
        File(resources + L"wrxdbmergeres.dll", "merge texts " + tag);
        File(resources + L"wrxDbMigrateRes.dll", "migrate texts " + tag);
    }

    void Tools()
    {
        const std::wstring tools = m_root + m_options.platform + L"\\Wirax\\PF\\Root\\Wirax\\x86\\";
        Copy(m_options.toolFolder + L"\\Cdb.exe", tools + L"Cdb.exe");
        Copy(m_options.toolFolder + L"\\wrxCompactMDB.exe", tools + L"wrxCompactMDB.exe");
        for (const wchar_t* file : kToolFiles)
            File(tools + file, "merge library");
        // The runtime libraries are the system's own: a tool finds them beside itself first, so
        // they must be real.
        wchar_t system[MAX_PATH] = L"";
        GetSystemDirectoryW(system, MAX_PATH);
        for (const wchar_t* file : kRuntime) {
            const std::wstring installed = std::wstring(system) + L"\\" + file;
            if (GetFileAttributesW(installed.c_str()) != INVALID_FILE_ATTRIBUTES)
                Copy(installed, tools + file);
        }
        Copy(m_options.toolFolder + L"\\vcredist_x86.exe", m_root + L"3rdParty\\x86\\VCRedist\\2015\\vcredist_x86.exe");
    }

    std::wstring m_root;
    SampleMediaOptions m_options;
    SampleMediaResult m_result;
};

}  // namespace

bool WriteMediaFile(const std::wstring& path, const std::string& data)
{
    MakeFolders(path.substr(0, path.find_last_of(L'\\')));
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == data.size();
}

SampleMediaResult GenerateSampleMedia(const std::wstring& root, const SampleMediaOptions& options)
{
    return Builder(root, options).Run();
}

}  // namespace media
