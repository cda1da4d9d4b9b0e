// pageshots: shows the plug-in's pages as a host would and saves a picture of each, and of the
// cancel confirmation, as PNG files; the configuration pages also go through the layout checks,
// whose findings are printed. Usage: pageshots OUTPUT-FOLDER [NAME-SUFFIX]
// The suffix goes before ".png" (the pictures taken at another display resolution).
#include "PageLayoutChecks.h"
#include "PageShotSupport.h"

#include <HostPage.h>
#include <SetupHost.h>
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <array>
#include <initializer_list>
#include <utility>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

using pageshots::Save;
using pageshots::WaitForWindow;

void Pump(DWORD milliseconds)
{
    const ULONGLONG end = GetTickCount64() + milliseconds;
    MSG message;
    while (GetTickCount64() < end) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
}

struct Installation {
    CSetupManager setup;
    std::array<uintptr_t, PageRecord::kWords> record{};
    Installation()
    {
        record[PageRecord::kSetupManager] = reinterpret_cast<uintptr_t>(&setup);
        record[PageRecord::kHostWords] = 1;
        setup.m_titleText = L"Wirax 2027 Setup";
        setup.m_installPath = L"C:\\Program Files\\Tarvena\\Wirax\\";
        setup.m_deploymentFolder = L"\\\\fileserver\\deploy\\Wirax 2027\\";
        CProduct* main = setup.AddProduct(L"WIRAX_MAIN");
        record[PageRecord::kProduct] = reinterpret_cast<uintptr_t>(main);
        for (const wchar_t* chosen : {L"M_A2", L"M_PH", L"M_SI", L"M_WA"})
            main->SetMsiProperty(chosen, L"1", false);
        const std::pair<const wchar_t*, const wchar_t*> properties[] = {
            {L"DRAWINGSTANDARD", L"IEC"},
            {L"SYMBOLLIBRARY", L"IEC,JIC,"},
            {L"WXJIC1", L"1"},
            {L"WXIEC2", L"1"},
            {L"Manufacturer", L"Tarvena"},
            {L"WIRAXDEFAULTFOLDER", L"Wirax 2027"},
            {L"ROAMINGUSERMYDOCSWIRAXFOLDER", L"C:\\users\\Public\\Documents\\Wirax 2027\\"},
            {L"WXSYMLIBFOLDER", L"C:\\users\\Public\\Documents\\Tarvena\\Wirax 2027\\"},
            {L"SHAREDSUPPORT", L"1"},
            {L"SHAREDSYMBOL", L"0"},
            {L"NETSHAREDSUPPORTPATH", L"\\\\fileserver\\wirax\\support\\"},
            {L"NETSHAREDSYMLIBPATH", L"o"},
        };
        for (const auto& [name, value] : properties)
            main->SetMsiProperty(name, value, false);
    }
};

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

using Overrides = std::initializer_list<std::pair<const wchar_t*, const wchar_t*>>;
using Prepare = void (*)(Installation& host);

CProduct* AddCatalogBrowser(Installation& host)
{
    CProduct* addIn = host.setup.AddProduct(L"WRXFWLADDIN");
    host.record[PageRecord::kProduct] = reinterpret_cast<uintptr_t>(addIn);
    addIn->SeedProperty(L"Manufacturer", L"Tarvena");
    addIn->SeedProperty(L"WRXLIBFOLDERNAME", L"Catalog Browser");
    addIn->SeedProperty(L"WIRAXDEFAULTFOLDER", L"Wirax 2027");
    addIn->SeedProperty(L"LANG2LONG", L"English");
    return addIn;
}

void PrepareCatalogBrowserPage(Installation& host) { AddCatalogBrowser(host); }

void PrepareSqlServerPage(Installation& host)
{
    CProduct* main = host.setup.FindProduct(L"WIRAX_MAIN");
    main->SeedProperty(L"WRXSQLCONFIG", L"1");
    main->SeedProperty(L"WRXSQLSERVERPATH", L"dbserver\\WIRAX");
    main->SeedProperty(L"WRXSQLAUTHMODE", L"0");
    main->SeedProperty(L"WRXSQLDBCATALOG", L"WiraxCatalog");
    main->SeedProperty(L"WRXSQLDBFOOTPRINT", L"WiraxFootprint");
}

std::atomic<bool> g_laidOut{true};

// What the layout checks found on a page, told on the console.
void CheckLayout(HWND page, const std::wstring& name)
{
    std::vector<std::wstring> problems = pagetest::LayoutProblems(page);
    for (std::wstring& problem : pagetest::TabOrderProblems(page))
        problems.push_back(std::move(problem));
    for (const std::wstring& problem : problems)
        fwprintf(stderr, L"%ls%ls: %ls\n", name.c_str(), pageshots::Suffix().c_str(), problem.c_str());
    if (!problems.empty())
        g_laidOut = false;
}

void ShootConfigurationPage(HMODULE plugin, const char* exportName, const wchar_t* name, Overrides overrides = {},
                            Prepare prepare = nullptr)
{
    using Export = IConfigPage*(uintptr_t*);
    auto* create = reinterpret_cast<Export*>(reinterpret_cast<void*>(GetProcAddress(plugin, exportName)));
    WNDCLASSW panelClass{};
    panelClass.lpfnWndProc = PanelProc;
    panelClass.hInstance = GetModuleHandleW(nullptr);
    panelClass.lpszClassName = L"PageShotsPanel";
    panelClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&panelClass);
    HWND panel = CreateWindowExW(0, L"PageShotsPanel", L"Configuration", WS_POPUP | WS_CLIPCHILDREN, 40, 40, 100,
                                 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    Installation host;
    for (const auto& [property, value] : overrides)
        host.setup.FindProduct(L"WIRAX_MAIN")->SetMsiProperty(property, value, false);
    if (prepare)
        prepare(host);
    host.record[PageRecord::kParentWindow] = reinterpret_cast<uintptr_t>(panel);
    IConfigPage* page = create ? create(host.record.data()) : nullptr;
    if (!page) {
        fputs("the configuration page was not created\n", stderr);
        return;
    }
    RECT size;
    GetWindowRect(page->GetWindow(), &size);
    SetWindowPos(panel, nullptr, 40, 40, size.right - size.left, page->GetHeight(), SWP_NOZORDER);
    ShowWindow(page->GetWindow(), SW_SHOW);
    ShowWindow(panel, SW_SHOW);
    UpdateWindow(panel);
    Pump(700);
    Save(panel, name);
    CheckLayout(page->GetWindow(), name);
    page->Destroy();
    DestroyWindow(panel);
}

// Shows the wizard page, saves it, and with withCancel also the cancel confirmation it opens.
void ShootWizardPage(HMODULE plugin, const char* exportName, const wchar_t* name, bool withCancel)
{
    using Export = int(uintptr_t*);
    auto* run = reinterpret_cast<Export*>(reinterpret_cast<void*>(GetProcAddress(plugin, exportName)));
    if (!run)
        return;
    Installation host;
    const DWORD pageThread = GetCurrentThreadId();
    std::thread driver([&] {
        HWND page = WaitForWindow(host.setup.m_titleText.c_str());
        if (!page) {
            PostThreadMessageW(pageThread, WM_QUIT, ::Setup::WIZARD_NOT_CREATED, 0);
            return;
        }
        Sleep(700);
        Save(page, name);
        if (withCancel) {
            PostMessageW(GetDlgItem(page, IDCANCEL), BM_CLICK, 0, 0);
            if (HWND question = WaitForWindow(L"Cancel Setup")) {
                Sleep(500);
                Save(question, L"cancel-confirmation");
                PostMessageW(question, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(question, IDNO)));
            }
        }
        Sleep(300);
        PostMessageW(GetDlgItem(page, IDOK), BM_CLICK, 0, 0);
    });
    run(host.record.data());
    driver.join();
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2 && argc != 3) {
        fputs("usage: pageshots OUTPUT-FOLDER [NAME-SUFFIX]\n", stderr);
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
    ShootConfigurationPage(plugin, "ManufacturerContentPage", L"manufacturer-content-page");
    ShootWizardPage(plugin, "ManufacturerContentDialog", L"manufacturer-content-dialog", true);
    ShootConfigurationPage(plugin, "StandardSelectionPage", L"standard-selection-page", {{L"SHAREDSUPPORT", L"0"}});
    ShootConfigurationPage(plugin, "SymbolLibraryPage", L"symbol-library-page");
    ShootWizardPage(plugin, "SymbolLibraryDialog", L"symbol-library-dialog", false);
    ShootConfigurationPage(plugin, "SharedLibraryPage", L"shared-library-page");
    ShootConfigurationPage(plugin, "FormwellLibPathPage", L"catalog-browser-library-page", {}, PrepareCatalogBrowserPage);
    ShootConfigurationPage(plugin, "FormwellMDBContentPage", L"catalog-browser-database-page", {}, PrepareCatalogBrowserPage);
    ShootConfigurationPage(plugin, "SQLServerConfigPage", L"sql-server-page", {}, PrepareSqlServerPage);
    if (hostLibrary)
        FreeLibrary(hostLibrary);
    FreeLibrary(plugin);
    Gdiplus::GdiplusShutdown(token);
    return pageshots::SavedCount() == 10 && g_laidOut ? 0 : 1;
}
