// The host's headers define some members inline; the host expects every plug-in to carry and
// export its own copies (see the export table). Taking their addresses here makes the compiler
// emit them into this library so that the linker can export them.
#include <RichLabel.h>
#include <SetupHost.h>

namespace {

struct InlineMemberTable {
    const wchar_t* (CProduct::*getAlertUrl)() const = &CProduct::GetAlertUrl;
    const wchar_t* (CProduct::*getAlertUrlTitle)() const = &CProduct::GetAlertUrlTitle;
    long long (CProduct::*getDownloadCompSize)() const = &CProduct::GetDownloadCompSize;
    long long (CProduct::*getDownloadUncompSize)() const = &CProduct::GetDownloadUncompSize;
    bool (CProduct::*getLiveUpdate)() const = &CProduct::GetLiveUpdate;
    void (CProduct::*setLiveUpdate)(bool) = &CProduct::SetLiveUpdate;
    bool (CProduct::*isMUIProductInstalled)() const = &CProduct::IsMUIProductInstalled;
    bool (CProduct::*isUsingGlobalInstallPath)() const = &CProduct::IsUsingGlobalInstallPath;

    bool (CSetupManager::*isDownloadError)() const = &CSetupManager::isDownloadError;
    void (CSetupManager::*setDownloadError)(bool) = &CSetupManager::SetDownloadError;
    bool (CSetupManager::*isFatalDownloadError)() const = &CSetupManager::isFatalDownloadError;
    void (CSetupManager::*setFatalDownloadError)(bool) = &CSetupManager::SetFatalDownloadError;
    void (CSetupManager::*setProductListsForDeletion)() = &CSetupManager::SetProductListsForDeletion;
    void (CSetupManager::*setRemoveAdditionalMUILPs)() = &CSetupManager::SetRemoveAdditionalMUILPs;
    bool (CSetupManager::*isDirectUrlAvailable)() const = &CSetupManager::isDirectUrlAvailable;
    int (CSetupManager::*progressUpdate)(int, const wchar_t*, void*) = &CSetupManager::ProgressUpdate;

    std::vector<CUiManager::UiPage*>& (CUiManager::*getUiSequence)() = &CUiManager::GetUiSequence;

    void (CBalloonDialog::*setShowItems)(bool) = &CBalloonDialog::SetShowItems;

    bool (CRichLabelCtrl::*isRenderFrameShapeShadowRect)() const = &CRichLabelCtrl::IsRenderFrameShapeShadowRect;
    COLORREF (CRichLabelCtrl::*getBkColor)() const = &CRichLabelCtrl::GetBkColor;
    void (CRichLabelCtrl::*setBkColor)(COLORREF) = &CRichLabelCtrl::SetBkColor;
    float (CRichLabelCtrl::*getBkTransparency)() const = &CRichLabelCtrl::GetBkTransparency;
    void (CRichLabelCtrl::*setBkTransparency)(float) = &CRichLabelCtrl::SetBkTransparency;
    void (CRichLabelCtrl::*setBkWindow)(HWND) = &CRichLabelCtrl::SetBkWindow;
    void (CRichLabelCtrl::*setDrawMask)(DWORD) = &CRichLabelCtrl::SetDrawMask;
    bool (CRichLabelCtrl::*isCursorLocked)() const = &CRichLabelCtrl::IsCursorLocked;
    void (CRichLabelCtrlEx::*setHoverGradient)(COLORREF, COLORREF) = &CRichLabelCtrlEx::SetCustomHoverBackgroundGradientColor;
    void (CRichLabelCtrlEx::*setIdleGradient)(COLORREF, COLORREF) = &CRichLabelCtrlEx::SetCustomIdleBackgroundGradientColor;
    void (CRichLabelCtrlEx::*setIdleHoverRenderFormat)(UINT, UINT) = &CRichLabelCtrlEx::SetIdleHoverRenderFormat;
};

[[gnu::used]] const InlineMemberTable kInlineMembers;

}  // namespace
