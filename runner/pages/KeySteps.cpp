// Steps with the keyboard: the user moves the focus to a control and presses Enter or Space
// there, and the user who presses a wizard button a second time while the page still handles
// the first press.
//
// A key press is what the keyboard driver puts in the page thread's queue: WM_KEYDOWN and
// WM_KEYUP for the focused control, taken by the page's own message loop (its message filter
// first, then the dialog manager). The step ends once the page's loop has taken both: a marker
// posted to the thread after them is watched for with a message hook on the page's thread.
//
// A second press can reach a page while it handles the first only when something lets messages
// through during that handling. On a wizard page's Next that is the host's leave callback: a
// host callback that keeps its own windows alive pumps the thread's messages, and the second
// press comes in then (HostCallbacks.cpp calls LetSecondPressIn from its callbacks).
#include "pages/StepActions.h"

#include <memory>
#include <mutex>

namespace runner::pages {

namespace {

using hostkit::ScenarioError;

// The marker that follows a key press through the page's queue.
struct MarkerWatch {
    std::mutex mutex;
    UINT message = 0;
    HANDLE seen = nullptr;  // set once the page's loop took the marker
};

MarkerWatch& Markers()
{
    static MarkerWatch watch;
    return watch;
}

LRESULT CALLBACK MarkerHook(int code, WPARAM removed, LPARAM lParam)
{
    if (code == HC_ACTION && removed == PM_REMOVE) {
        const MSG* message = reinterpret_cast<const MSG*>(lParam);
        MarkerWatch& watch = Markers();
        if (message && watch.message && message->message == watch.message && watch.seen)
            SetEvent(watch.seen);
    }
    return CallNextHookEx(nullptr, code, removed, lParam);
}

LPARAM KeyData(UINT key, bool up)
{
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    return 1 | scan | (up ? (LPARAM{1} << 30) | (LPARAM{1} << 31) : 0);
}

struct SecondPressState {
    std::mutex mutex;
    bool armed = false;
    HANDLE handling = nullptr;  // the page runs the host's callback for the first press
    HANDLE delivered = nullptr;  // the second press has been handled by the page
};

SecondPressState& SecondPress()
{
    static SecondPressState state;
    return state;
}

struct EventHandle {
    HANDLE handle = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ~EventHandle()
    {
        if (handle)
            CloseHandle(handle);
    }
};

}  // namespace

bool FocusControl(HWND control, DWORD pageThread)
{
    // As the user's Tab does: the dialog manager moves the focus (and the default button).
    SendMessageW(GetParent(control), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(pageThread, &info) && info.hwndFocus == control;
}

StepAction PressKey(const Step& step, HWND control, DWORD pageThread)
{
    const UINT key = step.text == L"space" ? VK_SPACE : VK_RETURN;
    return [control, pageThread, key] {
        MarkerWatch& watch = Markers();
        auto seen = std::make_shared<EventHandle>();
        {
            std::lock_guard<std::mutex> lock(watch.mutex);
            watch.message = RegisterWindowMessageW(L"HostrunKeyStepMarker");
            watch.seen = seen->handle;
        }
        HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, MarkerHook, nullptr, pageThread);
        PostMessageW(control, WM_KEYDOWN, key, KeyData(key, false));
        PostMessageW(control, WM_KEYUP, key, KeyData(key, true));
        // To the thread, not the control: a key that ends the page leaves no window to post to,
        // and the thread's loop still takes what came before its quit.
        PostThreadMessageW(pageThread, watch.message, 0, 0);
        // The page's loop takes the marker after it has handled both keys, or from inside a
        // dialog the key opened; either way the key has done what it does by itself.
        if (hook)
            WaitForSingleObject(seen->handle, kStepTimeoutMs);
        if (hook)
            UnhookWindowsHookEx(hook);
        std::lock_guard<std::mutex> lock(watch.mutex);
        watch.seen = nullptr;
    };
}

StepAction PressTwice(HWND button, std::function<void(bool)> told)
{
    return [button, told] {
        SecondPressState& state = SecondPress();
        EventHandle handling, delivered;
        {
            std::lock_guard<std::mutex> lock(state.mutex);
            state.armed = true;
            state.handling = handling.handle;
            state.delivered = delivered.handle;
        }
        // The first press comes through the page's queue, as a click does.
        PostMessageW(button, BM_CLICK, 0, 0);
        const bool during = WaitForSingleObject(handling.handle, kStepTimeoutMs) == WAIT_OBJECT_0;
        if (during)
            SendMessageW(button, BM_CLICK, 0, 0);  // taken while the host's callback lets messages in
        SetEvent(delivered.handle);
        {
            std::lock_guard<std::mutex> lock(state.mutex);
            state.armed = false;
            state.handling = state.delivered = nullptr;
        }
        told(during);
    };
}

void LetSecondPressIn()
{
    SecondPressState& state = SecondPress();
    HANDLE delivered = nullptr;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        if (!state.armed)
            return;
        state.armed = false;  // one second press; a callback the second press runs lets nothing in
        // A handle of its own: the step that made the event may close its one as soon as it is set.
        if (!DuplicateHandle(GetCurrentProcess(), state.delivered, GetCurrentProcess(), &delivered, SYNCHRONIZE, FALSE, 0))
            return;
        SetEvent(state.handling);
    }
    const std::unique_ptr<void, decltype(&CloseHandle)> own(delivered, &CloseHandle);
    const ULONGLONG deadline = GetTickCount64() + kStepTimeoutMs;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return;
        const DWORD woke = MsgWaitForMultipleObjects(1, &delivered, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        if (woke != WAIT_OBJECT_0 + 1)
            return;  // delivered (or the wait failed)
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // The page's own loop ends with it, not this callback.
                PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

}  // namespace runner::pages
