// The catalog browser add-in in hostrun: its two initialisation exports, its two pages and the
// SQL Server page, the installation fields they read, and Windows Installer products put on the
// machine for the length of a scenario (the directives' syntax: engine/ScenarioLanguage.cpp).
#include "engine/WiraxPlayer.h"

#include "pages/PageSteps.h"

#include "PackageDirectives.h"

#include <shlwapi.h>

#include <vector>

namespace runner {

namespace {

using hostkit::ExpectWords;
using hostkit::ScenarioLine;

std::wstring CallCatalogExport(WiraxSession& session, FARPROC function, const ScenarioLine& line)
{
    ExpectWords(line, 1, 1, L"call EXPORT");
    auto call = reinterpret_cast<int (*)(uintptr_t*)>(reinterpret_cast<void*>(function));
    return std::to_wstring(call(session.record.data()));
}

void InstallPackage(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    std::shared_ptr<testsupport::InstalledMsiProduct> installed = testsupport::ArrangeInstalledPackage(line);
    const testsupport::MsiProductInfo& product = installed->Product();
    // Removed again with the session's other arrangements, once the scenario has played.
    session.arranged.push_back(installed);
    report.Line(testsupport::DescribeArrangedPackage(product, false));
    for (const auto& [name, value] : product.properties)
        report.Line(L"  " + name + L" = " + Quoted(value));
}

// An empty file and the folders that had to be made for it; all of them go when it goes.
class ArrangedFile {
public:
    explicit ArrangedFile(const std::wstring& path) : m_path(path)
    {
        for (std::wstring folder = Parent(path); !folder.empty() && !PathFileExistsW(folder.c_str()); folder = Parent(folder))
            m_createdFolders.push_back(folder);
        for (auto folder = m_createdFolders.rbegin(); folder != m_createdFolders.rend(); ++folder)
            CreateDirectoryW(folder->c_str(), nullptr);
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        m_created = file != INVALID_HANDLE_VALUE;
        if (m_created)
            CloseHandle(file);
    }
    ~ArrangedFile()
    {
        if (m_created)
            DeleteFileW(m_path.c_str());
        for (const std::wstring& folder : m_createdFolders)
            RemoveDirectoryW(folder.c_str());
    }
    ArrangedFile(const ArrangedFile&) = delete;
    ArrangedFile& operator=(const ArrangedFile&) = delete;
    bool Created() const { return m_created; }

private:
    static std::wstring Parent(const std::wstring& path)
    {
        const size_t slash = path.find_last_of(L'\\');
        // A drive root ("C:\") or a share is not made here.
        return slash == std::wstring::npos || slash <= 2 ? std::wstring() : path.substr(0, slash);
    }
    std::wstring m_path;
    std::vector<std::wstring> m_createdFolders;  // deepest first
    bool m_created = false;
};

void ArrangeFile(WiraxSession& session, const ScenarioLine& line, Report& report)
{
    ExpectWords(line, 1, 1, L"existing-file PATH");
    auto file = std::make_shared<ArrangedFile>(line.words[1]);
    if (!file->Created())
        throw hostkit::ScenarioError(line.number, L"could not create the file " + line.words[1] + L" (error " +
                                                      std::to_wstring(GetLastError()) + L"; does it exist already?)");
    session.arranged.push_back(file);
    report.Line(L"file " + Quoted(line.words[1]));
}

const bool kRegistered = [] {
    WiraxDirectives()[L"existing-file"] = ArrangeFile;
    WiraxExports()[L"InitElectCatBrowser"] = CallCatalogExport;
    WiraxExports()[L"FinalizeElectCatBrowser"] = CallCatalogExport;
    WiraxExports()[L"FormwellLibPathPage"] = PlayConfigurationPage;
    WiraxExports()[L"FormwellMDBContentPage"] = PlayConfigurationPage;
    WiraxExports()[L"SQLServerConfigPage"] = PlayConfigurationPage;
    WiraxDirectives()[L"installed-package"] = InstallPackage;
    return true;
}();

}  // namespace
}  // namespace runner
