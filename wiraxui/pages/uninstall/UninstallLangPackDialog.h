// The question whether the product's additional language packs go with it.
#pragma once

#include "pages/framework/DialogImpl.h"

#include <WiraxUIRes.h>

namespace wiraxui {

// Template 693 of the product library, which must be the resource instance while it is shown.
// Ends with IDC_REMOVE_LANGUAGE_PACKS (remove them), IDOK (keep them) or IDCANCEL (back to the
// page); every text is the template's own.
class CUninstallLangPackDialog : public CDialogImpl<CUninstallLangPackDialog> {
public:
    enum { IDD = IDD_UNINSTALL_LANGUAGE_PACKS };

protected:
    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

}  // namespace wiraxui
