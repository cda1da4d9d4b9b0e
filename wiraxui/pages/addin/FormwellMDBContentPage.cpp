#include "pages/addin/FormwellMDBContentPage.h"

#include "host/Properties.h"
#include "init/CatalogLocation.h"
#include "init/InstalledProducts.h"
#include "pages/framework/PageExports.h"

#include <SetupHost.h>
#include <commdlg.h>
#include <shlobj.h>

extern "C" IConfigPage* FormwellMDBContentPage(wiraxui::HostRecord* record)
{
    return wiraxui::GuardedExport<IConfigPage*>(L"FormwellMDBContentPage", nullptr, [&] { return wiraxui::CreateConfigPage<wiraxui::CFormwellMDBContentPage>(record, L"WiraxUiRes.dll"); });
}

namespace wiraxui {

namespace {

const wchar_t kDatabaseFilter[] = L"Database Files (*.mdb)\0*.mdb\0All Files (*.*)\0*.*\0";

std::wstring UserDocuments()
{
    wchar_t path[MAX_PATH + 1] = L"";
    if (!SHGetSpecialFolderPathW(nullptr, path, CSIDL_PERSONAL, FALSE))
        return std::wstring();
    return WithBackslash(path);
}

}  // namespace

std::wstring CFormwellMDBContentPage::StartingDatabase() const
{
    const std::wstring location = ReadProperty(m_product, L"WRXCONTENTLOCATION");
    if (KeepsCustomLocation(ReadProperty(m_product, L"CUSTOMMDBPATH"), location))
        return location;
    PageSearchFacts facts;
    facts.currentLocation = location;
    facts.documentsFolder = UserDocuments();
    facts.dataFolderName = ReadProperty(m_product, L"WIRAXDEFAULTFOLDER");
    facts.language = ReadProperty(m_product, L"LANG2LONG");
    CInstallerUiSilenced silenced;
    facts.installed = ReadInstalledCatalogFacts(ReadProperty(m_product, L"ELECTRICALPRODUCTCODE"),
                                                ReadProperty(m_product, L"ELECTRICALLPPRODUCTCODE"),
                                                PackageUserDataFolder);
    return ChoosePageCatalogDatabase(facts, FileExistsOnDisk);
}

void CFormwellMDBContentPage::OnPageInit()
{
    m_browseTitle = PageText(IDS_FORMWELL_BROWSE_TITLE);
    m_userEdit = true;
    const std::wstring database = StartingDatabase();
    WriteProperty(m_product, L"WRXCONTENTLOCATION", database);
    m_path = database;
    // What the page found at its start is not the user's choice, and showing it must not undo
    // a choice that the user made on an earlier visit either: it marks nothing.
    m_starting = true;
    ShowPath(database);
    m_starting = false;
}

void CFormwellMDBContentPage::PathEdited(const std::wstring& text)
{
    m_path = WithoutEnclosingQuotes(text);
    m_changeSeen = true;
    if (!m_starting)
        WriteProperty(m_product, L"CUSTOMMDBPATH", m_userEdit ? L"1" : L"");
}

void CFormwellMDBContentPage::ShowOwnValue(const std::wstring& value)
{
    m_userEdit = false;
    m_changeSeen = false;
    ShowPath(value);
    // An edit that already showed the same text may not report a change.
    if (!m_changeSeen)
        PathEdited(EditText());
    m_userEdit = true;
}

void CFormwellMDBContentPage::PropertyChanged(const std::wstring& name)
{
    if (CompareStringOrdinal(name.c_str(), -1, L"WRXCONTENTLOCATION", -1, TRUE) != CSTR_EQUAL)
        return;
    ShowOwnValue(ReadProperty(m_product, L"WRXCONTENTLOCATION"));
}

void CFormwellMDBContentPage::Browse()
{
    const std::wstring title = PageText(IDS_FORMWELL_MDB_BROWSE_TITLE);
    wchar_t file[MAX_PATH] = L"";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_hWnd;
    ofn.lpstrFilter = kDatabaseFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrTitle = title.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameW(&ofn))
        return;
    WriteProperty(m_product, L"WRXCONTENTLOCATION", file);
    ShowPath(file);
}

bool CFormwellMDBContentPage::CommitPage()
{
    WriteProperty(m_product, L"WRXCONTENTLOCATION", m_path);
    return true;
}

}  // namespace wiraxui
