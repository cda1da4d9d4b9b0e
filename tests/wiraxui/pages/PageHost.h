// The host side of page tests: a fresh WiraxUI.dll, an installation with the main product, a
// host window for configuration pages, page records with callback lists, and a driver that
// works a wizard page from another thread while its export runs the page's loop.
#pragma once

#include "HostFixture.h"
#include "LoadedLibrary.h"

#include <HostPage.h>
#include <SetupHost.h>
#include <UsageTrack.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace pagetest {

using ConfigPageExport = IConfigPage*(uintptr_t*);
using WizardPageExport = int(uintptr_t*);

// What the host's callbacks saw and answer. Callbacks are plain functions, so this is global.
struct CallbackLog {
    std::atomic<int> initCalls{0};
    std::atomic<int> leaveCalls{0};
    std::atomic<int> leaveAnswer{1};
    std::vector<uintptr_t> lastRecord;
    std::function<void(uintptr_t* record)> onLeave;  // runs inside the leave callback
};
CallbackLog& Log();

int RecordInit(uintptr_t* record);
int RecordLeave(uintptr_t* record);

// A top-level window that plays the host's configuration panel and keeps what pages send it.
class HostPanel {
public:
    HostPanel();
    ~HostPanel();
    HWND Handle() const { return m_window; }
    std::vector<std::wstring> copiedNames;
    std::vector<int> notifyCodes;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_window = nullptr;
};

// A test with a fresh plug-in, an installation with "WIRAX_MAIN" and a page record.
class PageTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void SetMain(const wchar_t* name, const std::wstring& value) { main->SetMsiProperty(name, value.c_str(), false); }
    std::wstring MainProperty(const wchar_t* name) const { return main->Property(name); }
    // Puts the callbacks into the record's init (11) or leave (17) list.
    void UseCallbacks(size_t firstWord, std::vector<PageCallback>& storage);
    size_t CountEvents(HostEvent::Kind kind) const { return host.CountEvents(kind); }
    long long CostOnC() const;

    hostkit::LoadedLibrary plugin{L"WiraxUI.dll"};
    testsupport::HostInstallation host;
    CProduct* main = nullptr;
    std::vector<PageCallback> initCallbacks{&RecordInit};
    std::vector<PageCallback> leaveCallbacks{&RecordLeave};
};

// List-view helpers that act the way a user's clicks on the check boxes do.
int ItemCount(HWND list);
bool IsChecked(HWND list, int index);
void SetChecked(HWND list, int index, bool checked);
std::wstring ItemText(HWND list, int index);
std::vector<std::wstring> CheckedNames(HWND list);
int IndexOf(HWND list, const std::wstring& name);

// Runs script on its own thread once the wizard window (a dialog captioned caption in this
// process) is shown, while the calling thread runs the page's export. A wizard still open
// 20 s after the script ended is stopped with code kDriverTimeout.
constexpr int kDriverTimeout = 9999;
class WizardDriver {
public:
    WizardDriver(std::wstring caption, std::function<void(HWND page)> script);
    ~WizardDriver();
    // True when the script ran to its end.
    bool Finished() const { return m_finished; }

private:
    void Run();
    std::wstring m_caption;
    std::function<void(HWND)> m_script;
    DWORD m_pageThread;
    std::atomic<bool> m_finished{false};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// Presses a button the way a click does, from any thread.
void Click(HWND page, int id);
// Waits until condition holds (up to timeoutMs); answers whether it did.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

}  // namespace pagetest
