#include "pages/controls/FolderField.h"

#include "util/FolderCheck.h"
#include "util/SelectFolderDlg.h"

#include <SetupHost.h>
#include <WiraxUIRes.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <cwctype>

namespace wiraxui {

namespace {
constexpr int kTextChars = 260;
}

std::wstring FolderFromEditText(const std::wstring& text)
{
    // Blanks around the text or inside its quotes would end up in the folder's last name.
    auto trim = [](const std::wstring& value) {
        const size_t first = value.find_first_not_of(L" \t");
        const size_t last = value.find_last_not_of(L" \t");
        return first == std::wstring::npos ? std::wstring() : value.substr(first, last - first + 1);
    };
    std::wstring folder = trim(text);
    if (folder.size() >= 2 && folder.front() == L'"' && folder.back() == L'"')
        folder = trim(folder.substr(1, folder.size() - 2));
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
    return folder;
}

std::wstring WindowText(HWND window)
{
    if (!window)
        return std::wstring();
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

std::wstring SpecialFolderPath(int csidl)
{
    wchar_t path[MAX_PATH + 1] = L"";
    if (!SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE))
        return std::wstring();
    std::wstring result = path;
    while (result.size() > 3 && result.back() == L'\\')
        result.pop_back();
    return result;
}

std::wstring SpecialFolder(int csidl)
{
    std::wstring path = SpecialFolderPath(csidl);
    if (!path.empty() && path.back() != L'\\')
        path += L'\\';
    return path;
}

bool PathContains(const std::wstring& path, const std::wstring& part)
{
    if (part.empty())
        return false;
    auto lower = [](std::wstring text) {
        std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return static_cast<wchar_t>(towlower(c)); });
        return text;
    };
    return lower(path).find(lower(part)) != std::wstring::npos;
}

int CheckDataFolder(std::wstring& folder)
{
    if (folder.find(L'/') != std::wstring::npos)
        return FolderCheck::Invalid;
    if (folder.rfind(L"\\\\", 0) == 0)
        return CheckNetworkFolder(folder);
    return CheckLocalFolder(folder);
}

void ShowAcceptedFolder(HWND edit)
{
    if (!edit)
        return;
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    const LRESULT length = GetWindowTextLengthW(edit);
    SendMessageW(edit, EM_SETSEL, length, length);
    SetFocus(edit);
}

std::wstring LoadModuleText(HMODULE module, UINT id)
{
    if (!module)
        return std::wstring();
    wchar_t text[kTextChars] = L"";
    const int length = LoadStringW(module, id, text, kTextChars);
    return std::wstring(text, length > 0 ? static_cast<size_t>(length) : 0);
}

std::wstring InstallationText(const CSetupManager* setup, UINT id, HMODULE productLibrary)
{
    // Without a module of its own the host would hand us the program's strings: use ours.
    HMODULE module = setup && setup->m_resourceModule ? setup->m_resourceModule : productLibrary;
    std::wstring text = LoadModuleText(module, id);
    if (text.empty() && module != productLibrary)
        text = LoadModuleText(productLibrary, id);
    return text;
}

bool BrowseDataFolder(HWND owner, std::wstring& folder, const std::wstring& defaultFolder, const CSetupManager* setup,
                      HMODULE productLibrary)
{
    if (!defaultFolder.empty() && _wcsicmp(folder.c_str(), defaultFolder.c_str()) == 0 &&
        !PathIsDirectoryW(defaultFolder.c_str()))
        SHCreateDirectoryExW(nullptr, defaultFolder.c_str(), nullptr);

    const std::wstring title = LoadModuleText(productLibrary, IDS_DATA_FOLDER_DIALOG_TITLE);
    const std::wstring okText = InstallationText(setup, IDS_SELECT_FOLDER_OK, productLibrary);
    const std::wstring label = InstallationText(setup, IDS_SELECT_FOLDER_LABEL, productLibrary);
    // The system dialog moves the process into the folders it shows; the host's current folder
    // is not ours to change, and a folder left current could not be removed below.
    wchar_t current[MAX_PATH] = L"";
    const DWORD currentLength = GetCurrentDirectoryW(MAX_PATH, current);
    CSelectFolderDlg dialog(owner, folder.empty() ? nullptr : folder.c_str(), OFN_HIDEREADONLY);
    dialog.SetTexts(title.empty() ? nullptr : title.c_str(), okText.c_str(), label.c_str());
    const bool chosen = dialog.DoModal() != 0;
    if (currentLength > 0 && currentLength < MAX_PATH)
        SetCurrentDirectoryW(current);
    if (chosen) {
        folder = CSelectFolderDlg::ChosenFolder();
        if (!folder.empty() && folder.back() != L'\\')
            folder += L'\\';
    }

    // The dialog may have opened in a default folder made only for it.
    std::wstring made = defaultFolder;
    while (made.size() > 3 && made.back() == L'\\')
        made.pop_back();
    if (!made.empty() && PathIsDirectoryEmptyW(made.c_str()))
        RemoveDirectoryW(made.c_str());
    return chosen;
}

}  // namespace wiraxui
