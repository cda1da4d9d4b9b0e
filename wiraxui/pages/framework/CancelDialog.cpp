#include "pages/framework/CancelDialog.h"

#include "host/ResourceLibrary.h"

namespace wiraxui {

UINT CancelReasonStringId(int setupMode)
{
    switch (setupMode) {
    case 2:
        return IDS_CANCEL_MAINTENANCE;
    case 3:
        return IDS_CANCEL_REMOVAL;
    case 4:
    case 5:
    case 6:
        return IDS_CANCEL_DEPLOYMENT;
    default:
        return IDS_CANCEL_SETUP;
    }
}

std::wstring FormatCancelQuestion(const std::wstring& pattern, const std::wstring& reason)
{
    const DWORD_PTR inserts[] = {reinterpret_cast<DWORD_PTR>(reason.c_str())};
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_ARGUMENT_ARRAY, pattern.c_str(), 0,
        0, reinterpret_cast<wchar_t*>(&text), 0, reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(inserts)));
    std::wstring result = length && text ? std::wstring(text, length) : reason;
    if (text)
        LocalFree(text);
    return result;
}

BOOL CCancelDialog::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM, LRESULT& result)
{
    switch (message) {
    case WM_INITDIALOG: {
        const std::wstring reason = LoadResString(CancelReasonStringId(m_setupMode));
        SendDlgItemMessageW(window, IDC_CANCEL_ICON, STM_SETICON,
                            reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_QUESTION)), 0);
        SetDlgItemTextW(window, IDC_CANCEL_TEXT, FormatCancelQuestion(LoadResString(IDS_CANCEL_QUESTION), reason).c_str());
        CenterOnParent();
        result = TRUE;
        return TRUE;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) != 0)
            return FALSE;
        EndDialog(window, LOWORD(wParam));
        result = 0;
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace wiraxui
