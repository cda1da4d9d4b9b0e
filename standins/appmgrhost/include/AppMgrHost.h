// The newer setup host's installation, products and context, as the pre-check plug-in sees them.
//
// A small stand-in for the real host library: it keeps what a plug-in reads and writes and records
// every call a plug-in makes in a journal, so that the runner and the tests can show what the
// plug-in did. Strings of this host are QString; lists are standard containers. Members marked
// "inline" are, as in the real host headers, compiled into whoever uses them; plug-ins export their
// own copies.
#pragma once

#include <windows.h>

#include <QtCore/QString>

#include <map>
#include <memory>
#include <optional>
#include <vector>

#ifdef APPMGRHOST_BUILD
#define APPMGRHOST_API __declspec(dllexport)
#else
#define APPMGRHOST_API __declspec(dllimport)
#endif

class CSetupManager;

namespace Setup {
// One enumeration serves for a product's install state and for its install action.
enum tagINSTALLSTATE : int {
    INSTALLSTATE_UNKNOWN = 0,
    INSTALLSTATE_AVAILABLE = 1,  // not on the machine; can be installed
    INSTALLSTATE_INSTALL = 2,    // action: install in this run
    INSTALLSTATE_INSTALLED = 3,  // on the machine already
    INSTALLSTATE_UPGRADE = 4,    // action: replace an older version in this run
    INSTALLSTATE_REINSTALL = 5,  // action: install the same version again
    INSTALLSTATE_PROCEED = 6,    // action: nothing stands in the way
    INSTALLSTATE_BLOCKED = 7,    // cannot be installed; the product's message says why
    INSTALLSTATE_REMOVE = 8,     // action: remove in this run
    INSTALLSTATE_IGNORE = 11,    // action: left out of this run
};

// "blocked", "proceed", ...; the number in decimal for values the host does not name.
APPMGRHOST_API QString InstallStateName(int value);
}  // namespace Setup

// One call a plug-in made into the host. The journal is the stand-in's only addition to the
// host's contract: it lets the runner and the tests observe every call.
struct HostCall {
    enum class Kind {
        ProductFound,      // FindProduct: text = key, product = key if found (empty if not)
        RequisiteFound,    // FindRequisite: same
        PropertyRead,      // product, text = name, number = 1 if read, detail = value
        InstallStateRead,  // product, text = the QString argument, number = state answered
        InstallStateSet,   // product, number = state
        InstallActionSet,  // product, number = action, detail = related product's key, flag
        MessageSet,        // product, number = state, extra = action, text = message
        AlertUrlSet,       // product, text = url
        AlertUrlTitleSet,  // product, text = title
        UserMessage,       // ThrowUserMessage: number = kind, text, extra = first argument,
                           // detail = the five trailing arguments, blank-separated
        SSE2Checked,       // CheckForSSE2Support: product (if any), number = answer,
                           // extra = the host value as a number
    };
    Kind kind = Kind::PropertyRead;
    QString product;
    QString text;
    QString detail;
    long long number = 0;
    long long extra = 0;
    bool flag = false;
};

class APPMGRHOST_API CHostJournal {
public:
    void Add(HostCall call);
    const std::vector<HostCall>& Calls() const { return m_calls; }
    // The calls of one kind, in order.
    std::vector<HostCall> Calls(HostCall::Kind kind) const;
    void Clear() { m_calls.clear(); }

private:
    std::vector<HostCall> m_calls;
};

// The message a product shows: the state and action it was posted with, and its text.
struct ProductMessage {
    int state = 0;
    int action = 0;
    QString text;
};

class CProduct {
public:
    APPMGRHOST_API CProduct(CSetupManager* setupManager, const QString& key);
    CProduct(const CProduct&) = delete;
    CProduct& operator=(const CProduct&) = delete;

    // Copies the installer property, terminated, into buffer (size characters with the terminator).
    // True when the product defines the property and the value fits; otherwise the buffer holds an
    // empty string (when size allows one).
    APPMGRHOST_API bool GetMsiProperty(const QString& name, wchar_t* buffer, DWORD size) const;
    APPMGRHOST_API void SetMsiProperty(const QString& name, const QString& value);
    // The install state of the product, or of the language named by the argument when the host
    // tracks one for it; an empty string asks for the product itself.
    APPMGRHOST_API int GetInstallState(const QString& language) const;
    APPMGRHOST_API void SetInstallState(int state);
    APPMGRHOST_API void SetInstallAction(int action, CProduct* related, bool force);
    APPMGRHOST_API void SetMessage(int state, int action, const QString& text);
    APPMGRHOST_API void SetAlertUrl(const QString& url);
    APPMGRHOST_API void SetAlertUrlTitle(const QString& title);

    // Inline members of the host headers; plug-ins export their copies.
    QString GetAlertUrl() const { return m_alertUrl; }
    QString GetAlertUrlTitle() const { return m_alertUrlTitle; }
    qint64 GetDownloadCompSize() const { return m_downloadCompSize; }
    qint64 GetDownloadUncompSize() const { return m_downloadUncompSize; }
    bool IsMUIProductInstalled() const { return m_muiProductInstalled; }
    bool IsUsingGlobalContentPath() const { return m_usingGlobalContentPath; }
    bool IsUsingGlobalInstallPath() const { return m_usingGlobalInstallPath; }

    // Set-up and read-only views for the runner and the tests; none of them is journalled.
    APPMGRHOST_API void SetLanguageInstallState(const QString& language, int state);
    APPMGRHOST_API QString Property(const QString& name) const;
    const std::map<QString, QString>& Properties() const { return m_properties; }
    const std::optional<ProductMessage>& Message() const { return m_message; }
    const QString& Key() const { return m_key; }

    // Fields that plug-ins read directly.
    CSetupManager* m_pSetupManager;  // the installation the product belongs to
    int m_installAction = 0;
    int m_installState = 0;
    qint64 m_downloadCompSize = 0;
    qint64 m_downloadUncompSize = 0;
    bool m_muiProductInstalled = false;
    bool m_usingGlobalContentPath = false;
    bool m_usingGlobalInstallPath = false;
    QString m_alertUrl;
    QString m_alertUrlTitle;

private:
    QString m_key;
    std::map<QString, QString> m_properties;
    std::map<QString, int> m_languageStates;
    std::optional<ProductMessage> m_message;
};

class CSetupManager {
public:
    APPMGRHOST_API CSetupManager();
    APPMGRHOST_API ~CSetupManager();
    CSetupManager(const CSetupManager&) = delete;
    CSetupManager& operator=(const CSetupManager&) = delete;

    // The installation's products, and the requisites it installs for them; keys ignore case.
    APPMGRHOST_API CProduct* FindProduct(const QString& key) const;
    APPMGRHOST_API CProduct* FindRequisite(const QString& key) const;

    // Inline members of the host headers; plug-ins export their copies.
    QString GetSetupPath() const { return m_setupPath; }
    QString GetSourceRoot() const { return m_sourceRoot; }

    // Set-up for the runner and the tests: adding a key that exists gives the existing product.
    APPMGRHOST_API CProduct* AddProduct(const QString& key);
    APPMGRHOST_API CProduct* AddRequisite(const QString& key);
    const std::vector<std::unique_ptr<CProduct>>& Products() const { return m_products; }
    const std::vector<std::unique_ptr<CProduct>>& Requisites() const { return m_requisites; }

    QString m_setupPath;
    QString m_sourceRoot;

private:
    std::vector<std::unique_ptr<CProduct>> m_products;
    std::vector<std::unique_ptr<CProduct>> m_requisites;
};

// The host process's context: the folder of its resource libraries and the journal of calls.
class CSetupContext {
public:
    APPMGRHOST_API static CSetupContext* Instance();

    // Folder of the host's resource libraries; the host program's folder unless set.
    APPMGRHOST_API QString GetResourcePath() const;
    APPMGRHOST_API void SetResourcePath(const QString& folder);

    // What CheckForSSE2Support answers: the processor's answer unless the runner or a test set one.
    APPMGRHOST_API void SetSSE2Answer(std::optional<bool> answer);
    APPMGRHOST_API bool SSE2Answer() const;

    APPMGRHOST_API CHostJournal& Journal();

private:
    CSetupContext();
    QString m_resourcePath;
    std::optional<bool> m_sse2Answer;
    CHostJournal m_journal;
};

// Reports text to the user. This host records it in the journal and returns 0 at once; the
// trailing arguments select the presentation, and 0 asks for the defaults.
APPMGRHOST_API int ThrowUserMessage(int owner, const QString& text, int kind, int caption, int buttons, int icon,
                                    int helpId, int flags);

// True when the processor has the SSE2 instructions the products need (see CSetupContext).
APPMGRHOST_API bool CheckForSSE2Support(void* hostValue, CProduct* product);
