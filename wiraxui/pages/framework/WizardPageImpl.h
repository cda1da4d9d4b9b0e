// A page the plug-in shows as its own top-level window between the host's wizard pages. Its
// export runs the page's message loop and returns when the user leaves the page with First,
// Back, Next or Cancel.
//
// The concrete page T supplies IDD, kPageName (its name in usage reports), DoDataExchange(),
// OnPageInit() and SaveChoice() (store the current choice without validating it), and may
// supply ApplyNext() (Next's step, which can keep the user on the page). Its
// ProcessWindowMessage handles its own messages first and passes the rest on to this class.
#pragma once

#include "host/ResourceLibrary.h"
#include "pages/controls/CustomizeHyperLink.h"
#include "pages/framework/PageExports.h"
#include "pages/framework/PageImplBase.h"
#include "pages/controls/TitleLine.h"
#include "pages/framework/WizardActions.h"
#include "pages/framework/WizardLinks.h"
#include "pages/framework/WizardPlacement.h"

#include <HostCtrls.h>
#include <RichLabel.h>
#include <SetupHost.h>
#include <UsageTrack.h>
#include <WiraxUIRes.h>

#include <memory>
#include <string>
#include <vector>

namespace wiraxui {

// Controls every wizard template may have.
constexpr int IDC_WIZARD_NEXT = IDOK;
constexpr int IDC_WIZARD_CANCEL = IDCANCEL;
constexpr int IDC_UNNAMED_STATIC = -1;

// Colours of the wizard window: content on white, the buttons on a grey band.
constexpr COLORREF kWizardContentColour = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kWizardBandColour = RGB(0xF0, 0xF0, 0xF0);
constexpr COLORREF kWizardBandLineColour = RGB(0xD6, 0xD6, 0xD6);
constexpr COLORREF kWizardTitleColour = RGB(0x00, 0x3D, 0x7A);

template <class T>
class CWizardPageImpl : public CPageImplBase<T>, public CIdleHandler, public IRichLabelNotify {
public:
    explicit CWizardPageImpl(const HostRecord* record)
        : CPageImplBase<T>(record),
          m_resourceModule(reinterpret_cast<HMODULE>(record[PageRecord::kResourceModule]))
    {
        this->m_exitCode = kWizardCancelled;
        if (const CSetupManager* setup = this->m_setup) {
            m_linkAddresses[0] = setup->m_documentationUrl;
            m_linkAddresses[1] = setup->m_supportUrl;
            m_linkAddresses[2] = setup->m_requirementsUrl;
        }
    }

    ~CWizardPageImpl() override
    {
        Unregister();
        if (this->m_hWnd)
            ::DestroyWindow(this->m_hWnd);
    }

    int RunCallbacks(const CallbackList& list, int emptyResult) override
    {
        return RunCallbackList(list, this->EventSource(), emptyResult);
    }
    int RunLeaveList() override { return RunCallbacks(this->m_leaveList, kEmptyLeaveListResult); }
    virtual int RunRefreshList() { return RunCallbacks(this->m_refreshList, kEmptyListResult); }

    // Enter on a focused link opens it; everything else is the dialog's keyboard handling.
    BOOL PreTranslateMessage(MSG* message) override
    {
        HWND window = this->m_hWnd;
        if (!window || (message->hwnd != window && !IsChild(window, message->hwnd)))
            return FALSE;
        if (message->message == WM_KEYDOWN && message->wParam == VK_RETURN) {
            for (CCustomizeHyperLink* link : Links()) {
                if (link->m_hWnd && GetFocus() == link->m_hWnd) {
                    link->Activate();
                    return TRUE;
                }
            }
        }
        return IsDialogMessageW(window, message);
    }

    // The page has no work to do while the thread is idle.
    BOOL OnIdle() override { return FALSE; }

    // IRichLabelNotify
    int OnLinkClicked(HWND, const wchar_t* target) override
    {
        try {
            if (target)
                OpenRichLabelTarget(target, this->m_setup);
        } catch (...) {
        }
        return 0;
    }
    int OnLinkHovered(HWND, const wchar_t*) override { return 0; }
    int OnContentHeightChanged(HWND, int) override { return 0; }

    int ExitCode() const { return this->m_exitCode; }

    // Next's own step once the leave list lets the user go: a page that answers false stays.
    // Pages that only keep their choice leave this to SaveChoice.
    bool ApplyNext()
    {
        static_cast<T*>(this)->SaveChoice();
        return true;
    }

protected:
    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        switch (message) {
        case WM_INITDIALOG:
            result = OnInitDialog();
            return TRUE;
        case WM_DESTROY: {
            // Only a page whose loop still runs ends it; a page destroyed after its loop (the
            // host quit first) must not end the host's own loop as well.
            CMessageLoop* loop = m_loop;
            Unregister();
            UsageTrack::wpPageDestroy(T::kPageName);
            if (loop)
                loop->Quit(this->m_exitCode);
            result = 0;
            return TRUE;
        }
        case WM_ERASEBKGND:
            result = 1;
            return TRUE;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            PaintBackground(dc);
            EndPaint(window, &paint);
            result = 0;
            return TRUE;
        }
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR:
            result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
            return TRUE;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC: {
            BOOL reflected = FALSE;
            result = this->ReflectNotification(message, wParam, lParam, reflected);
            if (!reflected || !result)
                result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
            return TRUE;
        }
        case WM_WINDOWPOSCHANGING:
            PlaceWizardWindow(window, *reinterpret_cast<WINDOWPOS*>(lParam),
                              this->m_setup ? &this->m_setup->m_uiManager : nullptr, m_positionInitialised);
            result = 0;
            return TRUE;
        case WM_COMMAND:
            if (OnCommand(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam))) {
                result = 0;
                return TRUE;
            }
            break;
        default:
            break;
        }
        return this->HandleBaseMessage(message, wParam, lParam, result);
    }

    void OnHandlerFailure() override
    {
        // A page that failed half-way cannot be trusted with the user's choice any more. Its loop
        // ends with 1603 at once: going through Cancel would ask the user, or act as Next.
        this->m_exitCode = kWizardNotCreated;
        if (m_loop)
            m_loop->Quit(kWizardNotCreated);
    }

    // Leaves the page with code: the window goes, and its loop ends with the code.
    void Leave(int code)
    {
        this->m_exitCode = code;
        if (this->m_hWnd)
            ::DestroyWindow(this->m_hWnd);
    }

    // White content above a grey band that holds the buttons and links.
    virtual void PaintBackground(HDC dc)
    {
        RECT client;
        GetClientRect(this->m_hWnd, &client);
        const int band = BandTop();
        RECT content{client.left, client.top, client.right, band};
        RECT lower{client.left, band, client.right, client.bottom};
        CBrushHandle white(CreateSolidBrush(kWizardContentColour));
        CBrushHandle grey(CreateSolidBrush(kWizardBandColour));
        FillRect(dc, &content, white.Get());
        FillRect(dc, &lower, grey.Get());
        RECT line{client.left, band, client.right, band + 1};
        CBrushHandle lineBrush(CreateSolidBrush(kWizardBandLineColour));
        FillRect(dc, &line, lineBrush.Get());
    }

    // The band starts a little above the highest navigation button.
    int BandTop() const
    {
        RECT client;
        GetClientRect(this->m_hWnd, &client);
        int top = client.bottom;
        for (int id : {IDC_WIZARD_FIRST, IDC_WIZARD_BACK, IDC_WIZARD_NEXT, IDC_WIZARD_CANCEL}) {
            HWND button = GetDlgItem(this->m_hWnd, id);
            if (!button)
                continue;
            RECT area;
            GetWindowRect(button, &area);
            MapWindowPoints(nullptr, this->m_hWnd, reinterpret_cast<POINT*>(&area), 2);
            top = area.top < top ? area.top : top;
        }
        return top == client.bottom ? client.bottom : top - MulDiv(10, HIWORD(GetDialogBaseUnits()), 8);
    }

    HMODULE m_resourceModule;
    const wchar_t* const m_whitelistName = L"whitelist.xml";
    const wchar_t* const m_setupFolderName = L"Setup";
    CMessageLoop* m_loop = nullptr;
    COwnerDrawButton m_firstButton;
    COwnerDrawButton m_backButton;
    COwnerDrawButton m_nextButton;
    COwnerDrawButton m_cancelButton;
    CTransparentStatic m_title;
    CTransparentStatic m_unnamedStatic;
    CTransparentStatic m_subtitle;
    CCustomizeHyperLink m_documentationLink;
    CCustomizeHyperLink m_supportLink;
    CCustomizeHyperLink m_requirementsLink;
    std::wstring m_linkAddresses[3];
    bool m_positionInitialised = false;
    CIconHandle m_smallIcon;
    CIconHandle m_bigIcon;
    CFontHandle m_titleFont;
    std::vector<std::unique_ptr<CRichLabelCtrl>> m_richLabels;

private:
    void Unregister()
    {
        if (m_loop) {
            m_loop->RemoveMessageFilter(this);
            m_loop->RemoveIdleHandler(this);
        }
        m_loop = nullptr;
    }

    // The host's rich labels in the page's template report their link clicks to the page
    // (IRichLabelNotify), which opens the documents they point at.
    void AttachRichLabels()
    {
        for (HWND child = ::GetWindow(this->m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            wchar_t name[32] = L"";
            if (!GetClassNameW(child, name, 32) || _wcsicmp(name, kRichLabelClass) != 0)
                continue;
            auto label = std::make_unique<CRichLabelCtrl>();
            label->SetBkColor(kWizardContentColour);
            if (label->SubclassWindow(child, this))
                m_richLabels.push_back(std::move(label));
        }
    }

    std::array<CCustomizeHyperLink*, 3> Links()
    {
        return {&m_documentationLink, &m_supportLink, &m_requirementsLink};
    }

    LRESULT OnInitDialog()
    {
        HWND window = this->m_hWnd;
        if (this->CreatePageFonts()) {
            for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
                SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(this->m_pageFont.Handle()), FALSE);
        }
        SetIcons();
        m_loop = ThreadMessageLoop();
        if (m_loop) {
            m_loop->AddMessageFilter(this);
            m_loop->AddIdleHandler(this);
        }

        this->BindControl(IDC_WIZARD_FIRST, m_firstButton);
        this->BindControl(IDC_WIZARD_BACK, m_backButton);
        this->BindControl(IDC_WIZARD_NEXT, m_nextButton);
        this->BindControl(IDC_WIZARD_CANCEL, m_cancelButton);
        this->BindControl(IDC_PAGE_TITLE, m_title);
        this->BindControl(IDC_UNNAMED_STATIC, m_unnamedStatic);
        this->BindControl(IDC_WIZARD_SUBTITLE, m_subtitle);
        m_title.SetTextColor(kWizardTitleColour);
        m_titleFont.Reset(this->m_pageFont.CreateBold());
        if (m_title.m_hWnd && m_titleFont)
            SendMessageW(m_title.m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_titleFont.Get()), FALSE);
        static_cast<T*>(this)->DoDataExchange();
        AttachRichLabels();

        SetWindowTextW(window, WindowTitle().c_str());
        SetUpLinks();
        if (this->m_hostWords[0] == 0)
            EnableWindow(GetDlgItem(window, IDC_WIZARD_BACK), FALSE);
        // Lets WM_WINDOWPOSCHANGING put the window where the wizard was.
        SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        UsageTrack::wpPageInit(T::kPageName);
        static_cast<T*>(this)->OnPageInit();
        return FALSE;  // the page has placed the focus itself
    }

    void SetIcons()
    {
        const CSetupManager* setup = this->m_setup;
        if (setup && !setup->m_iconPath.empty()) {
            m_smallIcon.Reset(static_cast<HICON>(LoadImageW(nullptr, setup->m_iconPath.c_str(), IMAGE_ICON, 16, 16, LR_LOADFROMFILE)));
            m_bigIcon.Reset(static_cast<HICON>(LoadImageW(nullptr, setup->m_iconPath.c_str(), IMAGE_ICON, 32, 32, LR_LOADFROMFILE)));
        } else if (m_resourceModule) {
            m_smallIcon.Reset(static_cast<HICON>(LoadImageW(m_resourceModule, MAKEINTRESOURCEW(IDI_WIZARD), IMAGE_ICON, 16, 16, 0)));
            m_bigIcon.Reset(static_cast<HICON>(LoadImageW(m_resourceModule, MAKEINTRESOURCEW(IDI_WIZARD), IMAGE_ICON, 32, 32, 0)));
        }
        SendMessageW(this->m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.Get()));
        SendMessageW(this->m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon.Get()));
    }

    std::wstring WindowTitle() const
    {
        const CSetupManager* setup = this->m_setup;
        if (!setup)
            return std::wstring();
        std::wstring title = setup->m_titleText;
        const int mode = setup->m_setupMode;
        if (Setup::IsDeploymentMode(mode) && !setup->m_deploymentName.empty())
            title += L" - " + setup->m_deploymentName;
        return title;
    }

    void SetUpLinks()
    {
        const int ids[] = {IDC_WIZARD_DOCUMENTATION, IDC_WIZARD_SUPPORT, IDC_WIZARD_REQUIREMENTS};
        const auto links = Links();
        for (size_t index = 0; index < links.size(); ++index) {
            if (!this->BindControl(ids[index], *links[index]))
                continue;
            links[index]->SetLinkStyle(CCustomizeHyperLink::kCommandStyle);
            links[index]->SetBackgroundColour(kWizardBandColour);
            if (m_linkAddresses[index].size() <= kMaxLinkAddress)
                links[index]->SetTarget(m_linkAddresses[index]);
        }
    }

    // True when the command was one of the page's buttons or links.
    bool OnCommand(WORD code, WORD id, HWND control)
    {
        const bool click = control && code == BN_CLICKED;
        switch (id) {
        case IDC_WIZARD_FIRST:
            if (click)
                OnFirst();
            return click;
        case IDC_WIZARD_BACK:
            if (click)
                OnBack();
            return click;
        case IDC_WIZARD_NEXT:
            if (click)
                OnNext();
            return click;
        case IDC_WIZARD_CANCEL:
            // Also the window's close box, which comes without a control.
            if (click || !control)
                OnCancel(control);
            return true;
        case IDC_WIZARD_DOCUMENTATION:
        case IDC_WIZARD_SUPPORT:
        case IDC_WIZARD_REQUIREMENTS:
            if (click)
                OnLink(id);
            return click;
        default:
            return false;
        }
    }

    void OnFirst()
    {
        CBusyScope busy(this->m_busy);
        if (!busy.Acquired())
            return;
        CPersistentWaitCursor wait;
        if (this->m_setup && this->m_setup->ResetSetupMode() == 0)
            Leave(kWizardFirst);
        UsageTrack::Destroy();
        UsageTrack::Initialize(false, UsageWhitelistPath(this->m_setup).c_str());
        UsageTrack::wpButtonClicked(L"First", 0, false);
    }

    void OnBack()
    {
        CBusyScope busy(this->m_busy);
        if (!busy.Acquired())
            return;
        CPersistentWaitCursor wait;
        static_cast<T*>(this)->SaveChoice();
        Leave(kWizardBack);
        UsageTrack::wpButtonClicked(L"Back", 0, false);
    }

    void OnNext()
    {
        CBusyScope busy(this->m_busy);
        if (!busy.Acquired())
            return;
        CPersistentWaitCursor wait;
        if (RunLeaveList() == kStayOnPage)
            return;
        if (!static_cast<T*>(this)->ApplyNext())
            return;
        Leave(kWizardNext);
        UsageTrack::wpButtonClicked(L"Next", 0, false);
    }

    void OnCancel(HWND control)
    {
        CSetupManager* setup = this->m_setup;
        if (!setup)
            return;
        if (setup->m_runState == Setup::RUNSTATE_PAST_CANCELLING) {
            // The setup has gone past the point of cancelling: Cancel only moves on.
            if (!GetDlgItem(this->m_hWnd, IDC_WIZARD_NEXT))
                return;
            CBusyScope busy(this->m_busy);
            if (!busy.Acquired())
                return;
            CPersistentWaitCursor wait;
            if (RunLeaveList() == kStayOnPage)
                return;
            Leave(kWizardNext);
            UsageTrack::wpButtonClicked(L"Next", 0, false);
            return;
        }
        if (!setup->m_cancelAllowed)
            return;
        CBusyScope busy(this->m_busy);
        if (!busy.Acquired())
            return;
        if (ConfirmCancel(this->m_hWnd, *setup)) {
            Leave(kWizardCancelled);
        } else if (this->m_hWnd) {
            HWND cancel = GetDlgItem(this->m_hWnd, IDC_WIZARD_CANCEL);
            EnableWindow(cancel, TRUE);
            SetFocus(control ? control : cancel);
        }
        UsageTrack::wpButtonClicked(L"Cancel", 0, false);
    }

    void OnLink(WORD id)
    {
        CBusyScope busy(this->m_busy);
        if (!busy.Acquired())
            return;
        CPersistentWaitCursor wait;
        const WizardLink link = id == IDC_WIZARD_DOCUMENTATION ? WizardLink::Documentation
                                : id == IDC_WIZARD_SUPPORT     ? WizardLink::Support
                                                               : WizardLink::Requirements;
        const size_t index = static_cast<size_t>(link);
        const std::wstring address = m_linkAddresses[index].size() <= kMaxLinkAddress ? m_linkAddresses[index] : std::wstring();
        OpenWizardLink(link, this->m_setup, address);
    }
};

}  // namespace wiraxui
