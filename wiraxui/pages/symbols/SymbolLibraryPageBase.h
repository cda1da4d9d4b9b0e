// The symbol library choice that the configuration page and the wizard page share: the eight
// library boxes, their locks, saving the choice and the disk cost. TPageKind is the page
// template the concrete page T lives in (configuration page or wizard page).
//
// T supplies WriteChoiceProperty(name, value), which decides where a property goes, and
// AddChoiceCost(bytes).
#pragma once

#include "host/Properties.h"
#include "init/PlatformKeys.h"
#include "init/ProcessState.h"
#include "pages/symbols/SymbolLibrarySelection.h"
#include "util/Registry.h"

#include <SetupHost.h>

namespace wiraxui {

template <class T, template <class> class TPageKind>
class CSymbolLibraryPageBase : public TPageKind<T> {
public:
    using TPageKind<T>::TPageKind;

protected:
    // The product whose properties the page reads: the record's, or the main product.
    CProduct* PageProduct() const
    {
        if (this->m_product)
            return this->m_product;
        return this->m_setup ? this->m_setup->FindProduct(L"WIRAX_MAIN") : nullptr;
    }

    int SetupMode() const { return this->m_setup ? this->m_setup->m_setupMode : 0; }

    void InitialiseLibraryBoxes()
    {
        CProduct* product = PageProduct();
        LibraryValues first;
        for (size_t row = 0; row < kDrawingStandardCount; ++row)
            first[row] = ReadProperty(product, *kDrawingStandards[row].tokenProperties.begin());
        m_locks = LibraryLocks{};
        const int mode = SetupMode();
        if (Setup::IsChangingMode(mode)) {
            RegistryKey key(HKEY_LOCAL_MACHINE, State().platformKey);
            for (size_t row = 0; row < kDrawingStandardCount; ++row)
                m_locks.installed[row] = key.ReadDword(kDrawingStandards[row].installedValue);
        }
        m_locks.standaloneLanguagePack = IsFlagSet(product, L"STANDALONE_LP");
        ShowBoxes(InitialLibraryBoxes(first, ReadProperty(product, L"DRAWINGSTANDARD"), m_locks));
    }

    void ShowBoxes(const LibraryBoxes& boxes)
    {
        for (size_t row = 0; row < kDrawingStandardCount; ++row) {
            HWND box = GetDlgItem(this->m_hWnd, kDrawingStandards[row].checkBox);
            SendMessageW(box, BM_SETCHECK, boxes[row].checked ? BST_CHECKED : BST_UNCHECKED, 0);
            EnableWindow(box, boxes[row].enabled ? TRUE : FALSE);
        }
    }

    std::array<bool, kDrawingStandardCount> CheckedBoxes() const
    {
        std::array<bool, kDrawingStandardCount> checked{};
        for (size_t row = 0; row < kDrawingStandardCount; ++row)
            checked[row] = IsDlgButtonChecked(this->m_hWnd, kDrawingStandards[row].checkBox) == BST_CHECKED;
        return checked;
    }

    // Writes the library properties and "SYMBOLLIBRARY" and adds the cost of the choice.
    void SaveLibraryChoice()
    {
        const LibrarySavePlan plan = PlanLibrarySave(CheckedBoxes(), SetupMode(), State().manufacturerContentTotal);
        for (const auto& [name, value] : plan.properties)
            static_cast<T*>(this)->WriteChoiceProperty(name.c_str(), value);
        static_cast<T*>(this)->AddChoiceCost(plan.bytes);
    }

    LibraryLocks m_locks;
};

}  // namespace wiraxui
