// The wizard page on which the user picks the symbol libraries to install.
#pragma once

#include "host/HostRecord.h"
#include "pages/controls/SeparatorStatic.h"
#include "pages/framework/WizardPageImpl.h"
#include "pages/symbols/SymbolLibraryPageBase.h"

#include <WiraxUIRes.h>

extern "C" int SymbolLibraryDialog(wiraxui::HostRecord* record);

namespace wiraxui {

class CSymbolLibraryDialog : public CSymbolLibraryPageBase<CSymbolLibraryDialog, CWizardPageImpl> {
public:
    enum { IDD = IDD_SYMBOL_LIBRARY_DIALOG };
    static constexpr const wchar_t* kPageName = L"CSymbolLibraryDialog";

    using CSymbolLibraryPageBase::CSymbolLibraryPageBase;

    void DoDataExchange();
    void OnPageInit();
    void SaveChoice() { SaveLibraryChoice(); }

    // The wizard's choice goes to the page's product and to the installation alike.
    void WriteChoiceProperty(const wchar_t* name, const std::wstring& value);
    void AddChoiceCost(long long bytes);

private:
    CSeparatorStatic m_separator;
};

}  // namespace wiraxui
