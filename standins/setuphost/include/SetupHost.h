// The setup host's installation, products and setup context, as plug-ins see them.
//
// This is a small stand-in for the real host library: it keeps the state a plug-in reads and
// writes, and records every call a plug-in makes in a journal so that a runner or a test can show
// what the plug-in did. Fields that plug-ins read directly are public members; operations that
// plug-ins call are exported from SetupHost.dll. Members marked "inline" are, as in the real host
// headers, compiled into whoever uses them; plug-ins export their own copies.
#pragma once

#include "HostVocabulary.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#ifdef SETUPHOST_BUILD
#define SETUPHOST_API __declspec(dllexport)
#else
#define SETUPHOST_API __declspec(dllimport)
#endif

class CSetupManager;
class CUiManager;


// The record passed with Setup::PROGRESS_RECORD: a reset (Setup::PROGRESS_RESET, value = total)
// or a step (Setup::PROGRESS_STEP, value = step size, step = 1).
struct ProgressMessage {
    int32_t kind = 0;
    int32_t value = 0;
    int32_t reserved = 0;
    int32_t step = 0;
};

// One thing a plug-in did to the host. The journal is the stand-in's only addition to the host's
// contract: it lets the runner and the tests observe every call.
struct HostEvent {
    enum class Kind {
        PropertySet,        // product property: product, name, before, after
        InstallPropertySet, // installation property (CSetupManager::SetProperty/SetMsiProperty)
        MessageSet,         // product, number = kind, text = message, extra = title
        MessageDeleted,     // product, number = kind
        CostAdded,          // product, name = drive, bytes
        CostCleared,        // product
        AlertUrlSet,        // product, after = url
        AlertUrlTitleSet,   // product, after = title
        CancellingEnabled,  // number = 0 or 1
        CancelConfirmed,    // OnCancel: number = flag
        DeploymentCancelled,
        SetupModeReset,
        FeatureActionSet,   // product, name = feature, number = action
        Other,              // name says what
        Progress,           // ProgressUpdate: number = message kind, name = text, progress = record
    };
    Kind kind = Kind::Other;
    std::wstring product;
    std::wstring name;
    std::wstring before;
    std::wstring after;
    std::wstring extra;
    long long number = 0;
    bool hadBefore = false;
    bool hasProgress = false;
    ProgressMessage progress;
};

class SETUPHOST_API CHostJournal {
public:
    void Add(HostEvent event);
    const std::vector<HostEvent>& Events() const { return m_events; }
    void Clear() { m_events.clear(); }

private:
    std::vector<HostEvent> m_events;
};

class CProduct;

// A feature of a product's installation package; the install action is what the host will do
// with it (3: install locally).
class CFeature {
public:
    SETUPHOST_API CFeature(CProduct* product, const std::wstring& name);
    CFeature(const CFeature&) = delete;
    CFeature& operator=(const CFeature&) = delete;

    SETUPHOST_API void SetFeatureAction(int action);

    // Read-only views for the runner and the tests.
    const std::wstring& Name() const { return m_name; }
    int Action() const { return m_action; }

private:
    CProduct* m_product;
    std::wstring m_name;
    int m_action = 0;
};

// The features of one product.
class CFeatureManager {
public:
    explicit CFeatureManager(CProduct* product) : m_product(product) {}
    CFeatureManager(const CFeatureManager&) = delete;
    CFeatureManager& operator=(const CFeatureManager&) = delete;

    // Null when the product has no feature of that name (compared without regard to case).
    SETUPHOST_API CFeature* FindFeature(const wchar_t* name) const;

    // Set-up of the product's package, used by the runner and the tests.
    SETUPHOST_API CFeature* AddFeature(const std::wstring& name);

private:
    CProduct* m_product;
    std::vector<std::unique_ptr<CFeature>> m_features;
};

// A message shown beside a product: one per kind.
struct ProductMessage {
    std::wstring text;
    std::wstring title;
};

class CProduct {
public:
    SETUPHOST_API CProduct(CSetupManager* owner, const std::wstring& key);
    CProduct(const CProduct&) = delete;
    CProduct& operator=(const CProduct&) = delete;

    // Copies the property into buffer (size in characters, in/out, as Windows Installer does):
    // returns ERROR_SUCCESS, or ERROR_MORE_DATA with a truncated, terminated value and the needed
    // size. An undefined property reads as empty.
    SETUPHOST_API UINT GetMsiProperty(const wchar_t* name, wchar_t* buffer, DWORD* size) const;
    SETUPHOST_API UINT SetMsiProperty(const wchar_t* name, const wchar_t* value, bool flag);
    SETUPHOST_API void AddExternalCost(const wchar_t* drive, long long bytes);
    SETUPHOST_API void ClearExternalCost();
    SETUPHOST_API void SetMessage(int kind, const wchar_t* text, const wchar_t* title);
    SETUPHOST_API void DeleteMessage(int kind, bool flag);
    SETUPHOST_API void SetAlertUrl(const wchar_t* url);
    SETUPHOST_API void SetAlertUrlTitle(const wchar_t* title);
    SETUPHOST_API CProduct* FindLangPack(const wchar_t* language) const;

    // Inline members of the host headers; plug-ins export their copies.
    const wchar_t* GetAlertUrl() const { return m_alertUrl.c_str(); }
    const wchar_t* GetAlertUrlTitle() const { return m_alertUrlTitle.c_str(); }
    long long GetDownloadCompSize() const { return m_downloadCompSize; }
    long long GetDownloadUncompSize() const { return m_downloadUncompSize; }
    bool GetLiveUpdate() const { return m_liveUpdate; }
    void SetLiveUpdate(bool liveUpdate) { m_liveUpdate = liveUpdate; }
    bool IsMUIProductInstalled() const { return m_muiProductInstalled; }
    bool IsUsingGlobalInstallPath() const { return m_usingGlobalInstallPath; }

    // The host's own set-up of a property (from its packages or a scenario): not a plug-in call,
    // so it is not journalled.
    SETUPHOST_API void SeedProperty(const std::wstring& name, const std::wstring& value);

    // Read-only views for the runner and the tests.
    SETUPHOST_API std::wstring Property(const std::wstring& name) const;
    SETUPHOST_API bool HasProperty(const std::wstring& name) const;
    const std::map<std::wstring, std::wstring>& Properties() const { return m_properties; }
    const std::map<std::wstring, long long>& Costs() const { return m_costs; }
    const std::map<int, ProductMessage>& Messages() const { return m_messages; }
    const std::wstring& Key() const { return m_key; }
    CSetupManager* Owner() const { return m_owner; }

    // Fields that plug-ins read directly.
    int m_installState = 0;   // Setup::tagINSTALLSTATE; Setup::IsInstalledState tells the installed ones
    int m_actionWord = 0;     // Setup::INSTALLACTION_INSTALL: installed in this run
    std::wstring m_productCode;  // the product's installer product code, "{...}"
    long long m_downloadCompSize = 0;
    long long m_downloadUncompSize = 0;
    bool m_liveUpdate = false;
    bool m_muiProductInstalled = false;
    bool m_usingGlobalInstallPath = false;
    std::wstring m_name;         // a language pack's name, such as "en-us"
    std::wstring m_packagePath;  // full path of the product's installation package
    CFeatureManager m_featureManager{this};
    std::wstring m_alertUrl;
    std::wstring m_alertUrlTitle;

private:
    CSetupManager* m_owner;
    std::wstring m_key;
    std::map<std::wstring, std::wstring> m_properties;
    std::map<std::wstring, long long> m_costs;  // by drive, as the plug-in names it
    std::map<int, ProductMessage> m_messages;
};

// A remembered window rectangle of the wizard.
class CUiManager {
public:
    struct UiPage {
        std::wstring name;
    };
    SETUPHOST_API bool IsWindowPosSaved() const;
    SETUPHOST_API RECT GetWindowPos() const;
    SETUPHOST_API void SetWindowPos(const RECT& rect);

    // Inline member of the host headers.
    std::vector<UiPage*>& GetUiSequence() { return m_uiSequence; }

    std::vector<UiPage*> m_uiSequence;

private:
    bool m_saved = false;
    RECT m_rect{};
};

class CSetupManager {
public:
    using ProgressCallback = std::function<void(int kind, const wchar_t* text, void* progress)>;

    SETUPHOST_API CSetupManager();
    SETUPHOST_API ~CSetupManager();
    CSetupManager(const CSetupManager&) = delete;
    CSetupManager& operator=(const CSetupManager&) = delete;

    // Operations plug-ins call.
    SETUPHOST_API CProduct* FindProduct(const wchar_t* key) const;
    SETUPHOST_API UINT SetMsiProperty(const wchar_t* name, const wchar_t* value, bool flag);
    SETUPHOST_API void SetProperty(const wchar_t* name, const wchar_t* value);
    SETUPHOST_API void EnableCancelling(bool enable);
    SETUPHOST_API void OnCancel(bool confirmed);
    SETUPHOST_API void CancelDeployment();
    SETUPHOST_API int ResetSetupMode();
    SETUPHOST_API std::wstring GetHostResPath() const;
    SETUPHOST_API std::wstring GetSourceResPath() const;
    // Journalled as Other "IsDisplayMUIUninstallDialog" with the answer as number.
    SETUPHOST_API bool IsDisplayMUIUninstallDialog() const;

    // Inline members of the host headers; plug-ins export their copies.
    bool isDownloadError() const { return m_downloadError; }
    void SetDownloadError(bool error) { m_downloadError = error; }
    bool isFatalDownloadError() const { return m_fatalDownloadError; }
    void SetFatalDownloadError(bool error) { m_fatalDownloadError = error; }
    void SetProductListsForDeletion() { m_productListsForDeletion = true; }
    void SetRemoveAdditionalMUILPs() { m_removeAdditionalMUILPs = true; }
    bool isDirectUrlAvailable() const { return !m_directUrl.empty(); }
    int ProgressUpdate(int kind, const wchar_t* text, void* progress)
    {
        std::lock_guard<std::recursive_mutex> lock(m_lock);
        HostEvent event;
        event.kind = HostEvent::Kind::Progress;
        event.number = kind;
        event.name = text ? text : L"";
        if (progress) {
            event.hasProgress = true;
            event.progress = *static_cast<const ProgressMessage*>(progress);
        }
        m_journal.Add(std::move(event));
        for (const ProgressCallback& callback : m_progressCallbacks)
            callback(kind, text, progress);
        return 1;
    }

    // Set-up of the installation, used by the runner and the tests.
    SETUPHOST_API CProduct* AddProduct(const std::wstring& key);
    SETUPHOST_API std::wstring InstallProperty(const std::wstring& name) const;
    const std::vector<std::unique_ptr<CProduct>>& Products() const { return m_products; }
    CHostJournal& Journal() { return m_journal; }
    const CHostJournal& Journal() const { return m_journal; }

    // Fields that plug-ins read directly.
    int m_setupMode = Setup::SETUPMODE_INSTALL;  // Setup::SetupMode
    bool m_networkPaths = false;       // treated like a deployment for the network data paths
    std::wstring m_installPath;        // its drive receives extra disk cost
    std::wstring m_sourceRoot;
    std::wstring m_adminImagePath;
    int m_targetPlatform = 0;          // 2 selects x86
    int m_runState = 0;                // Setup::RUNSTATE_PAST_CANCELLING: Cancel acts as Next on wizard pages
    bool m_cancelFlag = false;
    bool m_cancelAllowed = true;
    int m_resultCode = 0;              // Setup::RESULT_CANCELLED after a confirmed cancel
    std::wstring m_languageName;
    std::vector<std::wstring> m_languageList;
    std::wstring m_uiLanguage;
    std::wstring m_deploymentFolder;
    std::wstring m_deploymentName;
    std::wstring m_setupFolder;
    std::wstring m_titleText = L"Setup";
    std::wstring m_iconPath;
    HMODULE m_resourceModule = nullptr;
    std::wstring m_documentationPath;
    std::wstring m_supportPath;
    std::wstring m_requirementsPath;
    std::wstring m_documentationUrl;   // online addresses of the same three documents
    std::wstring m_supportUrl;
    std::wstring m_requirementsUrl;
    std::wstring m_hostResPath;
    std::wstring m_sourceResPath;
    std::wstring m_directUrl;
    bool m_downloadError = false;
    bool m_fatalDownloadError = false;
    bool m_productListsForDeletion = false;
    bool m_removeAdditionalMUILPs = false;
    bool m_displayMUIUninstallDialog = false;  // what IsDisplayMUIUninstallDialog answers
    int m_resetSetupModeResult = 0;    // what ResetSetupMode answers
    CUiManager m_uiManager;
    std::vector<ProgressCallback> m_progressCallbacks;
    std::recursive_mutex m_lock;

private:
    std::vector<std::unique_ptr<CProduct>> m_products;
    std::map<std::wstring, std::wstring> m_installProperties;
    mutable CHostJournal m_journal;  // questions a plug-in asks are journalled too
};

// The process's setup context: where the host keeps its resource libraries.
class CSetupContext {
public:
    SETUPHOST_API static CSetupContext* Instance();
    // Full path of the host's copy of a resource library: the resource folder joined with name.
    SETUPHOST_API std::wstring GetResDllPath(const wchar_t* name) const;
    // Folder that GetResDllPath resolves against; defaults to the host program's folder.
    SETUPHOST_API void SetResourceFolder(const std::wstring& folder);
    SETUPHOST_API std::wstring ResourceFolder() const;

private:
    CSetupContext();
    std::wstring m_resourceFolder;
};
