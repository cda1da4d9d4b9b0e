#include "pages/HostPanel.h"

#include "pages/StepReading.h"

namespace runner::pages {

namespace {

int Scaled(int pixels)
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return MulDiv(pixels, dpi, 96);
}

// A panel the user moves through is sized by the host, like a dialog: no minimise or maximise.
DWORD PanelStyle(const PanelState& state)
{
    return state.buttonRow ? WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU : WS_OVERLAPPEDWINDOW;
}

int ButtonRowHeight(const PanelState& state) { return state.buttonRow ? Scaled(44) : 0; }

// The page fills the panel's top; the button row, right-aligned, sits under a rule.
void LayOutButtonRow(HWND panel, const PanelState& state)
{
    if (!state.buttonRow)
        return;
    RECT client;
    GetClientRect(panel, &client);
    const int rowTop = client.bottom - ButtonRowHeight(state);
    const int width = Scaled(88);
    const int height = Scaled(26);
    const int gap = Scaled(8);
    const int top = rowTop + (ButtonRowHeight(state) - height) / 2;
    SetWindowPos(state.rule, nullptr, 0, rowTop, client.right, 2, SWP_NOZORDER);
    SetWindowPos(state.cancel, nullptr, client.right - gap - width, top, width, height, SWP_NOZORDER);
    SetWindowPos(state.next, nullptr, client.right - 2 * gap - 2 * width, top, width, height, SWP_NOZORDER);
}

void CreateButtonRow(HWND panel, PanelState& state)
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        state.font = CreateFontIndirectW(&metrics.lfMessageFont);
    const auto child = [&](const wchar_t* type, const wchar_t* text, DWORD style, int id) {
        HWND control = CreateWindowExW(0, type, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, panel,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.font ? state.font : GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        return control;
    };
    state.rule = child(L"Static", L"", SS_ETCHEDHORZ, 0);
    // Disabled while the scenario plays its steps: the page is not the user's yet.
    state.next = child(L"Button", L"Next >", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_DISABLED, kNextButton);
    state.cancel = child(L"Button", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, kCancelButton);
}

void LeavePage(HWND panel, PanelState& state)
{
    state.waiting = false;
    RemovePropW(panel, kWaitingProperty);
    EnableWindow(state.next, FALSE);
    EnableWindow(state.cancel, FALSE);
    state.left = true;
}

// The user's buttons: Next > commits the page as the host does and goes on, unless the page
// refuses (it then says why and stays); Cancel, or closing the panel, leaves it uncommitted.
void UserPressed(HWND panel, PanelState& state, int button)
{
    if (!state.waiting)
        return;
    if (button == kCancelButton) {
        state.userLines.push_back(L"the user pressed Cancel: the page is left without a commit");
        LeavePage(panel, state);
        return;
    }
    const bool committed = state.page->Commit();
    state.commits.push_back(committed);
    state.userLines.push_back(committed ? L"the user pressed Next >: the host committed the page"
                                        : L"the user pressed Next >: the page refused the commit and stays");
    if (committed)
        LeavePage(panel, state);
}

CProduct* PageProduct(WiraxSession& session)
{
    return reinterpret_cast<CProduct*>(session.record[PageRecord::kProduct]);
}

}  // namespace

void FitPanelToPage(HWND panel, IConfigPage* page, const PanelState& state)
{
    RECT frame{0, 0, 0, page->GetHeight() + ButtonRowHeight(state)};
    RECT pageArea;
    GetWindowRect(page->GetWindow(), &pageArea);
    frame.right = pageArea.right - pageArea.left;
    AdjustWindowRect(&frame, PanelStyle(state), FALSE);
    SetWindowPos(panel, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
    LayOutButtonRow(panel, state);
    ShowWindow(page->GetWindow(), SW_SHOW);
    ShowWindow(panel, SW_SHOW);
    if (state.buttonRow)
        SetForegroundWindow(panel);  // the user works in it, and its picture shows it active
}

namespace {

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* state = reinterpret_cast<PanelState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (state) {
        switch (message) {
        case WM_COPYDATA: {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            const size_t characters = data && data->lpData ? data->cbData / sizeof(wchar_t) : 0;
            std::wstring name(static_cast<const wchar_t*>(data ? data->lpData : nullptr) ? static_cast<const wchar_t*>(data->lpData) : L"",
                              characters);
            name.resize(wcsnlen(name.c_str(), name.size()));
            state->notices.push_back(L"the page told the host that " + name + L" changed");
            state->noticeFacts.push_back(L"page-notice property " + name);
            return TRUE;
        }
        case WM_NOTIFY:
            if (lParam && static_cast<int>(reinterpret_cast<const NMHDR*>(lParam)->code) == kPageHeightChangedCode) {
                state->notices.push_back(L"the page told the host that its height changed");
                state->noticeFacts.push_back(L"page-notice height");
                if (state->buttonRow && state->page)
                    PostMessageW(window, kHostWaits, 1, 0);  // fit the panel again once the page settled
            }
            return 0;
        case kHostWaits:
            if (wParam == 0) {
                state->waiting = true;
                SetPropW(window, kWaitingProperty, reinterpret_cast<HANDLE>(1));
                EnableWindow(state->next, TRUE);
                EnableWindow(state->cancel, TRUE);
            }
            FitPanelToPage(window, state->page, *state);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == kNextButton || LOWORD(wParam) == kCancelButton) {
                UserPressed(window, *state, LOWORD(wParam));
                return 0;
            }
            break;
        case WM_SIZE:
            LayOutButtonRow(window, *state);
            break;
        case kHostCommit:
            state->commits.push_back(state->page->Commit());
            return 0;
        case kHostPropertyChanged: {
            const Step& step = *reinterpret_cast<const Step*>(lParam);
            if (step.value) {
                if (CProduct* product = PageProduct(*state->session))
                    product->SeedProperty(step.text, *step.value);
            }
            state->page->OnPropertyChanged(step.text.c_str());
            return 0;
        }
        default:
            break;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

HWND CreatePanel(PanelState& state)
{
    WNDCLASSW panelClass{};
    panelClass.lpfnWndProc = PanelProc;
    panelClass.hInstance = GetModuleHandleW(nullptr);
    panelClass.lpszClassName = L"HostrunConfigurationPanel";
    panelClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    panelClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassW(&panelClass);
    HWND panel = CreateWindowExW(0, L"HostrunConfigurationPanel", L"Configuration", PanelStyle(state) | WS_CLIPCHILDREN,
                                 CW_USEDEFAULT, CW_USEDEFAULT, 640, 400, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(panel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    if (state.buttonRow)
        CreateButtonRow(panel, state);
    return panel;
}


void PumpPanel(HWND panel, IConfigPage* page, const std::atomic<bool>& done)
{
    MSG message;
    for (;;) {
        if (done)
            return;
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT) == WAIT_TIMEOUT)
            continue;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return;
            if (message.message == WM_SYSCOMMAND && message.hwnd == panel && (message.wParam & 0xFFF0) == SC_CLOSE) {
                PostMessageW(panel, WM_COMMAND, MAKEWPARAM(kCancelButton, BN_CLICKED), 0);
                continue;
            }
            if (!IsWindow(page->GetWindow()) || !IsDialogMessageW(page->GetWindow(), &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }
}


}  // namespace runner::pages
