// The user: plays a page's steps from a thread of its own while the page's thread (the host's)
// runs the page, answers the dialogs the page opens as the scenario says, and, with --show or
// --pictures, stops where the host waits for the user.
#pragma once

#include "engine/Report.h"
#include "pages/StepReading.h"
#include "engine/WiraxPlayer.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace runner::pages {

class PageUser {
public:
    // name: the page's export, for the pictures. panelLeft: set by a configuration page's panel
    // once the user left the page with its buttons.
    PageUser(WiraxSession& session, DWORD pageThread, HWND panel, bool wizard, std::wstring name,
             const std::atomic<bool>* panelLeft = nullptr);

    // The page's window, once it is there (wizard pages: found by the user thread).
    void SetPage(HWND page) { m_page = page; }
    // The tick count at which the wizard page's window was found (0: not found).
    ULONGLONG PageFoundAt() const { return m_pageFoundAt; }

    void Play(const std::vector<Step>& steps);

    // The first mistake the steps ran into, if any.
    std::optional<hostkit::ScenarioError> Error() const;
    std::vector<std::wstring> TakeLines();
    // Facts the steps found (buttons as shown, keys pressed, second presses, what was read), in order.
    std::vector<std::wstring> TakeFacts();
    struct Answered {
        std::wstring caption, text, answer;
    };
    std::vector<Answered> TakeAnswered();
    bool ForcedQuit() const { return m_forcedQuit; }

    std::atomic<bool> m_pageDone{false};

private:
    [[noreturn]] static void Fail(int line, const std::wstring& message);
    void Record(const hostkit::ScenarioError& error);
    void Say(const std::wstring& line);
    void Tell(const std::wstring& line, const std::wstring& fact);
    void TellWizardButtons();
    void HostWaits();
    void WaitForUser();
    void TakePicture(HWND window, const std::wstring& name);
    bool WaitForWizard();
    HWND CurrentDialog();
    HWND Control(const Step& step, HWND dialog);
    std::wstring DialogName(HWND dialog) const;
    std::function<void()> ActionFor(const Step& step);
    void PlayStep(const Step& step);
    void Read(const Step& step);
    bool NewDialogOpened(const Step& step);
    void FinishSteps(int lastLine);
    void Unwind();

    WiraxSession& m_session;
    DWORD m_pageThread;
    HWND m_panel;
    bool m_wizard;
    std::wstring m_name;
    const std::atomic<bool>* m_panelLeft;
    HWND m_page = nullptr;
    std::atomic<ULONGLONG> m_pageFoundAt{0};
    HWND m_current = nullptr;
    std::set<HWND> m_known;
    std::optional<int> m_pendingAnswer;
    int m_pendingAnswerLine = 0;
    bool m_pendingAnswerIfAsked = false;
    std::vector<std::thread> m_actions;
    std::atomic<bool> m_forcedQuit{false};
    mutable std::mutex m_mutex;
    std::optional<hostkit::ScenarioError> m_error;
    std::vector<std::wstring> m_lines;
    std::vector<std::wstring> m_facts;
    std::vector<Answered> m_answered;
};

// The steps the user played and the dialogs answered, into the report.
void ReportUser(PageUser& user, Report& report);

}  // namespace runner::pages
