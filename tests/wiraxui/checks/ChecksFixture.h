// A fresh WiraxUI.dll and one host installation, for the tests that call the checks and notices
// through the plug-in's exports.
#pragma once

#include "ChecksTestSupport.h"
#include "HostFixture.h"
#include "LoadedLibrary.h"
#include "ResourceString.h"

#include "checks/NoticeRecord.h"

#include <HostCore.h>
#include <gtest/gtest.h>

namespace checkstest {

using DriverCheck = bool(int, CProduct*, int*, int*, int, int, const wchar_t*, int);
using ProductCheck = bool(int, CProduct*, int*, int*);
using RecordCheck = int(uintptr_t*);
using RecordNotice = bool(uintptr_t*, wiraxui::NoticeRecord*);
using ProductNotice = bool(int, CProduct*, int, int, const wchar_t*);

// No check writes this, so a word that still holds it was left alone.
constexpr int kUntouched = -77;

class ChecksTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(plugin.Loaded()) << "WiraxUI.dll did not load: " << GetLastError();
        HostCore::ClearStandardCheckCalls();
        HostCore::SetStandardCheckAnswer(true);
        product = host.Add(L"WIRAX_MAIN");
    }
    void TearDown() override { HostCore::SetStandardCheckAnswer(true); }

    template <typename Function>
    Function* Export(const char* name)
    {
        Function* function = plugin.template Export<Function>(name);
        EXPECT_NE(function, nullptr) << name;
        return function;
    }

    std::wstring Message(int kind) const
    {
        const auto found = product->Messages().find(kind);
        return found == product->Messages().end() ? std::wstring() : found->second.text;
    }
    bool HasMessage(int kind) const { return product->Messages().count(kind) != 0; }
    // The text of a string of a library in the program's folder.
    static std::wstring LibraryString(const wchar_t* library, UINT id) { return hostkit::ResourceString(library, id); }

    hostkit::LoadedLibrary plugin{L"WiraxUI.dll"};
    testsupport::HostInstallation host;
    CProduct* product = nullptr;
    int state = kUntouched;
    int action = kUntouched;
};

}  // namespace checkstest
