#include "pages/framework/CancelDialog.h"

#include "host/ResourceLibrary.h"

#include <HostVocabulary.h>

namespace wiraxui {

UINT CancelReasonStringId(int setupMode)
{
    if (Setup::IsDeploymentMode(setupMode))
        return IDS_CANCEL_DEPLOYMENT;
    switch (setupMode) {
    case Setup::SETUPMODE_MAINTENANCE:
        return IDS_CANCEL_MAINTENANCE;
    case Setup::SETUPMODE_REMOVAL:
        return IDS_CANCEL_REMOVAL;
    default:
        return IDS_CANCEL_SETUP;
    }
}

namespace {

// The question has one insert. Any other insert in the host's text ("%2", "%12") would make the
// formatter read arguments that do not exist: such inserts are escaped and shown as written.
std::wstring OnlyTheFirstInsert(const std::wstring& pattern)
{
    std::wstring escaped;
    escaped.reserve(pattern.size() + 8);
    for (size_t i = 0; i < pattern.size(); ++i) {
        const wchar_t c = pattern[i];
        if (c != L'%' || i + 1 >= pattern.size()) {
            escaped += c;
            continue;
        }
        const wchar_t next = pattern[i + 1];
        if (next >= L'1' && next <= L'9') {
            const bool twoDigits = i + 2 < pattern.size() && pattern[i + 2] >= L'0' && pattern[i + 2] <= L'9';
            if (next != L'1' || twoDigits)
                escaped += L'%';  // "%%" is a plain percent sign; the digits follow as text
            escaped += c;
            continue;
        }
        // "%%", "%n", "%0" and the other escapes stay as they are.
        escaped += c;
        escaped += next;
        ++i;
    }
    return escaped;
}

}  // namespace

std::wstring FormatCancelQuestion(const std::wstring& pattern, const std::wstring& reason)
{
    const std::wstring safePattern = OnlyTheFirstInsert(pattern);
    const DWORD_PTR inserts[] = {reinterpret_cast<DWORD_PTR>(reason.c_str())};
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_ARGUMENT_ARRAY, safePattern.c_str(), 0,
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
