// The host's callback lists of a page and how a page runs them.
#pragma once

#include "host/HostRecord.h"

#include <HostPage.h>
#include <windows.h>

#include <vector>

class CSetupManager;
class CProduct;

namespace wiraxui {

using CallbackList = std::vector<PageCallback>;

// The page's own copy of the list in three words of the record (null entries are dropped).
CallbackList CopyCallbackList(const HostRecord* record, size_t firstWord);

// What a page tells the callbacks about itself.
struct PageEventSource {
    HWND window = nullptr;
    CSetupManager* setup = nullptr;
    CProduct* product = nullptr;
    uintptr_t context = 0;
};

// Empty lists answer this: the init and refresh lists nothing, the leave list "go on".
constexpr int kEmptyListResult = 0;
constexpr int kEmptyLeaveListResult = 1;
// A callback's answer that keeps the user on the page.
constexpr int kStayOnPage = Setup::CALLBACK_STAY_ON_PAGE;

// Calls each callback in order with the same page-event record, filled afresh for this run;
// the last one's answer is the list's answer.
int RunCallbackList(const CallbackList& list, const PageEventSource& source, int emptyResult);

// The same, but no callback runs after one that answers kStayOnPage.
int RunCallbackListUntilStay(const CallbackList& list, const PageEventSource& source, int emptyResult);

}  // namespace wiraxui
