// A page of the host's configuration panel: a child dialog that the host creates through an
// export, lays out by its height, commits, tells about property changes and destroys.
//
// The concrete page T supplies IDD, DoDataExchange() (its control bindings), OnPageInit(),
// CommitPage() (validate and write; false keeps the user on the page) and
// PropertyChanged(name). Its ProcessWindowMessage handles its own messages first and passes the
// rest on to this class.
#pragma once

#include "host/ResourceLibrary.h"
#include "pages/framework/PageImplBase.h"
#include "pages/framework/PageNotices.h"
#include "pages/controls/TitleLine.h"

#include <HostCtrls.h>
#include <HostPage.h>

#include <set>

namespace wiraxui {

template <class T>
class CConfigPageImpl : public CPageImplBase<T>, public IConfigPage {
public:
    static constexpr COLORREF kBackgroundColour = 0xCCCAC8;
    static constexpr COLORREF kGreyTextColour = 0x6D6D6D;

    explicit CConfigPageImpl(const HostRecord* record)
        : CPageImplBase<T>(record), m_parent(reinterpret_cast<HWND>(record[PageRecord::kParentWindow]))
    {
        // The page holds the product library for as long as it lives: the host may ask for
        // texts of it (property names) at any time.
        if (const auto* path = reinterpret_cast<const wchar_t*>(record[PageRecord::kResourcePath]))
            m_library.Load(path);
    }

    ~CConfigPageImpl() override
    {
        if (this->m_hWnd)
            ::DestroyWindow(this->m_hWnd);
    }

    // IConfigPage: nothing the page does may reach the host as an exception.
    bool Commit() override
    {
        try {
            // The page reads its choice from its controls: with the window gone there is no
            // choice left to write, and writing the defaults would overwrite the user's.
            if (!this->m_hWnd || !IsWindow(this->m_hWnd))
                return false;
            if (RunLeaveList() == kStayOnPage)
                return false;
            return static_cast<T*>(this)->CommitPage();
        } catch (...) {
            return false;
        }
    }
    HWND GetWindow() override { return this->m_hWnd; }
    void Destroy() override { delete this; }
    int GetHeight() override { return m_height; }
    void OnPropertyChanged(const wchar_t* nameOrId) override
    {
        try {
            static_cast<T*>(this)->PropertyChanged(ResolvePropertyName(nameOrId, m_library.Module()));
        } catch (...) {
        }
    }

    int RunCallbacks(const CallbackList& list, int emptyResult) override
    {
        return RunCallbackList(list, this->EventSource(), emptyResult);
    }
    int RunLeaveList() override { return RunCallbacks(this->m_leaveList, kEmptyLeaveListResult); }
    virtual int RunRefreshList() { return RunCallbacks(this->m_refreshList, kEmptyListResult); }

    const std::wstring& ResourceLibraryPath() const { return m_library.Path(); }

protected:
    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        switch (message) {
        case WM_INITDIALOG:
            result = OnInitDialog();
            return TRUE;
        case WM_ERASEBKGND: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetBkMode(dc, TRANSPARENT);
            RECT client;
            GetClientRect(window, &client);
            FillRect(dc, &client, Background());
            result = 1;
            return TRUE;
        }
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetBkMode(dc, TRANSPARENT);
            SetBkColor(dc, kBackgroundColour);
            if (message == WM_CTLCOLORSTATIC)
                SetTextColor(dc, m_greyStatics.count(reinterpret_cast<HWND>(lParam)) ? kGreyTextColour : RGB(0, 0, 0));
            result = reinterpret_cast<LRESULT>(Background());
            return TRUE;
        }
        case WM_LBUTTONDOWN:
            m_leftButtonDown = true;
            result = 0;
            return TRUE;
        case WM_LBUTTONUP:
            if (m_leftButtonDown) {
                // A click on the page's background takes the focus away from the host's panel.
                if (HWND first = ::GetWindow(window, GW_CHILD))
                    SetFocus(first);
                m_leftButtonDown = false;
            }
            result = 0;
            return TRUE;
        default:
            return this->HandleBaseMessage(message, wParam, lParam, result);
        }
    }

    // Tells the host that the page wrote a property other pages may depend on.
    void NotifyPropertyChanged(const std::wstring& name) { SendPropertyChangedNotice(this->m_hWnd, m_parent, name); }

    // The page grew or shrank: record the new client height and tell the host.
    void NotifyHeightChanged()
    {
        RECT client;
        GetClientRect(this->m_hWnd, &client);
        m_height = client.bottom - client.top;
        SendHeightChangedNotice(this->m_hWnd, m_parent);
    }

    HWND m_parent;
    CResourceLibraryLoader m_library;
    CBrushHandle m_background;
    bool m_leftButtonDown = false;
    COLORREF m_greyText = kGreyTextColour;
    HWND m_title = nullptr;
    COwnerDrawStatic m_titleLine;
    COLORREF m_backgroundColour = kBackgroundColour;
    std::set<HWND> m_greyStatics;
    int m_height = 0;
    CFontHandle m_titleFont;

private:
    HBRUSH Background()
    {
        if (!m_background)
            m_background.Reset(CreateSolidBrush(m_backgroundColour));
        return m_background.Get();
    }

    LRESULT OnInitDialog()
    {
        m_leftButtonDown = false;
        this->BindControl(IDC_PAGE_TITLE, m_title);
        static_cast<T*>(this)->DoDataExchange();
        this->CreatePageFonts();
        m_titleFont.Reset(this->m_pageFont.CreateBold());
        if (m_title && m_titleFont)
            SendMessageW(m_title, WM_SETFONT, reinterpret_cast<WPARAM>(m_titleFont.Get()), TRUE);
        AttachTitleLine(this->m_hWnd, m_titleLine);
        RECT client;
        GetClientRect(this->m_hWnd, &client);
        m_height = client.bottom - client.top;
        RunCallbacks(this->m_initList, kEmptyListResult);
        static_cast<T*>(this)->OnPageInit();
        return FALSE;  // the page has placed the focus itself
    }
};

}  // namespace wiraxui
