// The symbol library wizard page: its export runs the page's loop while a driver thread works
// the page's boxes and buttons.
#include "PageHost.h"
#include "PageLayoutChecks.h"

#include <WiraxUIRes.h>

namespace pagetest {
namespace {

constexpr wchar_t kCaption[] = L"Wirax Setup";

class SymbolLibraryDialogTest : public PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        run = plugin.Export<WizardPageExport>("SymbolLibraryDialog");
        ASSERT_NE(run, nullptr);
        host.record[PageRecord::kProduct] = reinterpret_cast<uintptr_t>(main);
    }

    int Run(std::function<void(HWND)> script)
    {
        WizardDriver driver(kCaption, std::move(script));
        const int code = run(host.record.data());
        EXPECT_TRUE(driver.Finished()) << "the page closed before the script ended";
        return code;
    }

    WizardPageExport* run = nullptr;
};

bool IsChecked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

TEST_F(SymbolLibraryDialogTest, NextWritesTheChoiceToTheProductAndToTheInstallation)
{
    SetMain(L"DRAWINGSTANDARD", L"JIS");
    SetMain(L"WXIEEE", L"1");
    main->AddExternalCost(L"C:", 5);
    bool jisLocked = false;
    bool ieeeChecked = false;
    const int code = Run([&](HWND page) {
        jisLocked = IsChecked(page, IDC_SYMBOLS_JIS) && !IsWindowEnabled(GetDlgItem(page, IDC_SYMBOLS_JIS));
        ieeeChecked = IsChecked(page, IDC_SYMBOLS_IEEE);
        SendMessageW(GetDlgItem(page, IDC_SYMBOLS_AS), BM_CLICK, 0, 0);
        Click(page, IDOK);
    });
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(jisLocked);
    EXPECT_TRUE(ieeeChecked);
    EXPECT_EQ(MainProperty(L"SYMBOLLIBRARY"), L"IEEE,JIS,AS2,");
    EXPECT_EQ(host.setup.InstallProperty(L"SYMBOLLIBRARY"), L"IEEE,JIS,AS2,");
    for (const wchar_t* name : {L"WXJIC1", L"WXJICDEMO", L"WXIEEE", L"WXIEEEDEMO", L"WXJIS2", L"WXJISDEMO", L"WXAS2",
                                L"WXASDEMO", L"WXIEC2", L"WXNFPA"}) {
        EXPECT_EQ(host.setup.InstallProperty(name), MainProperty(name)) << testsupport::Narrow(name);
        EXPECT_FALSE(MainProperty(name).empty()) << testsupport::Narrow(name);
    }
    EXPECT_EQ(MainProperty(L"WXAS2"), L"1");
    EXPECT_EQ(MainProperty(L"WXIEC2"), L"0");
    // The page starts the product's cost afresh and adds its own.
    EXPECT_EQ(CountEvents(HostEvent::Kind::CostCleared), 1u);
    EXPECT_EQ(CostOnC(), 2705308172LL + 213674059LL + 200607478LL + 207294692LL);
    EXPECT_EQ(Log().leaveCalls, 1);
}

TEST_F(SymbolLibraryDialogTest, BackSavesWithoutTheLeaveListAndAChangedInstallationAddsTheManufacturerTotal)
{
    host.setup.m_setupMode = ::Setup::SETUPMODE_REMOVAL;
    // Product initialisation, then the manufacturer wizard page, which leaves its total behind.
    using RecordExport = int(uintptr_t*);
    plugin.Export<RecordExport>("InitializeProduct_WRX")(host.record.data());
    SetMain(L"M_SI", L"1");
    WizardDriver manufacturers(kCaption, [](HWND page) { Click(page, IDOK); });
    ASSERT_EQ(plugin.Export<WizardPageExport>("ManufacturerContentDialog")(host.record.data()), 1);
    Log().leaveCalls = 0;

    const int code = Run([&](HWND page) {
        SendMessageW(GetDlgItem(page, IDC_SYMBOLS_GB), BM_CLICK, 0, 0);
        Click(page, IDC_WIZARD_BACK);
    });
    EXPECT_EQ(code, 1001);
    EXPECT_EQ(Log().leaveCalls, 0);
    // Initialisation asked for the JIC libraries.
    EXPECT_EQ(MainProperty(L"SYMBOLLIBRARY"), L"JIC,GB,");
    EXPECT_EQ(host.setup.InstallProperty(L"WXGBDEMO"), L"1");
    EXPECT_EQ(CostOnC(), 2814478065LL + 207784423LL + 38981187LL);
}

TEST_F(SymbolLibraryDialogTest, WithoutAProductOfItsOwnThePageWritesToTheInstallationOnly)
{
    host.record[PageRecord::kProduct] = 0;
    SetMain(L"WXNFPA", L"1");
    const int code = Run([&](HWND page) { Click(page, IDOK); });
    EXPECT_EQ(code, 1);
    EXPECT_EQ(host.setup.InstallProperty(L"SYMBOLLIBRARY"), L"NFPA,");
    EXPECT_FALSE(main->HasProperty(L"SYMBOLLIBRARY"));
}

TEST_F(SymbolLibraryDialogTest, NothingOverlapsAndNoTextIsCut)
{
    SetMain(L"DRAWINGSTANDARD", L"IEC");
    std::string layout;
    Run([&](HWND page) {
        layout = JoinProblems(LayoutProblems(page));
        Click(page, IDOK);
    });
    EXPECT_TRUE(layout.empty()) << layout;
}

}  // namespace
}  // namespace pagetest
