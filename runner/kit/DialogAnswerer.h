// Answers the dialogs a plug-in shows (message boxes, confirmations) the way a user would, so
// that a headless run or a test goes on, and remembers what each dialog said.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace hostkit {

struct SeenDialog {
    std::wstring caption;
    std::wstring text;  // texts of the dialog's static controls, one per line
    int answer = 0;     // the command identifier that was pressed
};

class DialogAnswerer {
public:
    // Watches this process's top-level dialogs whose caption is one of captions (all dialogs
    // when empty) and presses the button with identifier answer in each.
    DialogAnswerer(std::vector<std::wstring> captions, int answer);
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    std::vector<SeenDialog> Seen() const;
    // Waits up to timeoutMs for at least count dialogs; true when they came.
    bool WaitFor(size_t count, DWORD timeoutMs) const;

private:
    void Watch();
    void Answer(HWND dialog);

    std::vector<std::wstring> m_captions;
    int m_answer;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::vector<SeenDialog> m_seen;
    std::vector<HWND> m_answered;
    std::thread m_thread;
};

// A visible top-level dialog of this process with the caption (any caption when null). Programs
// on the same display may show dialogs with the same caption; they are not ours to drive.
HWND FindOwnDialog(const wchar_t* caption);

// Captions and static texts of a window's children, one per line.
std::wstring StaticTexts(HWND window);

}  // namespace hostkit
