#include "AppMgrHost.h"
#include "UnsetProperties.h"

#include <cwchar>

namespace {
std::optional<QString> g_unsetPropertyValue;
void Record(HostCall call) { CSetupContext::Instance()->Journal().Add(std::move(call)); }
}  // namespace

CProduct::CProduct(CSetupManager* setupManager, const QString& key) : m_pSetupManager(setupManager), m_key(key) {}

bool CProduct::GetMsiProperty(const QString& name, wchar_t* buffer, DWORD size) const
{
    auto found = m_properties.find(name);
    const std::optional<QString>& unset = g_unsetPropertyValue;
    const bool defined = found != m_properties.end() || unset.has_value();
    const QString text = found != m_properties.end() ? found->second : unset.value_or(QString());
    const std::wstring value = text.toStdWString();
    const bool fits = value.size() < size;
    if (buffer && size > 0) {
        const size_t copied = defined && fits ? value.size() : 0;
        wmemcpy(buffer, value.data(), copied);
        buffer[copied] = L'\0';
    }
    const bool read = defined && fits && buffer;
    HostCall call{HostCall::Kind::PropertyRead, m_key, name};
    call.number = read;
    call.detail = read ? text : QString();
    Record(std::move(call));
    return read;
}

void CProduct::SetMsiProperty(const QString& name, const QString& value) { m_properties[name] = value; }

QString CProduct::Property(const QString& name) const
{
    auto found = m_properties.find(name);
    if (found != m_properties.end())
        return found->second;
    return g_unsetPropertyValue.value_or(QString());
}

int CProduct::GetInstallState(const QString& language) const
{
    int state = m_installState;
    if (!language.isEmpty()) {
        auto found = m_languageStates.find(language);
        if (found != m_languageStates.end())
            state = found->second;
    }
    HostCall call{HostCall::Kind::InstallStateRead, m_key, language};
    call.number = state;
    Record(std::move(call));
    return state;
}

void CProduct::SetLanguageInstallState(const QString& language, int state) { m_languageStates[language] = state; }

void CProduct::SetInstallState(int state)
{
    m_installState = state;
    HostCall call{HostCall::Kind::InstallStateSet, m_key};
    call.number = state;
    Record(std::move(call));
}

void CProduct::SetInstallAction(int action, CProduct* related, bool force)
{
    m_installAction = action;
    HostCall call{HostCall::Kind::InstallActionSet, m_key};
    call.number = action;
    call.detail = related ? related->Key() : QString();
    call.flag = force;
    Record(std::move(call));
}

void CProduct::SetMessage(int state, int action, const QString& text)
{
    m_message = ProductMessage{state, action, text};
    HostCall call{HostCall::Kind::MessageSet, m_key, text};
    call.number = state;
    call.extra = action;
    Record(std::move(call));
}

void CProduct::SetAlertUrl(const QString& url)
{
    m_alertUrl = url;
    Record(HostCall{HostCall::Kind::AlertUrlSet, m_key, url});
}

void CProduct::SetAlertUrlTitle(const QString& title)
{
    m_alertUrlTitle = title;
    Record(HostCall{HostCall::Kind::AlertUrlTitleSet, m_key, title});
}

void SetUnsetPropertyValue(std::optional<QString> value) { g_unsetPropertyValue = std::move(value); }
