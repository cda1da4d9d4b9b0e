// What the catalog browser add-in's two pages share: one path edit with a Browse button beside
// it, the path as the page holds it, the user-edit flag and the browse title.
//
// The concrete page T supplies kPathEditId, OnPageInit(), CommitPage(), PropertyChanged(name),
// Browse() and PathEdited(text), which receives the edit's text at every change.
#pragma once

#include "host/ResourceLibrary.h"
#include "pages/framework/ConfigPageImpl.h"
#include "util/FolderText.h"

#include <SetupHost.h>
#include <WiraxUIRes.h>

#include <string>
#include <vector>

namespace wiraxui {

template <class T>
class CFormwellAddInPageBase : public CConfigPageImpl<T> {
public:
    using CConfigPageImpl<T>::CConfigPageImpl;

    void DoDataExchange() { this->BindControl(T::kPathEditId, m_pathEdit); }

protected:
    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (message == WM_COMMAND && lParam) {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if (id == IDC_FORMWELL_BROWSE && code == BN_CLICKED) {
                static_cast<T*>(this)->Browse();
                result = 0;
                return TRUE;
            }
            if (id == T::kPathEditId && code == EN_CHANGE) {
                static_cast<T*>(this)->PathEdited(EditText());
                result = 0;
                return TRUE;
            }
        }
        return CConfigPageImpl<T>::ProcessWindowMessage(window, message, wParam, lParam, result);
    }

    // A text of the product resource library, which the page holds for its whole life.
    std::wstring PageText(UINT id) const
    {
        CResourceInstanceScope scope(this->m_library.Module());
        return LoadResString(id);
    }

    std::wstring EditText() const
    {
        const int length = GetWindowTextLengthW(m_pathEdit);
        std::vector<wchar_t> text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
        GetWindowTextW(m_pathEdit, text.data(), static_cast<int>(text.size()));
        return text.data();
    }

    // The edit shows text; its change notice reaches PathEdited before this returns.
    void ShowPath(const std::wstring& text) { SetWindowTextW(m_pathEdit, text.c_str()); }

    // The installation's title, the caption of the page's messages.
    std::wstring Caption() const { return this->m_setup ? this->m_setup->m_titleText : std::wstring(); }

    HWND m_pathEdit = nullptr;
    std::wstring m_path;
    bool m_userEdit = false;
    std::wstring m_browseTitle;
};

}  // namespace wiraxui
