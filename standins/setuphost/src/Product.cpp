#include "SetupHost.h"
#include "UnsetProperties.h"

#include <cwchar>

namespace {
std::optional<std::wstring> g_unsetPropertyValue;
std::wstring Text(const wchar_t* value) { return value ? std::wstring(value) : std::wstring(); }
}  // namespace

CProduct::CProduct(CSetupManager* owner, const std::wstring& key) : m_owner(owner), m_key(key) {}

UINT CProduct::GetMsiProperty(const wchar_t* name, wchar_t* buffer, DWORD* size) const
{
    if (!name || !size)
        return ERROR_INVALID_PARAMETER;
    const std::wstring value = Property(name);
    if (!buffer || *size == 0) {
        *size = static_cast<DWORD>(value.size());
        return ERROR_MORE_DATA;
    }
    const size_t copied = value.size() < *size ? value.size() : *size - 1;
    wmemcpy(buffer, value.data(), copied);
    buffer[copied] = L'\0';
    const bool fits = copied == value.size();
    *size = static_cast<DWORD>(value.size());
    return fits ? ERROR_SUCCESS : ERROR_MORE_DATA;
}

UINT CProduct::SetMsiProperty(const wchar_t* name, const wchar_t* value, bool flag)
{
    if (!name)
        return ERROR_INVALID_PARAMETER;
    HostEvent event;
    event.kind = HostEvent::Kind::PropertySet;
    event.product = m_key;
    event.name = name;
    event.number = flag;
    auto found = m_properties.find(name);
    event.hadBefore = found != m_properties.end();
    if (event.hadBefore)
        event.before = found->second;
    event.after = Text(value);
    m_properties[name] = event.after;
    m_owner->Journal().Add(std::move(event));
    return ERROR_SUCCESS;
}

void CProduct::AddExternalCost(const wchar_t* drive, long long bytes)
{
    const std::wstring name = Text(drive);
    m_costs[name] += bytes;
    HostEvent event;
    event.kind = HostEvent::Kind::CostAdded;
    event.product = m_key;
    event.name = name;
    event.number = bytes;
    m_owner->Journal().Add(std::move(event));
}

void CProduct::ClearExternalCost()
{
    m_costs.clear();
    HostEvent event;
    event.kind = HostEvent::Kind::CostCleared;
    event.product = m_key;
    m_owner->Journal().Add(std::move(event));
}

void CProduct::SetMessage(int kind, const wchar_t* text, const wchar_t* title)
{
    m_messages[kind] = ProductMessage{Text(text), Text(title)};
    HostEvent event;
    event.kind = HostEvent::Kind::MessageSet;
    event.product = m_key;
    event.number = kind;
    event.after = Text(text);
    event.extra = Text(title);
    m_owner->Journal().Add(std::move(event));
}

void CProduct::DeleteMessage(int kind, bool flag)
{
    m_messages.erase(kind);
    HostEvent event;
    event.kind = HostEvent::Kind::MessageDeleted;
    event.product = m_key;
    event.number = kind;
    event.extra = flag ? L"true" : L"false";
    m_owner->Journal().Add(std::move(event));
}

void CProduct::SetAlertUrl(const wchar_t* url)
{
    m_alertUrl = Text(url);
    HostEvent event;
    event.kind = HostEvent::Kind::AlertUrlSet;
    event.product = m_key;
    event.after = m_alertUrl;
    m_owner->Journal().Add(std::move(event));
}

void CProduct::SetAlertUrlTitle(const wchar_t* title)
{
    m_alertUrlTitle = Text(title);
    HostEvent event;
    event.kind = HostEvent::Kind::AlertUrlTitleSet;
    event.product = m_key;
    event.after = m_alertUrlTitle;
    m_owner->Journal().Add(std::move(event));
}

CProduct* CProduct::FindLangPack(const wchar_t* language) const
{
    // Language packs are products keyed "<product>_<language>" in this host.
    return m_owner->FindProduct((m_key + L"_" + Text(language)).c_str());
}

void CProduct::SeedProperty(const std::wstring& name, const std::wstring& value) { m_properties[name] = value; }

std::wstring CProduct::Property(const std::wstring& name) const
{
    auto found = m_properties.find(name);
    if (found != m_properties.end())
        return found->second;
    return g_unsetPropertyValue.value_or(std::wstring());
}

bool CProduct::HasProperty(const std::wstring& name) const { return m_properties.count(name) != 0; }

void SetUnsetPropertyValue(std::optional<std::wstring> value) { g_unsetPropertyValue = std::move(value); }
