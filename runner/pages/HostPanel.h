// The host panel a configuration page lives in: a top-level window that is the page's parent,
// takes the page's notices (property names, height changes), commits the page for the host and,
// when a user sees the page (--show, --pictures), carries the host's button row under it.
#pragma once

#include "engine/WiraxPlayer.h"

#include <HostPage.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

namespace runner::pages {

struct PanelState {
    IConfigPage* page = nullptr;
    WiraxSession* session = nullptr;
    Report* report = nullptr;
    std::vector<bool> commits;
    std::vector<std::wstring> notices;  // report lines, in order
    std::vector<std::wstring> noticeFacts;
    // The host's button row under the page, when a user sees the page (--show, or its picture).
    bool buttonRow = false;
    HWND next = nullptr;
    HWND cancel = nullptr;
    HWND rule = nullptr;
    HFONT font = nullptr;
    bool waiting = false;            // the buttons are the user's
    std::atomic<bool> left{false};   // the user left the page with them
    std::vector<std::wstring> userLines;

    PanelState() = default;
    PanelState(const PanelState&) = delete;
    PanelState& operator=(const PanelState&) = delete;
    ~PanelState()
    {
        if (font)
            DeleteObject(font);
    }
};

HWND CreatePanel(PanelState& state);
// Sizes the panel to the page (and its button row) and shows both.
void FitPanelToPage(HWND panel, IConfigPage* page, const PanelState& state);
// Pumps the thread's messages until done is set (the user's steps ran and, with --show, the user
// left the page).
void PumpPanel(HWND panel, IConfigPage* page, const std::atomic<bool>& done);

}  // namespace runner::pages
