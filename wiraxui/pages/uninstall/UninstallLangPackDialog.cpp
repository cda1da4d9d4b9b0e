#include "pages/uninstall/UninstallLangPackDialog.h"

namespace wiraxui {

BOOL CUninstallLangPackDialog::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM, LRESULT& result)
{
    switch (message) {
    case WM_INITDIALOG:
        result = 0;  // no default focus: the user chooses
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDCANCEL:
        case IDC_REMOVE_LANGUAGE_PACKS:
        case IDOK:
            EndDialog(window, LOWORD(wParam));
            result = 0;
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

}  // namespace wiraxui
