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
using utiltest::ScratchFolder;
using utiltest::WaitFor;
using wiraxui::CSelectFolderDlg;

namespace {

constexpr int kUpOneLevel = 0xA001;  // the system dialog's toolbar command

std::wstring WindowText(HWND window)
{
    wchar_t text[2080] = L"";
    GetWindowTextW(window, text, 2080);
    return text;
}

std::wstring ShownFolder(HWND dialog)
{
    wchar_t folder[MAX_PATH] = L"";
    SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
    return folder;
}

std::wstring WithoutTrailingBackslash(std::wstring path)
{
    while (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    return path;
}

bool SameFolder(const std::wstring& a, const std::wstring& b)
{
    return _wcsicmp(WithoutTrailingBackslash(a).c_str(), WithoutTrailingBackslash(b).c_str()) == 0;
}

HWND FindChildOfClass(HWND parent, const wchar_t* className)
{
    struct Search {
        const wchar_t* className;
        HWND found;
    } search{className, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t name[64] = L"";
            GetClassNameW(child, name, 64);
            if (_wcsicmp(name, s->className) != 0)
                return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Plays the user from a second thread while the test's thread runs the dialog's modal loop.
// Everything it sees is kept for the test thread to assert on after the dialog has closed.
class DialogUser {
public:
    using Script = std::function<void(DialogUser&, HWND)>;

    explicit DialogUser(Script script) : m_uiThread(GetCurrentThreadId())
    {
        m_thread = std::thread([this, script] { Run(script); });
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

    // User actions.
    HWND Edit(HWND dialog) const { return GetDlgItem(dialog, CSelectFolderDlg::kFolderEditId); }
    void Type(HWND dialog, const std::wstring& text) const
    {
        SendMessageW(Edit(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void Press(HWND dialog, int button) const { SendMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0); }
    bool Select(HWND dialog, int item) const
    {
        const HWND list = FindChildOfClass(dialog, L"SysListView32");
        if (!list)
            return false;
        LVITEMW state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        return SendMessageW(list, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state)) != FALSE;
    }
    bool EditShows(HWND dialog, const std::wstring& folder, int milliseconds = 5000) const
    {
        return WaitFor([&] { return SameFolder(WindowText(Edit(dialog)), folder); }, milliseconds);
    }

private:
    void Run(const Script& script)
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

    // The system dialog of the test thread, once the folder edit is in place.
    HWND FindDialog() const
    {
        HWND found = nullptr;
        EnumThreadWindows(
            m_uiThread,
            [](HWND window, LPARAM data) -> BOOL {
                if (!GetDlgItem(window, CSelectFolderDlg::kFolderEditId))
                    return TRUE;
                *reinterpret_cast<HWND*>(data) = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }

    DWORD m_uiThread;
    std::thread m_thread;
    std::atomic<bool> m_sawDialog{false};
    std::atomic<bool> m_leftOpen{false};
};

class FolderDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resources = LoadLibraryW((utiltest::BinFolder() + L"\\WiraxUIRes.dll").c_str());
        ASSERT_NE(resources, nullptr);
        scope = std::make_unique<wiraxui::CResourceInstanceScope>(resources);
        ASSERT_TRUE(CreateDirectoryW((start / L"Sub A").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW((start / L"Sub B").c_str(), nullptr));
    }
    void TearDown() override
    {
        scope.reset();
        if (resources)
            FreeLibrary(resources);
    }

    // Shows the dialog at the start folder with the flags the pages use.
    INT_PTR Show(DialogUser& user, CSelectFolderDlg& dialog)
    {
        const INT_PTR result = dialog.DoModal();
        user.Join();
        EXPECT_TRUE(user.SawDialog());
        EXPECT_FALSE(user.LeftOpen()) << "the dialog did not close when the user was done";
        return result;
    }

    ScratchFolder start{L"fdlg"};
    HMODULE resources = nullptr;
    std::unique_ptr<wiraxui::CResourceInstanceScope> scope;
};

}  // namespace

TEST_F(FolderDialogTest, FolderBoxReplacesTheFileControlsAndTextsComeFromTheResources)
{
    struct Seen {
        std::wstring title, ok, label, edit;
        bool fileControlsHidden = false, editUsable = false, editOverNameBox = false;
    } seen;
    DialogUser user([&](DialogUser& u, HWND dialog) {
        seen.title = WindowText(dialog);
        seen.ok = WindowText(GetDlgItem(dialog, IDOK));
        seen.label = WindowText(GetDlgItem(dialog, stc3));
        seen.edit = WindowText(u.Edit(dialog));
        seen.fileControlsHidden = true;
        for (int id : {stc2, cmb1, cmb13}) {
            const HWND control = GetDlgItem(dialog, id);
            seen.fileControlsHidden &= control && !IsWindowVisible(control) && !IsWindowEnabled(control);
        }
        const HWND edit = u.Edit(dialog);
        seen.editUsable = IsWindowVisible(edit) && IsWindowEnabled(edit) && (GetWindowLongW(edit, GWL_STYLE) & WS_TABSTOP);
        RECT box{}, folder{};
        GetWindowRect(GetDlgItem(dialog, cmb13), &box);
        GetWindowRect(edit, &folder);
        seen.editOverNameBox = folder.left == box.left && folder.top == box.top && folder.right == box.right;
        u.Press(dialog, IDCANCEL);
    });
    CSelectFolderDlg dialog(nullptr, start.Path().c_str(), OFN_HIDEREADONLY);
    EXPECT_EQ(Show(user, dialog), 0) << "cancelled";

    EXPECT_EQ(seen.title, wiraxui::LoadResString(IDS_SELECT_FOLDER_TITLE));
    EXPECT_EQ(seen.ok, wiraxui::LoadResString(IDS_SELECT_FOLDER_OK));
    EXPECT_EQ(seen.label, wiraxui::LoadResString(IDS_SELECT_FOLDER_LABEL));
    EXPECT_FALSE(seen.title.empty());
    EXPECT_EQ(seen.edit, start.Path());
    EXPECT_TRUE(seen.fileControlsHidden);
    EXPECT_TRUE(seen.editUsable);
    EXPECT_TRUE(seen.editOverNameBox);
}

TEST_F(FolderDialogTest, CallerTextsReplaceTheDefaultsAndMissingOnesKeepTheSystemText)
{
    std::wstring title, ok, label;
    DialogUser user([&](DialogUser& u, HWND dialog) {
        title = WindowText(dialog);
        ok = WindowText(GetDlgItem(dialog, IDOK));
        label = WindowText(GetDlgItem(dialog, stc3));
        u.Press(dialog, IDCANCEL);
    });
    CSelectFolderDlg dialog(nullptr, start.Path().c_str(), OFN_HIDEREADONLY);
    dialog.SetTexts(L"Symbol library folder", L"Use folder", nullptr);
    Show(user, dialog);
    EXPECT_EQ(title, L"Symbol library folder");
    EXPECT_EQ(ok, L"Use folder");
    EXPECT_FALSE(label.empty());
    EXPECT_NE(label, wiraxui::LoadResString(IDS_SELECT_FOLDER_LABEL));
}

TEST_F(FolderDialogTest, OkWithoutNavigatingReturnsTheTypedFolderEvenIfItDoesNotExist)
{
    const struct {
        const char* name;
        std::wstring typed;  // nothing typed when empty
        std::wstring chosen;
    } cases[] = {
        {"typed, missing", start / L"Not There\\Typed", start / L"Not There\\Typed"},
        {"typed with the file pattern", start / L"Sub A\\*..*", start / L"Sub A\\"},
        {"nothing typed", L"", start.Path()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DialogUser user([&](DialogUser& u, HWND dialog) {
            if (!c.typed.empty())
                u.Type(dialog, c.typed);
            u.Press(dialog, IDOK);
        });
        CSelectFolderDlg dialog(nullptr, start.Path().c_str(), OFN_HIDEREADONLY);
        EXPECT_NE(Show(user, dialog), 0);
        EXPECT_EQ(CSelectFolderDlg::ChosenFolder(), c.chosen) << Narrow(CSelectFolderDlg::ChosenFolder());
    }
}

TEST_F(FolderDialogTest, MissingTypedFolderBecomesItsParentOnTheNextSelectionChange)
{
    bool followedList = false, shortened = false;
    DialogUser user([&](DialogUser& u, HWND dialog) {
        // The first selection change in a folder shows that folder in the edit.
        followedList = u.Select(dialog, 0) && u.EditShows(dialog, start.Path());
        u.Type(dialog, start / L"Missing Folder");
        shortened = u.Select(dialog, 1) && u.EditShows(dialog, start.Path());
        u.Press(dialog, IDOK);
    });
    CSelectFolderDlg dialog(nullptr, start.Path().c_str(), OFN_HIDEREADONLY);
    EXPECT_NE(Show(user, dialog), 0);
    EXPECT_TRUE(followedList);
    EXPECT_TRUE(shortened);
    EXPECT_TRUE(SameFolder(CSelectFolderDlg::ChosenFolder(), start.Path()))
        << Narrow(CSelectFolderDlg::ChosenFolder());
}

TEST_F(FolderDialogTest, AfterNavigatingOkReturnsTheFolderShown)
{
    const std::wstring parent = start.Path().substr(0, start.Path().find_last_of(L'\\'));
    bool navigated = false;
    DialogUser user([&](DialogUser& u, HWND dialog) {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kUpOneLevel, 0), 0);
        navigated = WaitFor([&] { return SameFolder(ShownFolder(dialog), parent); }, 5000);
        u.Press(dialog, IDOK);
    });
    CSelectFolderDlg dialog(nullptr, start.Path().c_str(), OFN_HIDEREADONLY);
    EXPECT_NE(Show(user, dialog), 0);
    EXPECT_TRUE(navigated);
    const std::wstring chosen = CSelectFolderDlg::ChosenFolder();
    EXPECT_TRUE(SameFolder(chosen, parent)) << Narrow(chosen);
    EXPECT_EQ(chosen.find(L"*"), std::wstring::npos) << Narrow(chosen);
}
