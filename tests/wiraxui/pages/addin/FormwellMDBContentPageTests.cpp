// The add-in catalog database page, created through its export and worked through its controls.
#include "AddInPageSupport.h"
#include "PageLayoutChecks.h"

#include "ElectricalProducts.h"
#include "FileTree.h"

#include <WiraxUIRes.h>
#include <msi.h>
#include <shellapi.h>

namespace pagetest {
namespace {

using testsupport::Narrow;

class MDBPageTest : public AddInPageTest {
protected:
    std::wstring DocumentsDatabase() const
    {
        return SpecialFolder(CSIDL_PERSONAL) + L"Wirax 2027\\WxData\\English\\Catalogs\\default_cat.mdb";
    }
    // A file of the test's own, with its folders.
    std::wstring PutFile(const std::wstring& relative) const
    {
        const std::wstring path = m_root + relative;
        SHCreateDirectoryExW(nullptr, path.substr(0, path.find_last_of(L'\\')).c_str(), nullptr);
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        return path;
    }
    void TearDown() override
    {
        AddInPageTest::TearDown();
        hostkit::RemoveTree(m_root.substr(0, m_root.size() - 1));
    }

    std::wstring m_root = SpecialFolder(CSIDL_COMMON_APPDATA) + L"MDBPageTest" + std::to_wstring(GetCurrentProcessId()) + L"\\";
};

TEST_F(MDBPageTest, NothingInstalledGivesTheProductsDataFolderAndMarksNothing)
{
    Seed(L"WRXCONTENTLOCATION", L"Q:\\gone\\default_cat.mdb");
    ASSERT_NE(Open("FormwellMDBContentPage"), nullptr);
    EXPECT_EQ(Get(L"WRXCONTENTLOCATION"), DocumentsDatabase());
    EXPECT_EQ(ControlText(Window(), IDC_FORMWELL_MDB_PATH), DocumentsDatabase());
    EXPECT_EQ(Writes(L"CUSTOMMDBPATH"), 0u);
    ASSERT_TRUE(page->Commit());
    EXPECT_EQ(Get(L"WRXCONTENTLOCATION"), DocumentsDatabase());
}

TEST_F(MDBPageTest, AnEarlierCustomChoiceIsKeptAndStaysMarked)
{
    Seed(L"CUSTOMMDBPATH", L"1");
    Seed(L"WRXCONTENTLOCATION", L"Q:\\mine\\catalog.mdb");
    ASSERT_NE(Open("FormwellMDBContentPage"), nullptr);
    EXPECT_EQ(ControlText(Window(), IDC_FORMWELL_MDB_PATH), L"Q:\\mine\\catalog.mdb");
    EXPECT_EQ(Get(L"WRXCONTENTLOCATION"), L"Q:\\mine\\catalog.mdb");
    EXPECT_EQ(Get(L"CUSTOMMDBPATH"), L"1");
}

TEST_F(MDBPageTest, AnExistingFileStays)
{
    const std::wstring mine = PutFile(L"mine\\catalog.mdb");
    Seed(L"WRXCONTENTLOCATION", mine);
    ASSERT_NE(Open("FormwellMDBContentPage"), nullptr);
    EXPECT_EQ(Get(L"WRXCONTENTLOCATION"), mine);
}

TEST_F(MDBPageTest, TypingMarksTheChoiceAtEveryChangeAndCommitWritesItUnquoted)
{
    ASSERT_NE(Open("FormwellMDBContentPage"), nullptr);
    TypeInto(Window(), IDC_FORMWELL_MDB_PATH, L"\"D:\\Data\\my cat.mdb\"");
    EXPECT_EQ(Get(L"CUSTOMMDBPATH"), L"1");
    TypeInto(Window(), IDC_FORMWELL_MDB_PATH, L"D:\\Data\\other.mdb");
    EXPECT_EQ(Writes(L"CUSTOMMDBPATH"), 2u);
    TypeInto(Window(), IDC_FORMWELL_MDB_PATH, L"\"D:\\Data\\my cat.mdb\"");
    ASSERT_TRUE(page->Commit());
    EXPECT_EQ(Get(L"WRXCONTENTLOCATION"), L"D:\\Data\\my cat.mdb");
}

TEST_F(MDBPageTest, ALocationNoticeInAnyCaseReloadsTheFieldAndClearsTheMark)
{
    ASSERT_NE(Open("FormwellMDBContentPage"), nullptr);
    TypeInto(Window(), IDC_FORMWELL_MDB_PATH, L"D:\\typed.mdb");
    ASSERT_EQ(Get(L"CUSTOMMDBPATH"), L"1");

    addIn->SeedProperty(L"WRXCONTENTLOCATION", L"E:\\host\\default_cat.mdb");
    page->OnPropertyChanged(L"SOMETHINGELSE");
    EXPECT_EQ(ControlText(Window(), IDC_FORMWELL_MDB_PATH), L"D:\\typed.mdb");
    page->OnPropertyChanged(L"wrxcontentlocation");
    EXPECT_EQ(ControlText(Window(), IDC_FORMWELL_MDB_PATH), L"E:\\host\\default_cat.mdb");
    EXPECT_EQ(Get(L"CUSTOMMDBPATH"), L"");

    // The same value once more still clears a mark that typing set since.
    TypeInto(Window(), IDC_FORMWELL_MDB_PATH, L"E:\\host\\default_cat.mdb");
    ASSERT_EQ(Get(L"CUSTOMMDBPATH"), L"1");
    page->OnPropertyChanged(L"WRXContentLocation");
    EXPECT_EQ(Get(L"CUSTOMMDBPATH"), L"");

    // Typing afterwards is the user's again.
    TypeInto(Window(), IDC_FORMWELL_MDB_PATH, L"D:\\again.mdb");
    EXPECT_EQ(Get(L"CUSTOMMDBPATH"), L"1");
    ASSERT_TRUE(page->Commit());
    EXPECT_EQ(Get(L"WRXCONTENTLOCATION"), L"D:\\again.mdb");
}

TEST_F(MDBPageTest, BrowseWritesTheChosenDatabaseAtOnce)
{
    ASSERT_NE(Open("FormwellMDBContentPage"), nullptr);
    const std::wstring chosen = PutFile(L"picked\\parts.mdb");
    std::vector<std::wstring> filters;
    ModalUser user(L"Select the Catalog Database", [&](HWND dialog) {
        HWND types = GetDlgItem(dialog, 1136);  // the file type list
        const int count = static_cast<int>(SendMessageW(types, CB_GETCOUNT, 0, 0));
        for (int index = 0; index < count; ++index) {
            wchar_t text[128] = L"";
            SendMessageW(types, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
            filters.push_back(text);
        }
        filters.push_back(L"selected " + std::to_wstring(SendMessageW(types, CB_GETCURSEL, 0, 0)));
        HWND name = GetDlgItem(dialog, 1148);  // the file name box
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chosen.c_str()));
        SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    SendDlgItemMessageW(Window(), IDC_FORMWELL_BROWSE, BM_CLICK, 0, 0);
    user.Join();
    ASSERT_TRUE(user.SawDialog());
    EXPECT_EQ(filters, (std::vector<std::wstring>{L"Database Files (*.mdb)", L"All Files (*.*)", L"selected 0"}));
    EXPECT_EQ(_wcsicmp(Get(L"WRXCONTENTLOCATION").c_str(), chosen.c_str()), 0) << Narrow(Get(L"WRXCONTENTLOCATION"));
    EXPECT_EQ(_wcsicmp(ControlText(Window(), IDC_FORMWELL_MDB_PATH).c_str(), chosen.c_str()), 0);
    EXPECT_EQ(Get(L"CUSTOMMDBPATH"), L"1");
}

TEST_F(MDBPageTest, ACancelledBrowseChangesNothing)
{
    Seed(L"CUSTOMMDBPATH", L"1");
    Seed(L"WRXCONTENTLOCATION", L"Q:\\mine\\catalog.mdb");
    ASSERT_NE(Open("FormwellMDBContentPage"), nullptr);
    const size_t events = host.setup.Journal().Events().size();
    ModalUser user(L"Select the Catalog Database",
                   [](HWND dialog) { SendMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0); });
    SendDlgItemMessageW(Window(), IDC_FORMWELL_BROWSE, BM_CLICK, 0, 0);
    user.Join();
    ASSERT_TRUE(user.SawDialog());
    EXPECT_EQ(host.setup.Journal().Events().size(), events);
    EXPECT_EQ(ControlText(Window(), IDC_FORMWELL_MDB_PATH), L"Q:\\mine\\catalog.mdb");
}

// With the installed electrical product and its language pack (real packages).
TEST_F(MDBPageTest, InstalledSharedProductLeadsToItsSharedFolderThenToTheLanguagePacksFolder)
{
    testsupport::ElectricalProductsSpec spec;
    spec.language = L"Deutsch";
    spec.sharedSupportPath = m_root + L"shared\\";
    spec.userDataFolder = m_root + L"personal\\";
    spec.withSuite = false;
    testsupport::InstalledElectricalProducts products(spec);
    ASSERT_TRUE(products.Installed()) << Narrow(products.Failure());
    Seed(L"ELECTRICALPRODUCTCODE", products.productCode);
    Seed(L"ELECTRICALLPPRODUCTCODE", products.languagePackCode);
    const std::wstring shared = PutFile(L"shared\\WxData\\Deutsch\\Catalogs\\default_cat.mdb");
    const std::wstring personal = PutFile(L"personal\\WxData\\Deutsch\\Catalogs\\default_cat.mdb");

    ASSERT_NE(Open("FormwellMDBContentPage"), nullptr);
    EXPECT_EQ(Get(L"WRXCONTENTLOCATION"), shared);
    page->Destroy();
    page = nullptr;

    DeleteFileW(shared.c_str());
    Seed(L"WRXCONTENTLOCATION", L"");
    ASSERT_NE(Open("FormwellMDBContentPage"), nullptr);
    EXPECT_EQ(Get(L"WRXCONTENTLOCATION"), personal);
    page->Destroy();
    page = nullptr;

    // Neither file: the product's data folder under the documents, in the page product's language.
    DeleteFileW(personal.c_str());
    Seed(L"WRXCONTENTLOCATION", L"");
    const INSTALLUILEVEL before = MsiSetInternalUI(INSTALLUILEVEL_BASIC, nullptr);
    ASSERT_NE(Open("FormwellMDBContentPage"), nullptr);
    EXPECT_EQ(Get(L"WRXCONTENTLOCATION"), DocumentsDatabase());
    // The installer's user interface level is the host's again.
    EXPECT_EQ(MsiSetInternalUI(before, nullptr), INSTALLUILEVEL_BASIC);
}

TEST_F(MDBPageTest, NothingOverlapsNoTextIsCutAndTabReachesEveryControl)
{
    ASSERT_NE(Open("FormwellMDBContentPage"), nullptr);
    // The checks look at what the user sees: the host shows its panel with the page.
    ShowWindow(panel.Handle(), SW_SHOW);
    ShowWindow(Window(), SW_SHOW);
    EXPECT_TRUE(LayoutProblems(Window()).empty()) << JoinProblems(LayoutProblems(Window()));
    EXPECT_TRUE(TabOrderProblems(Window()).empty()) << JoinProblems(TabOrderProblems(Window()));
}

}  // namespace
}  // namespace pagetest
