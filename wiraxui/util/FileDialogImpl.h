// The system's explorer-style open-file dialog with a hook that hands its notifications to the
// concrete dialog class T (OnInitDone, OnSelChange, OnFolderChange; each may be left out).
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <cwchar>

namespace wiraxui {

template <class T>
class CFileDialogImpl {
public:
    static constexpr DWORD kFileChars = MAX_PATH;
    static constexpr DWORD kFileTitleChars = 256;

    CFileDialogImpl(HWND owner, HINSTANCE resources, const wchar_t* fileName, DWORD flags)
    {
        m_ofn.lStructSize = sizeof m_ofn;
        m_ofn.hwndOwner = owner;
        m_ofn.hInstance = resources;
        m_ofn.lpstrFile = m_fileName;
        m_ofn.nMaxFile = kFileChars;
        m_ofn.lpstrFileTitle = m_fileTitle;
        m_ofn.nMaxFileTitle = kFileTitleChars;
        m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLESIZING;
        m_ofn.lpfnHook = &CFileDialogImpl::HookProc;
        m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
        if (fileName)
            wcsncpy(m_fileName, fileName, kFileChars - 1);
    }
    CFileDialogImpl(const CFileDialogImpl&) = delete;
    CFileDialogImpl& operator=(const CFileDialogImpl&) = delete;

    // Non-zero when the user confirmed the dialog.
    INT_PTR DoModal()
    {
        m_hook = nullptr;
        return GetOpenFileNameW(&m_ofn);
    }

    // The system dialog itself; the hook window is an empty child of it.
    HWND FileDialogWindow() const { return m_hook ? ::GetParent(m_hook) : nullptr; }

    void OnInitDone(OFNOTIFYW*) {}
    void OnSelChange(OFNOTIFYW*) {}
    void OnFolderChange(OFNOTIFYW*) {}

protected:
    OPENFILENAMEW m_ofn{};
    wchar_t m_fileName[kFileChars] = L"";
    wchar_t m_fileTitle[kFileTitleChars] = L"";

private:
    static UINT_PTR CALLBACK HookProc(HWND hook, UINT message, WPARAM, LPARAM lParam)
    {
        // Called from inside the system dialog: nothing may be thrown through it.
        try {
            if (message == WM_INITDIALOG) {
                auto* ofn = reinterpret_cast<OPENFILENAMEW*>(lParam);
                auto* self = reinterpret_cast<CFileDialogImpl*>(ofn->lCustData);
                self->m_hook = hook;
                SetWindowLongPtrW(hook, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
                return TRUE;
            }
            auto* self = reinterpret_cast<CFileDialogImpl*>(GetWindowLongPtrW(hook, GWLP_USERDATA));
            if (!self || message != WM_NOTIFY)
                return 0;
            auto* notify = reinterpret_cast<OFNOTIFYW*>(lParam);
            T* dialog = static_cast<T*>(self);
            switch (notify->hdr.code) {
            case CDN_INITDONE:
                dialog->OnInitDone(notify);
                break;
            case CDN_SELCHANGE:
                dialog->OnSelChange(notify);
                break;
            case CDN_FOLDERCHANGE:
                dialog->OnFolderChange(notify);
                break;
            default:
                break;
            }
        } catch (...) {
        }
        return 0;
    }

    HWND m_hook = nullptr;
};

}  // namespace wiraxui
