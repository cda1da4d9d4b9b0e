#include "util/SelectFolderDlg.h"

#include "host/ResourceLibrary.h"
#include "util/FolderText.h"

#include <WiraxUIRes.h>

#include <dlgs.h>
#include <shlwapi.h>

#include <vector>

namespace wiraxui {

namespace {

constexpr wchar_t kFilePattern[] = L"*..*";
constexpr wchar_t kObjectProperty[] = L"WiraxUI.SelectFolderDlg";

// One folder dialog is open at a time; these outlive it so that the caller can read the result
// and the next dialog continues where the last one stopped.
struct SharedState {
    std::wstring chosen;
    std::wstring current;   // the folder as last shown in the edit
    std::wstring lastSeen;  // the folder the list showed at the last selection change
    WNDPROC previous = nullptr;
};

SharedState& Shared()
{
    static SharedState state;
    return state;
}

std::wstring ShownFolder(HWND dialog)
{
    wchar_t folder[MAX_PATH] = L"";
    if (SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder)) <= 0)
        return std::wstring();
    folder[MAX_PATH - 1] = L'\0';
    return folder;
}

// The dialog reports the folder it shows without a trailing backslash while the pages open it on
// folders that end in one; the file system counts both as the same folder.
bool SameFolder(const std::wstring& a, const std::wstring& b)
{
    std::wstring left = a, right = b;
    for (std::wstring* path : {&left, &right}) {
        path->push_back(L'\0');
        PathRemoveBackslashW(&(*path)[0]);
        path->resize(wcslen(path->c_str()));
    }
    return _wcsicmp(left.c_str(), right.c_str()) == 0;
}

// A typed folder that does not exist yet stands for its parent.
std::wstring ParentOf(std::wstring path)
{
    while (!path.empty() && path.back() == L'\\')
        path.pop_back();
    std::vector<wchar_t> buffer(path.begin(), path.end());
    buffer.push_back(L'\0');
    if (!PathRemoveFileSpecW(buffer.data()) || wcscmp(buffer.data(), path.c_str()) == 0)
        return std::wstring();
    return buffer.data();
}

}  // namespace

CSelectFolderDlg::CSelectFolderDlg(HWND owner, const wchar_t* initialFolder, DWORD flags)
    : CFileDialogImpl(owner, ResourceInstance(), kFilePattern, flags)
    , m_title(LoadResString(IDS_SELECT_FOLDER_TITLE))
    , m_okText(LoadResString(IDS_SELECT_FOLDER_OK))
    , m_labelText(LoadResString(IDS_SELECT_FOLDER_LABEL))
{
    SetInitialFolder(initialFolder ? initialFolder : L"");
}

void CSelectFolderDlg::SetTexts(const wchar_t* title, const wchar_t* okText, const wchar_t* labelText)
{
    if (!title)
        return;
    m_title = title;
    m_okText = okText ? okText : L"";
    m_labelText = labelText ? labelText : L"";
}

std::wstring CSelectFolderDlg::ChosenFolder() { return Shared().chosen; }

void CSelectFolderDlg::SetInitialFolder(const std::wstring& folder)
{
    m_initialFolder = folder;
    m_ofn.lpstrInitialDir = m_initialFolder.empty() ? nullptr : m_initialFolder.c_str();
}

void CSelectFolderDlg::OnInitDone(OFNOTIFYW*)
{
    const HWND dialog = FileDialogWindow();
    // Subclassing twice would make the dialog procedure its own previous procedure.
    if (!dialog || GetPropW(dialog, kObjectProperty))
        return;
    SetPropW(dialog, kObjectProperty, this);
    Shared().previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CSelectFolderDlg::DialogProc)));

    // An empty text would leave a blank button or label; the system's own text is better.
    if (!m_title.empty())
        SetWindowTextW(dialog, m_title.c_str());
    if (!m_okText.empty())
        SetDlgItemTextW(dialog, IDOK, m_okText.c_str());
    if (!m_labelText.empty())
        SetDlgItemTextW(dialog, stc3, m_labelText.c_str());

    for (int id : {stc2, cmb1, cmb13}) {
        const HWND control = GetDlgItem(dialog, id);
        ShowWindow(control, SW_HIDE);
        EnableWindow(control, FALSE);
    }
    CreateFolderEdit(dialog);
    Shared().current = CutBeforeFilePattern(m_initialFolder);
}

void CSelectFolderDlg::CreateFolderEdit(HWND dialog)
{
    const HWND fileNameBox = GetDlgItem(dialog, cmb13);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    m_edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", m_initialFolder.c_str(),
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 0, 0, dialog,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFolderEditId)), instance, nullptr);
    if (!m_edit)
        return;
    SendMessageW(m_edit, EM_SETLIMITTEXT, kEditChars - 1, 0);
    SendMessageW(m_edit, WM_SETFONT, SendMessageW(fileNameBox, WM_GETFONT, 0, 0), FALSE);
    // Right after the label in the z-order, so that the label's mnemonic and the tab order lead here.
    SetWindowPos(m_edit, GetDlgItem(dialog, stc3), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    PlaceFolderEdit(dialog);
}

void CSelectFolderDlg::PlaceFolderEdit(HWND dialog)
{
    const HWND fileNameBox = GetDlgItem(dialog, cmb13);
    if (!m_edit || !fileNameBox)
        return;
    RECT box{};
    GetWindowRect(fileNameBox, &box);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
    // The combo box is a little taller than an edit with the same font.
    const int height = box.bottom - box.top - 2;
    RECT now{};
    GetWindowRect(m_edit, &now);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&now), 2);
    if (now.left != box.left || now.top != box.top || now.right != box.right || now.bottom - now.top != height)
        MoveWindow(m_edit, box.left, box.top, box.right - box.left, height, TRUE);
}

void CSelectFolderDlg::ShowInEdit(const std::wstring& folder)
{
    if (m_edit)
        SetWindowTextW(m_edit, folder.c_str());
}

std::wstring CSelectFolderDlg::EditText() const
{
    wchar_t text[kEditChars] = L"";
    if (m_edit)
        GetWindowTextW(m_edit, text, kEditChars);
    return text;
}

void CSelectFolderDlg::OnSelChange(OFNOTIFYW*)
{
    const HWND dialog = FileDialogWindow();
    if (!dialog)
        return;
    SharedState& shared = Shared();
    const std::wstring shown = CutBeforeFilePattern(ShownFolder(dialog));
    if (!SameFolder(shown, shared.lastSeen)) {
        // The user navigated: the edit follows the list.
        shared.lastSeen = shown;
        m_displayedFolder = shown;
        ShowInEdit(shown);
    } else {
        // Still the same folder: the typed text counts, shortened to an existing parent.
        std::wstring chosen = EditText();
        if (!PathFileExistsW(chosen.c_str())) {
            chosen = ParentOf(chosen);
            if (chosen.empty())
                chosen = shown;
        }
        shared.chosen = chosen;
        SetInitialFolder(chosen);
        shared.lastSeen = chosen;
        m_displayedFolder = chosen;
        ShowInEdit(chosen);
    }
    shared.current = m_displayedFolder;
}

void CSelectFolderDlg::OnOk(HWND dialog)
{
    SharedState& shared = Shared();
    shared.chosen = CutBeforeFilePattern(ShownFolder(dialog));
    if (SameFolder(shared.chosen, shared.current)) {
        // Nothing navigated since the edit was last filled: what the user typed is the answer,
        // even a folder that does not exist yet.
        const std::wstring typed = CutBeforeFilePattern(EditText());
        if (!typed.empty())
            shared.chosen = typed;
        EndDialog(dialog, IDOK);
        return;
    }
    wchar_t folder[MAX_PATH] = L"";
    wcsncpy(folder, shared.chosen.c_str(), MAX_PATH - 2);
    PathAddBackslashW(folder);
    shared.chosen = folder;
    // The system dialog opens this folder when it handles OK after us.
    SetDlgItemTextW(dialog, cmb13, folder);
    if (PathIsDirectoryW(folder))
        EndDialog(dialog, IDOK);
}

LRESULT CALLBACK CSelectFolderDlg::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC previous = Shared().previous;
    auto* self = static_cast<CSelectFolderDlg*>(GetPropW(dialog, kObjectProperty));
    try {
        if (self) {
            switch (message) {
            case WM_COMMAND:
                if (LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED)
                    self->OnOk(dialog);
                break;
            case WM_SIZE: {
                // The system dialog lays its controls out first; the edit then follows the box.
                const LRESULT result = CallWindowProcW(previous, dialog, message, wParam, lParam);
                self->PlaceFolderEdit(dialog);
                return result;
            }
            case WM_NCDESTROY:
                SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
                RemovePropW(dialog, kObjectProperty);
                self->m_edit = nullptr;
                break;
            default:
                break;
            }
        }
    } catch (...) {
        // Inside the system dialog nothing may be thrown; the message still goes on below.
    }
    return CallWindowProcW(previous, dialog, message, wParam, lParam);
}

}  // namespace wiraxui
