// The folder picker of the pages: the system's open-file dialog showing folders only (the file
// pattern "*..*" matches no file), with the file-type and file-name controls replaced by one
// edit box that shows and accepts the folder.
#pragma once

#include "util/FileDialogImpl.h"

#include <string>

namespace wiraxui {

class CSelectFolderDlg : public CFileDialogImpl<CSelectFolderDlg> {
public:
    static constexpr int kFolderEditId = 9473;
    static constexpr int kEditChars = 2080;

    // initialFolder may be null. The pages pass OFN_HIDEREADONLY as flags.
    CSelectFolderDlg(HWND owner, const wchar_t* initialFolder, DWORD flags);

    // Without a title the dialog keeps the three texts of the resource module. With one, a
    // missing or empty OK or label text leaves that control with the system's own text.
    void SetTexts(const wchar_t* title, const wchar_t* okText, const wchar_t* labelText);

    // The folder of the last confirmed dialog. It may lack a trailing backslash; callers add one.
    static std::wstring ChosenFolder();

    void OnInitDone(OFNOTIFYW* notify);
    void OnSelChange(OFNOTIFYW* notify);

private:
    static LRESULT CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void OnOk(HWND dialog);
    void CreateFolderEdit(HWND dialog);
    void PlaceFolderEdit(HWND dialog);
    void ShowInEdit(const std::wstring& folder);
    std::wstring EditText() const;
    void SetInitialFolder(const std::wstring& folder);

    std::wstring m_title;
    std::wstring m_okText;
    std::wstring m_labelText;
    std::wstring m_initialFolder;
    std::wstring m_displayedFolder;
    HWND m_edit = nullptr;
};

}  // namespace wiraxui
