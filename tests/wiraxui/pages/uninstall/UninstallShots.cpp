// uninstallshots: shows the removal page and its language-pack question as a host would and saves
// a picture of each as PNG files. Usage: uninstallshots OUTPUT-FOLDER [NAME-SUFFIX]
// The suffix goes before ".png" (the pictures taken at another display resolution).
#include "PageShotSupport.h"

#include <HostPage.h>
#include <SetupHost.h>
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

namespace {

using pageshots::Save;
using pageshots::WaitForWindow;

void Press(HWND dialog, int id)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void ShootRemovalPage(HMODULE plugin)
{
    using Export = int(uintptr_t*);
    auto* run = reinterpret_cast<Export*>(reinterpret_cast<void*>(GetProcAddress(plugin, "UninstallVerifyReadyDialog")));
    if (!run) {
        fputs("WiraxUI.dll has no UninstallVerifyReadyDialog\n", stderr);
        return;
    }
    CSetupManager setup;
    std::array<uintptr_t, PageRecord::kWords> record{};
    record[PageRecord::kSetupManager] = reinterpret_cast<uintptr_t>(&setup);
    record[PageRecord::kHostWords] = 1;
    setup.m_setupMode = ::Setup::SETUPMODE_REMOVAL;
    setup.m_titleText = L"Wirax 2027";
    setup.m_displayMUIUninstallDialog = true;
    CProduct* main = setup.AddProduct(L"WIRAX_MAIN");
    main->m_productCode = L"{5A1B2C3D-0000-4000-8000-0000000000A1}";
    record[PageRecord::kProduct] = reinterpret_cast<uintptr_t>(main);

    const DWORD pageThread = GetCurrentThreadId();
    std::thread driver([&] {
        HWND page = WaitForWindow(setup.m_titleText.c_str());
        if (!page) {
            PostThreadMessageW(pageThread, WM_QUIT, ::Setup::WIZARD_NOT_CREATED, 0);
            return;
        }
        Sleep(700);
        Save(page, L"uninstall-verify-ready-dialog");
        PostMessageW(GetDlgItem(page, IDOK), BM_CLICK, 0, 0);
        if (HWND question = WaitForWindow(L"Additional Language Packs")) {
            Sleep(500);
            Save(question, L"uninstall-language-packs");
            Press(question, IDCANCEL);  // back to the page
        }
        Sleep(300);
        Press(page, 1001);
    });
    run(record.data());
    driver.join();
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2 && argc != 3) {
        fputs("usage: uninstallshots OUTPUT-FOLDER [NAME-SUFFIX]\n", stderr);
        return 2;
    }
    pageshots::SetOutput(argv[1], argc == 3 ? argv[2] : L"");
    CreateDirectoryW(argv[1], nullptr);
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    HMODULE plugin = LoadLibraryW(L"WiraxUI.dll");
    if (!plugin) {
        fprintf(stderr, "cannot load WiraxUI.dll (error %lu)\n", GetLastError());
        return 3;
    }
    HMODULE hostLibrary = LoadLibraryW(L"HostRes.dll");  // a host keeps its library loaded
    ShootRemovalPage(plugin);
    if (hostLibrary)
        FreeLibrary(hostLibrary);
    FreeLibrary(plugin);
    Gdiplus::GdiplusShutdown(token);
    return pageshots::SavedCount() == 2 ? 0 : 1;
}
