#include "HostFixture.h"
#include "UtilTestSupport.h"

#include <WiraxUIRes.h>
#include <host/ResourceLibrary.h>
#include <util/SelectFolderDlg.h>

#include <commctrl.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <atomic>
#include <memory>

using testsupport::Narrow;
using utiltest::WaitFor;
using wiraxui::CSelectFolderDlg;
using wiraxui::LoadResString;

namespace {

std::wstring Text(HWND window)
{
    wchar_t text[2080] = L"";
    GetWindowTextW(window, text, 2080);
    return text;
}

bool SameFolder(std::wstring a, std::wstring b)
{
    for (std::wstring* path : {&a, &b})
        while (path->size() > 3 && path->back() == L'\\')
            path->pop_back();
    return _wcsicmp(a.c_str(), b.c_str()) == 0;
}

// Plays the user from a second thread while the test's thread runs the dialog's modal loop.
// What the script sees is kept for assertions on the test thread after the dialog has closed.
class DialogUser {
public:
    explicit DialogUser(std::function<void(DialogUser&, HWND)> script)
        : m_uiThread(GetCurrentThreadId()), m_thread([this, script] { Run(script); })
    {
    }
    ~DialogUser() { Join(); }
    DialogUser(const DialogUser&) = delete;
    DialogUser& operator=(const DialogUser&) = delete;

    void Join()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    bool SawDialog() const { return m_sawDialog; }
    bool LeftOpen() const { return m_leftOpen; }

    static HWND Edit(HWND dialog) { return GetDlgItem(dialog, CSelectFolderDlg::kFolderEditId); }
    static void Type(HWND dialog, const std::wstring& text)
    {
        SendMessageW(Edit(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    static void Press(HWND dialog, int button) { SendMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0); }
    static std::wstring ShownFolder(HWND dialog)
    {
        wchar_t folder[MAX_PATH] = L"";
        SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
        return folder;
    }
    // Selects one item of the shell view's list, which is what raises a selection change.
    static bool Select(HWND dialog, int item)
    {
        const HWND list = FindWindowExW(FindWindowExW(dialog, nullptr, L"SHELLDLL_DefView", nullptr), nullptr,
                                        L"SysListView32", nullptr);
        LVITEMW state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        return list && SendMessageW(list, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
    }
    static bool EditShows(HWND dialog, const std::wstring& folder)
    {
        return WaitFor([&] { return SameFolder(Text(Edit(dialog)), folder); }, 5000);
    }

private:
    void Run(const std::function<void(DialogUser&, HWND)>& script)
    {
        HWND dialog = nullptr;
        if (!WaitFor([&] { return (dialog = FindDialog()) != nullptr; }))
            return;
        m_sawDialog = true;
        script(*this, dialog);
        // A script that stopped half-way must not leave the test thread in the modal loop.
        if (!WaitFor([&] { return !IsWindow(dialog); }, 5000)) {
            m_leftOpen = true;
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    }

    // The test thread's dialog, once the folder edit is in place.
    HWND FindDialog() const
    {
        HWND found = nullptr;
        EnumThreadWindows(
            m_uiThread,
            [](HWND window, LPARAM result) -> BOOL {
                if (!Edit(window))
                    return TRUE;
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }

    DWORD m_uiThread;
    std::atomic<bool> m_sawDialog{false};
    std::atomic<bool> m_leftOpen{false};
    std::thread m_thread;
};

// The dialog opens in a scratch folder with two subfolders, with WiraxUIRes.dll as the module's
// resources, as inside a page export.
class FolderDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(resources, nullptr);
        ASSERT_TRUE(CreateDirectoryW((start / L"Sub A").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW((start / L"Sub B").c_str(), nullptr));
    }
    void TearDown() override
    {
        scope.reset();
        FreeLibrary(resources);
    }

    INT_PTR Show(DialogUser& user, CSelectFolderDlg& dialog)
    {
        const INT_PTR result = dialog.DoModal();
        user.Join();
        EXPECT_TRUE(user.SawDialog());
        EXPECT_FALSE(user.LeftOpen()) << "the dialog stayed open";
        return result;
    }

    hostkit::ScratchFolder start{L"fdlg"};
    HMODULE resources = LoadLibraryW((utiltest::BinFolder() + L"\\WiraxUIRes.dll").c_str());
    std::unique_ptr<wiraxui::CResourceInstanceScope> scope = std::make_unique<wiraxui::CResourceInstanceScope>(resources);
};

}  // namespace

TEST_F(FolderDialogTest, FolderEditReplacesTheFileControlsAndTextsComeFromTheResources)
{
    std::wstring title, ok, label, edit;
    bool fileControlsHidden = true, editInPlace = false;
    DialogUser user([&](DialogUser& u, HWND dialog) {
        title = Text(dialog);
        ok = Text(GetDlgItem(dialog, IDOK));
        label = Text(GetDlgItem(dialog, stc3));
        edit = Text(u.Edit(dialog));
        for (int id : {stc2, cmb1, cmb13})
            fileControlsHidden &= !IsWindowVisible(GetDlgItem(dialog, id)) && !IsWindowEnabled(GetDlgItem(dialog, id));
        RECT box{}, folder{};
        GetWindowRect(GetDlgItem(dialog, cmb13), &box);
        GetWindowRect(u.Edit(dialog), &folder);
        editInPlace = IsWindowVisible(u.Edit(dialog)) && folder.left == box.left && folder.top == box.top;
        u.Press(dialog, IDCANCEL);
    });
    CSelectFolderDlg dialog(nullptr, start.Path().c_str(), OFN_HIDEREADONLY);
    EXPECT_EQ(Show(user, dialog), 0) << "cancelled";
    EXPECT_EQ(title, LoadResString(IDS_SELECT_FOLDER_TITLE));
    EXPECT_EQ(ok, LoadResString(IDS_SELECT_FOLDER_OK));
    EXPECT_EQ(label, LoadResString(IDS_SELECT_FOLDER_LABEL));
    EXPECT_FALSE(label.empty());
    EXPECT_EQ(edit, start.Path());
    EXPECT_TRUE(fileControlsHidden);
    EXPECT_TRUE(editInPlace);
}

TEST_F(FolderDialogTest, CallerTextsReplaceTheDefaultsAndAMissingOneKeepsTheSystemText)
{
    std::wstring title, ok, label;
    DialogUser user([&](DialogUser& u, HWND dialog) {
        title = Text(dialog);
        ok = Text(GetDlgItem(dialog, IDOK));
        label = Text(GetDlgItem(dialog, stc3));
        u.Press(dialog, IDCANCEL);
    });
    CSelectFolderDlg dialog(nullptr, start.Path().c_str(), OFN_HIDEREADONLY);
    dialog.SetTexts(L"Symbol library folder", L"Use folder", nullptr);
    Show(user, dialog);
    EXPECT_EQ(title, L"Symbol library folder");
    EXPECT_EQ(ok, L"Use folder");
    EXPECT_FALSE(label.empty());
    EXPECT_NE(label, LoadResString(IDS_SELECT_FOLDER_LABEL));
}

TEST_F(FolderDialogTest, OkWithoutNavigatingReturnsTheTypedFolderEvenIfItDoesNotExist)
{
    const struct {
        std::wstring typed, chosen;  // nothing typed when empty; the start folder as given when empty
    } cases[] = {
        {start / L"Not There\\Typed", start / L"Not There\\Typed"},
        {start / L"Sub A\\*..*", start / L"Sub A\\"},
        {L"", L""},
    };
    // The pages open the dialog on folders that end in a backslash; the dialog shows them without.
    for (const std::wstring& startFolder : {start.Path(), start.Path() + L"\\"}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(Narrow(startFolder + L" | " + c.typed));
            DialogUser user([&](DialogUser& u, HWND dialog) {
                if (!c.typed.empty())
                    u.Type(dialog, c.typed);
                u.Press(dialog, IDOK);
            });
            CSelectFolderDlg dialog(nullptr, startFolder.c_str(), OFN_HIDEREADONLY);
            EXPECT_NE(Show(user, dialog), 0);
            EXPECT_EQ(CSelectFolderDlg::ChosenFolder(), c.chosen.empty() ? startFolder : c.chosen)
                << Narrow(CSelectFolderDlg::ChosenFolder());
        }
    }
}

TEST_F(FolderDialogTest, MissingTypedFolderBecomesItsParentOnTheNextSelectionChange)
{
    bool followedList = false, shortened = false;
    DialogUser user([&](DialogUser& u, HWND dialog) {
        followedList = u.Select(dialog, 0) && u.EditShows(dialog, start.Path());
        u.Type(dialog, start / L"Missing Folder");
        shortened = u.Select(dialog, 1) && u.EditShows(dialog, start.Path());
        u.Press(dialog, IDOK);
    });
    CSelectFolderDlg dialog(nullptr, start.Path().c_str(), OFN_HIDEREADONLY);
    EXPECT_NE(Show(user, dialog), 0);
    EXPECT_TRUE(followedList);
    EXPECT_TRUE(shortened);
    EXPECT_TRUE(SameFolder(CSelectFolderDlg::ChosenFolder(), start.Path())) << Narrow(CSelectFolderDlg::ChosenFolder());
}

TEST_F(FolderDialogTest, AfterNavigatingOkReturnsTheFolderShown)
{
    constexpr int kUpOneLevel = 0xA001;  // the system dialog's toolbar command
    const std::wstring parent = start.Path().substr(0, start.Path().find_last_of(L'\\'));
    bool navigated = false;
    DialogUser user([&](DialogUser& u, HWND dialog) {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kUpOneLevel, 0), 0);
        navigated = WaitFor([&] { return SameFolder(u.ShownFolder(dialog), parent); }, 5000);
        u.Press(dialog, IDOK);
    });
    CSelectFolderDlg dialog(nullptr, start.Path().c_str(), OFN_HIDEREADONLY);
    EXPECT_NE(Show(user, dialog), 0);
    EXPECT_TRUE(navigated);
    EXPECT_TRUE(SameFolder(CSelectFolderDlg::ChosenFolder(), parent)) << Narrow(CSelectFolderDlg::ChosenFolder());
}
