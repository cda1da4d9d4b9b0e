// A fresh WiraxUI.dll and one host installation with the main product, for the initialisation tests.
#pragma once

#include "HostFixture.h"
#include "LoadedLibrary.h"
#include "RegistryArranger.h"

#include <gtest/gtest.h>
#include <shlobj.h>

namespace testsupport {

using RecordExport = int(uintptr_t*);

class WiraxInitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(plugin.Loaded()) << "WiraxUI.dll did not load: " << GetLastError();
        initialize = plugin.Export<RecordExport>("InitializeProduct_WRX");
        initializeLP = plugin.Export<RecordExport>("InitializeProductLP");
        validateLP = plugin.Export<RecordExport>("validateWiraxLPInstall");
        ASSERT_NE(initialize, nullptr);
        ASSERT_NE(initializeLP, nullptr);
        ASSERT_NE(validateLP, nullptr);
        // Every test keeps its platform keys apart from the others' by its own version.
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        version = L"T" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(info->line());
        main = host.Add(L"WIRAX_MAIN");
        Set(L"PLNDVERSION", version);
        Set(L"PLNDPRODUCTID", L"4101");
        Set(L"PLNDLOCALEID", L"1033");
        Set(L"WIRAXDEFAULTFOLDER", L"Wirax");
        Set(L"Manufacturer", L"Tarvena");
    }

    void Set(const wchar_t* name, const std::wstring& value, CProduct* product = nullptr)
    {
        (product ? product : main)->SetMsiProperty(name, value.c_str(), false);
    }
    std::wstring Get(const wchar_t* name, const CProduct* product = nullptr) const
    {
        return (product ? product : main)->Property(name);
    }
    long long CostOnC(const CProduct* product = nullptr) const
    {
        const auto& costs = (product ? product : main)->Costs();
        auto found = costs.find(L"C:");
        return found == costs.end() ? 0 : found->second;
    }
    std::wstring PlatformKey() const { return L"Software\\Tarvena\\Plandra\\" + version + L"\\PLND-4101"; }

    static std::wstring Folder(int csidl)
    {
        wchar_t path[MAX_PATH] = L"";
        SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE);
        return path;
    }

    hostkit::LoadedLibrary plugin{L"WiraxUI.dll"};
    RecordExport* initialize = nullptr;
    RecordExport* initializeLP = nullptr;
    RecordExport* validateLP = nullptr;
    HostInstallation host;
    CProduct* main = nullptr;
    hostkit::RegistryArranger registry;
    std::wstring version;
};

}  // namespace testsupport
