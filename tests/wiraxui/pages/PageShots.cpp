// pageshots: shows the pages as a host would and saves a picture of each, and of the cancel
// confirmation, as PNG files; the configuration pages also go through the layout checks, whose
// findings are printed. Usage: pageshots OUTPUT-FOLDER [configuration]
#include "PageLayoutChecks.h"

#include <HostPage.h>
#include <SetupHost.h>
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <string>
#include <iterator>
#include <thread>
#include <vector>

namespace {

std::wstring g_folder;
std::atomic<int> g_saved{0};

bool PngEncoder(CLSID* encoder)
{
    UINT count = 0;
    UINT bytes = 0;
    Gdiplus::GetImageEncodersSize(&count, &bytes);
    std::string buffer(bytes, '\0');
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, bytes, codecs);
    for (UINT i = 0; i < count; ++i) {
        if (wcscmp(codecs[i].MimeType, L"image/png") == 0) {
            *encoder = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

// What the screen shows where window is, frame included.
void Save(HWND window, const wchar_t* name)
{
    RECT area;
    GetWindowRect(window, &area);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, old);
    {
        Gdiplus::Bitmap picture(bitmap, nullptr);
        CLSID encoder;
        const std::wstring path = g_folder + L"\\" + name;
        if (PngEncoder(&encoder) && picture.Save(path.c_str(), &encoder, nullptr) == Gdiplus::Ok) {
            ++g_saved;
            fwprintf(stdout, L"saved %ls (%dx%d)\n", path.c_str(), width, height);
        } else {
            fwprintf(stderr, L"could not save %ls\n", path.c_str());
        }
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

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

HWND WaitForWindow(const wchar_t* caption)
{
    for (int i = 0; i < 500; ++i) {
        HWND window = FindWindowW(L"#32770", caption);
        if (window && IsWindowVisible(window))
            return window;
        Sleep(20);
    }
    return nullptr;
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
        CProduct* main = setup.AddProduct(L"WIRAX_MAIN");
        for (const wchar_t* chosen : {L"M_A2", L"M_PH", L"M_SI", L"M_WA"})
            main->SetMsiProperty(chosen, L"1", false);
    }
};

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

// A configuration page as the pictures show it: its export, the picture's file name, and what
// the installation holds for it.
struct ConfigurationShot {
    const char* exportName;
    const wchar_t* file;
    void (*prepare)(Installation& host);
};

void PrepareManufacturerPage(Installation&) {}

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

void PrepareLibraryPathPage(Installation& host) { AddCatalogBrowser(host); }

void PrepareCatalogDatabasePage(Installation& host) { AddCatalogBrowser(host); }

void PrepareSqlServerPage(Installation& host)
{
    CProduct* main = host.setup.FindProduct(L"WIRAX_MAIN");
    main->SeedProperty(L"WRXSQLCONFIG", L"1");
    main->SeedProperty(L"WRXSQLSERVERPATH", L"dbserver\\WIRAX");
    main->SeedProperty(L"WRXSQLAUTHMODE", L"0");
    main->SeedProperty(L"WRXSQLDBCATALOG", L"WiraxCatalog");
    main->SeedProperty(L"WRXSQLDBFOOTPRINT", L"WiraxFootprint");
}

const ConfigurationShot kConfigurationShots[] = {
    {"ManufacturerContentPage", L"manufacturer-content-page.png", PrepareManufacturerPage},
    {"FormwellLibPathPage", L"catalog-browser-library-page.png", PrepareLibraryPathPage},
    {"FormwellMDBContentPage", L"catalog-browser-database-page.png", PrepareCatalogDatabasePage},
    {"SQLServerConfigPage", L"sql-server-page.png", PrepareSqlServerPage},
};

// What the layout checks found on a page, told on the console; false when anything was found.
bool CheckLayout(HWND page, const wchar_t* file)
{
    std::vector<std::wstring> problems = pagetest::LayoutProblems(page);
    for (std::wstring& problem : pagetest::TabOrderProblems(page))
        problems.push_back(std::move(problem));
    for (const std::wstring& problem : problems)
        fwprintf(stderr, L"%ls: %ls\n", file, problem.c_str());
    return problems.empty();
}

bool ShootConfigurationPage(HMODULE plugin, const ConfigurationShot& shot)
{
    using Export = IConfigPage*(uintptr_t*);
    auto* create = reinterpret_cast<Export*>(reinterpret_cast<void*>(GetProcAddress(plugin, shot.exportName)));
    WNDCLASSW panelClass{};
    panelClass.lpfnWndProc = PanelProc;
    panelClass.hInstance = GetModuleHandleW(nullptr);
    panelClass.lpszClassName = L"PageShotsPanel";
    panelClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&panelClass);
    HWND panel = CreateWindowExW(0, L"PageShotsPanel", L"Configuration", WS_POPUP | WS_CLIPCHILDREN, 40, 40, 100,
                                 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    Installation host;
    host.record[PageRecord::kParentWindow] = reinterpret_cast<uintptr_t>(panel);
    shot.prepare(host);
    IConfigPage* page = create ? create(host.record.data()) : nullptr;
    if (!page) {
        fprintf(stderr, "the configuration page %s was not created\n", shot.exportName);
        DestroyWindow(panel);
        return false;
    }
    RECT size;
    GetWindowRect(page->GetWindow(), &size);
    SetWindowPos(panel, nullptr, 40, 40, size.right - size.left, page->GetHeight(), SWP_NOZORDER);
    ShowWindow(page->GetWindow(), SW_SHOW);
    ShowWindow(panel, SW_SHOW);
    UpdateWindow(panel);
    Pump(700);
    Save(panel, shot.file);
    const bool laidOut = CheckLayout(page->GetWindow(), shot.file);
    page->Destroy();
    DestroyWindow(panel);
    return laidOut;
}

void ShootWizardPage(HMODULE plugin)
{
    using Export = int(uintptr_t*);
    auto* run = reinterpret_cast<Export*>(reinterpret_cast<void*>(GetProcAddress(plugin, "ManufacturerContentDialog")));
    if (!run)
        return;
    Installation host;
    const DWORD pageThread = GetCurrentThreadId();
    std::thread driver([&] {
        HWND page = WaitForWindow(host.setup.m_titleText.c_str());
        if (!page) {
            PostThreadMessageW(pageThread, WM_QUIT, 1603, 0);
            return;
        }
        Sleep(700);
        Save(page, L"manufacturer-content-dialog.png");
        PostMessageW(GetDlgItem(page, IDCANCEL), BM_CLICK, 0, 0);
        if (HWND question = WaitForWindow(L"Cancel Setup")) {
            Sleep(500);
            Save(question, L"cancel-confirmation.png");
            PostMessageW(question, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(question, IDNO)));
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
    if (argc != 2 && (argc != 3 || wcscmp(argv[2], L"configuration") != 0)) {
        fputs("usage: pageshots OUTPUT-FOLDER [configuration]\n", stderr);
        return 2;
    }
    // "configuration": only the configuration pages (the wizard pages stay black at high DPI).
    const std::wstring configurationOnly = argc == 3 ? argv[2] : L"";
    g_folder = argv[1];
    CreateDirectoryW(g_folder.c_str(), nullptr);
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    HMODULE plugin = LoadLibraryW(L"WiraxUI.dll");
    if (!plugin) {
        fprintf(stderr, "cannot load WiraxUI.dll (error %lu)\n", GetLastError());
        return 3;
    }
    HMODULE hostLibrary = LoadLibraryW(L"HostRes.dll");  // a host keeps its library loaded
    bool laidOut = true;
    for (const ConfigurationShot& shot : kConfigurationShots) {
        laidOut = ShootConfigurationPage(plugin, shot) && laidOut;
    }
    if (configurationOnly.empty())
        ShootWizardPage(plugin);
    if (hostLibrary)
        FreeLibrary(hostLibrary);
    FreeLibrary(plugin);
    Gdiplus::GdiplusShutdown(token);
    const int expected = static_cast<int>(std::size(kConfigurationShots)) + (configurationOnly.empty() ? 2 : 0);
    return g_saved == expected && laidOut ? 0 : 1;
}
