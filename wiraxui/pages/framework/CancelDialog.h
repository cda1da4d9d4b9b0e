// The confirmation a wizard page asks before it cancels the setup.
#pragma once

#include "pages/framework/DialogImpl.h"

#include <HostRes.h>

#include <string>

namespace wiraxui {

// What is left unfinished, by setup mode: string number of the host library.
UINT CancelReasonStringId(int setupMode);

// The host's question (a pattern with insert %1) completed with the reason.
std::wstring FormatCancelQuestion(const std::wstring& pattern, const std::wstring& reason);

// Template 378 of the host library, which must be the resource instance while it is shown.
// Ends with the identifier of the button pressed (IDYES to cancel).
class CCancelDialog : public CDialogImpl<CCancelDialog> {
public:
    enum { IDD = IDD_CANCEL };

    explicit CCancelDialog(int setupMode) : m_setupMode(setupMode) {}

protected:
    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    int m_setupMode;
};

}  // namespace wiraxui
