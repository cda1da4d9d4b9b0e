// What every page of the plug-in shares: the host's objects it was created for, its callback
// lists, the host's font, the busy flag of its button actions, and the message handling common
// to configuration and wizard pages.
#pragma once

#include "host/HostRecord.h"
#include "pages/framework/DialogImpl.h"
#include "pages/framework/GdiHandles.h"
#include "pages/framework/MessageLoop.h"
#include "pages/framework/PageCallbacks.h"
#include "pages/framework/PageFonts.h"
#include "pages/framework/PersistentWaitCursor.h"

#include <HostPage.h>

#include <array>
#include <atomic>

class CSetupManager;
class CProduct;

namespace wiraxui {

// Holds a page's busy flag for one button action; an action that cannot take it must not run.
class CBusyScope {
public:
    explicit CBusyScope(std::atomic<LONG>& flag) : m_flag(flag)
    {
        LONG idle = 0;
        m_acquired = m_flag.compare_exchange_strong(idle, 1);
    }
    ~CBusyScope()
    {
        if (m_acquired)
            m_flag.store(0);
    }
    CBusyScope(const CBusyScope&) = delete;
    CBusyScope& operator=(const CBusyScope&) = delete;
    bool Acquired() const { return m_acquired; }

private:
    std::atomic<LONG>& m_flag;
    bool m_acquired = false;
};

template <class T>
class CPageImplBase : public CDialogImpl<T>, public CWinDataExchange<T>, public CMessageFilter {
public:
    explicit CPageImplBase(const HostRecord* record)
        : m_hostValue(record[PageRecord::kHostValue]),
          m_setup(reinterpret_cast<CSetupManager*>(record[PageRecord::kSetupManager])),
          m_product(reinterpret_cast<CProduct*>(record[PageRecord::kProduct])),
          m_initList(CopyCallbackList(record, PageRecord::kInitList)),
          m_refreshList(CopyCallbackList(record, PageRecord::kRefreshList)),
          m_leaveList(CopyCallbackList(record, PageRecord::kLeaveList)),
          m_context(record[PageRecord::kContext]),
          m_hostWords{record[PageRecord::kHostWords], record[PageRecord::kHostWords + 1],
                      record[PageRecord::kHostWords + 2]},
          m_queryCancelAutoPlay(RegisterWindowMessageW(L"QueryCancelAutoPlay"))
    {
    }

    // Runs one of the page's lists; emptyResult answers an empty list.
    virtual int RunCallbacks(const CallbackList& list, int emptyResult) = 0;
    // Answers kStayOnPage when a callback wants the user to stay.
    virtual int RunLeaveList() = 0;

    BOOL PreTranslateMessage(MSG*) override { return FALSE; }

    bool IsBusy() const { return m_busy.load() != 0; }
    CSetupManager* SetupManager() const { return m_setup; }
    CProduct* Product() const { return m_product; }

protected:
    BOOL ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        return HandleBaseMessage(message, wParam, lParam, result);
    }

    BOOL HandleBaseMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
    {
        switch (message) {
        case WM_SETCURSOR:
            if (CPersistentWaitCursor::IsActive() || IsBusy()) {
                result = TRUE;
                return TRUE;
            }
            return FALSE;
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
            result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
            return TRUE;
        default:
            break;
        }
        if (message >= 0xC000 && message <= 0xFFFF) {
            // Windows asks the foreground window before it starts AutoPlay: not while a page is up.
            if (message != m_queryCancelAutoPlay)
                return FALSE;
            result = TRUE;
            return TRUE;
        }
        BOOL handled = FALSE;
        result = this->ReflectNotification(message, wParam, lParam, handled);
        return handled;
    }

    // The page font of the host library; the dialog keeps its template font when there is none.
    bool CreatePageFonts()
    {
        const auto spec = LoadHostFontSpec();
        return spec && m_pageFont.Create(this->m_hWnd, *spec);
    }

    PageEventSource EventSource() const { return {this->m_hWnd, m_setup, m_product, m_context}; }

    CGdiplusSession m_gdiplus;  // first in, last out: the fonts and controls below draw with it
    uintptr_t m_hostValue;
    CSetupManager* m_setup;
    CProduct* m_product;
    CallbackList m_initList;
    CallbackList m_refreshList;
    CallbackList m_leaveList;
    uintptr_t m_context;
    CPageFont m_pageFont;
    std::array<uintptr_t, PageRecord::kHostWordCount> m_hostWords;
    std::atomic<LONG> m_busy{0};
    int m_exitCode = 0;
    UINT m_queryCancelAutoPlay;
};

}  // namespace wiraxui
