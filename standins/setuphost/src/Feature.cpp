#include "SetupHost.h"

CFeature::CFeature(CProduct* product, const std::wstring& name) : m_product(product), m_name(name) {}

void CFeature::SetFeatureAction(int action)
{
    m_action = action;
    HostEvent event;
    event.kind = HostEvent::Kind::FeatureActionSet;
    event.product = m_product->Key();
    event.name = m_name;
    event.number = action;
    m_product->Owner()->Journal().Add(std::move(event));
}

CFeature* CFeatureManager::FindFeature(const wchar_t* name) const
{
    if (!name)
        return nullptr;
    for (const auto& feature : m_features) {
        if (_wcsicmp(feature->Name().c_str(), name) == 0)
            return feature.get();
    }
    return nullptr;
}

CFeature* CFeatureManager::AddFeature(const std::wstring& name)
{
    if (CFeature* existing = FindFeature(name.c_str()))
        return existing;
    m_features.push_back(std::make_unique<CFeature>(m_product, name));
    return m_features.back().get();
}
