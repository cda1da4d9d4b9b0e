#include "PageHost.h"

#include "DialogAnswerer.h"

namespace pagetest {

CallbackLog& Log()
{
    static CallbackLog log;
    return log;
}

int RecordInit(uintptr_t* record)
{
    ++Log().initCalls;
    Log().lastRecord.assign(record, record + PageRecord::kWords);
    return 0;
}

int RecordLeave(uintptr_t* record)
{
    ++Log().leaveCalls;
    Log().lastRecord.assign(record, record + PageRecord::kWords);
    if (Log().onLeave)
        Log().onLeave(record);
    return Log().leaveAnswer;
}

HostPanel::HostPanel()
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"PageTestHostPanel";
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&windowClass);
    m_window = CreateWindowExW(0, L"PageTestHostPanel", L"Host panel", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 760,
                               520, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

HostPanel::~HostPanel()
{
    if (m_window)
        DestroyWindow(m_window);
}

LRESULT CALLBACK HostPanel::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<HostPanel*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        self->copiedNames.emplace_back(static_cast<const wchar_t*>(data->lpData));
        return TRUE;
    }
    if (self && message == WM_NOTIFY) {
        self->notifyCodes.push_back(static_cast<int>(reinterpret_cast<const NMHDR*>(lParam)->code));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void PageTest::SetUp()
{
    ASSERT_TRUE(plugin.Loaded()) << "WiraxUI.dll did not load: " << GetLastError();
    main = host.Add(L"WIRAX_MAIN");
    host.setup.m_titleText = L"Wirax Setup";
    Log().initCalls = 0;
    Log().leaveCalls = 0;
    Log().leaveAnswer = 1;
    Log().lastRecord.clear();
    Log().onLeave = nullptr;
    UsageTrack::ClearReports();
    UseCallbacks(PageRecord::kInitList, initCallbacks);
    UseCallbacks(PageRecord::kLeaveList, leaveCallbacks);
    host.record[PageRecord::kContext] = 0xC0FFEE;
    host.record[PageRecord::kHostWords] = 1;
}

void PageTest::TearDown() { Log().onLeave = nullptr; }

void PageTest::UseCallbacks(size_t firstWord, std::vector<PageCallback>& storage)
{
    auto* list = reinterpret_cast<HostCallbackList*>(&host.record[firstWord]);
    list->first = storage.data();
    list->last = storage.data() + storage.size();
    list->storageEnd = list->last;
}

long long PageTest::CostOnC() const
{
    auto found = main->Costs().find(L"C:");
    return found == main->Costs().end() ? 0 : found->second;
}

int ItemCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

bool IsChecked(HWND list, int index)
{
    const UINT state = static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, index, LVIS_STATEIMAGEMASK));
    return (state >> 12) == 2;
}

void SetChecked(HWND list, int index, bool checked)
{
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    SendMessageW(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

std::wstring ItemText(HWND list, int index)
{
    wchar_t text[128] = L"";
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = text;
    item.cchTextMax = 128;
    SendMessageW(list, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
    return text;
}

std::vector<std::wstring> CheckedNames(HWND list)
{
    std::vector<std::wstring> names;
    for (int index = 0; index < ItemCount(list); ++index) {
        if (IsChecked(list, index))
            names.push_back(ItemText(list, index));
    }
    return names;
}

int IndexOf(HWND list, const std::wstring& name)
{
    for (int index = 0; index < ItemCount(list); ++index) {
        if (ItemText(list, index) == name)
            return index;
    }
    return -1;
}

void Click(HWND page, int id) { PostMessageW(GetDlgItem(page, id), BM_CLICK, 0, 0); }

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < deadline) {
        if (condition())
            return true;
        Sleep(20);
    }
    return condition();
}

WizardDriver::WizardDriver(std::wstring caption, std::function<void(HWND page)> script)
    : m_caption(std::move(caption)), m_script(std::move(script)), m_pageThread(GetCurrentThreadId()),
      m_thread([this] { Run(); })
{
}

WizardDriver::~WizardDriver()
{
    m_stop = true;
    m_thread.join();
}

void WizardDriver::Run()
{
    HWND page = nullptr;
    if (!WaitUntil([&] {
            page = hostkit::FindOwnDialog(m_caption.c_str());
            return page != nullptr;
        }, 15000)) {
        PostThreadMessageW(m_pageThread, WM_QUIT, kDriverTimeout, 0);
        return;
    }
    m_script(page);
    m_finished = true;
    const ULONGLONG deadline = GetTickCount64() + 20000;
    while (!m_stop && IsWindow(page) && GetTickCount64() < deadline)
        Sleep(20);
    if (!m_stop && IsWindow(page))
        PostThreadMessageW(m_pageThread, WM_QUIT, kDriverTimeout, 0);
}

}  // namespace pagetest
