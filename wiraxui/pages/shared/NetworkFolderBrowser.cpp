#include "pages/shared/NetworkFolderBrowser.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace wiraxui {

namespace {

// Frees a shell item list on every path.
struct ItemList {
    LPITEMIDLIST items = nullptr;
    ~ItemList()
    {
        if (items)
            CoTaskMemFree(items);
    }
};

template <class T>
struct ComRef {
    T* pointer = nullptr;
    ~ComRef()
    {
        if (pointer)
            pointer->Release();
    }
};

int CALLBACK StartAtFolder(HWND dialog, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED && data)
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

}  // namespace

std::wstring ShortcutTarget(const std::wstring& path)
{
    ComRef<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link.pointer))))
        return std::wstring();
    ComRef<IPersistFile> file;
    if (FAILED(link.pointer->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.pointer))) ||
        FAILED(file.pointer->Load(path.c_str(), STGM_READ)))
        return std::wstring();
    wchar_t target[MAX_PATH] = L"";
    if (FAILED(link.pointer->GetPath(target, MAX_PATH, nullptr, 0)))
        return std::wstring();
    return target;
}

bool BrowseNetworkFolder(HWND owner, const std::wstring& title, std::wstring& folder)
{
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ItemList network;
    SHGetSpecialFolderLocation(owner, CSIDL_NETWORK, &network.items);

    BROWSEINFOW browse{};
    browse.hwndOwner = owner;
    browse.pidlRoot = network.items;
    browse.lpszTitle = title.c_str();
    browse.ulFlags = BIF_NEWDIALOGSTYLE | BIF_STATUSTEXT | BIF_BROWSEINCLUDEFILES;
    browse.lpfn = StartAtFolder;
    browse.lParam = reinterpret_cast<LPARAM>(folder.c_str());
    ItemList chosen;
    chosen.items = SHBrowseForFolderW(&browse);

    bool picked = false;
    wchar_t path[MAX_PATH] = L"";
    if (chosen.items && SHGetPathFromIDListW(chosen.items, path)) {
        SFGAOF attributes = 0;
        SHFILEINFOW info{};
        if (SHGetFileInfoW(reinterpret_cast<LPCWSTR>(chosen.items), 0, &info, sizeof info,
                           SHGFI_PIDL | SHGFI_ATTRIBUTES))
            attributes = info.dwAttributes;
        const std::wstring target = (attributes & SFGAO_LINK) ? ShortcutTarget(path) : std::wstring();
        folder = target.empty() ? std::wstring(path) : target;
        picked = true;
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return picked;
}

}  // namespace wiraxui
