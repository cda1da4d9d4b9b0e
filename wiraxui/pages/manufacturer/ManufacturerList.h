// The manufacturer check list that both manufacturer pages show, and the host side of saving
// the choice made in it.
#pragma once

#include "pages/manufacturer/ManufacturerSelection.h"

#include <WiraxUIRes.h>
#include <windows.h>

#include <vector>

class CSetupManager;
class CProduct;

namespace wiraxui {

class CManufacturerList {
public:
    // Sets the list up and fills it from the main product's properties (string resources come
    // from the current resource instance). Enables control 1 when something is checked.
    void Initialise(HWND dialog, HWND list, CSetupManager* setup);

    void SetAllChecked(bool checked);
    std::vector<bool> CheckStates() const;
    size_t CheckedCount() const;
    // Control 1 (Next) is usable exactly when something is checked.
    void UpdateNextButton() const;
    void RedrawAfterScroll() const;

    // Writes the current check states of the first rows to the main product, the installation
    // and the process-wide selection.
    ManufacturerSavePlan Save(size_t rows) const;

    CProduct* MainProduct() const { return m_main; }
    bool ChangingInstallation() const { return m_changingInstallation; }
    HWND Handle() const { return m_list; }

private:
    HWND m_dialog = nullptr;
    HWND m_list = nullptr;
    CSetupManager* m_setup = nullptr;
    CProduct* m_main = nullptr;
    bool m_changingInstallation = false;
};

}  // namespace wiraxui
