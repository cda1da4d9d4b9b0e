#include "AppMgrHost.h"

namespace {

CProduct* Find(const std::vector<std::unique_ptr<CProduct>>& products, const QString& key)
{
    for (const auto& product : products) {
        if (product->Key().compare(key, Qt::CaseInsensitive) == 0)
            return product.get();
    }
    return nullptr;
}

CProduct* FindRecorded(const std::vector<std::unique_ptr<CProduct>>& products, const QString& key, HostCall::Kind kind)
{
    CProduct* product = Find(products, key);
    HostCall call{kind, product ? product->Key() : QString(), key};
    call.number = product != nullptr;
    CSetupContext::Instance()->Journal().Add(std::move(call));
    return product;
}

CProduct* Add(CSetupManager* owner, std::vector<std::unique_ptr<CProduct>>& products, const QString& key)
{
    if (CProduct* existing = Find(products, key))
        return existing;
    products.push_back(std::make_unique<CProduct>(owner, key));
    return products.back().get();
}

}  // namespace

CSetupManager::CSetupManager() = default;
CSetupManager::~CSetupManager() = default;

CProduct* CSetupManager::FindProduct(const QString& key) const
{
    return FindRecorded(m_products, key, HostCall::Kind::ProductFound);
}

CProduct* CSetupManager::FindRequisite(const QString& key) const
{
    return FindRecorded(m_requisites, key, HostCall::Kind::RequisiteFound);
}

CProduct* CSetupManager::AddProduct(const QString& key) { return Add(this, m_products, key); }
CProduct* CSetupManager::AddRequisite(const QString& key) { return Add(this, m_requisites, key); }
