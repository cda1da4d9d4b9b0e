// A fresh FormwellChecks.dll for every test, one host installation, and the host's journal.
#pragma once

#include "FormwellChecks.h"
#include "LoadedLibrary.h"
#include "ResourceString.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

// Lets assertions print host strings.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace formwelltest {

// The folder of the test program, where the build puts the plug-in and its resource library.
inline QString ProgramFolder()
{
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    QString folder = QString::fromWCharArray(path);
    return folder.left(folder.lastIndexOf(QLatin1Char('\\')));
}

// A string of FormwellUIRes.dll, read by the test itself.
inline QString ResourceText(UINT id)
{
    const std::wstring path = (ProgramFolder() + QStringLiteral("\\FormwellUIRes.dll")).toStdWString();
    return QString::fromStdWString(hostkit::ResourceString(path, id));
}

class FormwellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(plugin.Loaded()) << "FormwellChecks.dll did not load: " << GetLastError();
        CSetupContext::Instance()->SetResourcePath(ProgramFolder());
        CSetupContext::Instance()->SetSSE2Answer(std::nullopt);
        Journal().Clear();
    }

    template <typename Function>
    Function* Export(const char* name)
    {
        Function* function = plugin.Export<Function>(name);
        EXPECT_NE(function, nullptr) << name << " is not exported";
        return function;
    }

    static CHostJournal& Journal() { return CSetupContext::Instance()->Journal(); }

    // The calls by which the plug-in changed something in the host, in order.
    static std::vector<HostCall> Changes()
    {
        std::vector<HostCall> changes;
        for (const HostCall& call : Journal().Calls()) {
            switch (call.kind) {
            case HostCall::Kind::InstallStateSet:
            case HostCall::Kind::InstallActionSet:
            case HostCall::Kind::MessageSet:
            case HostCall::Kind::AlertUrlSet:
            case HostCall::Kind::AlertUrlTitleSet:
            case HostCall::Kind::UserMessage:
                changes.push_back(call);
                break;
            default:
                break;
            }
        }
        return changes;
    }

    hostkit::LoadedLibrary plugin{L"FormwellChecks.dll"};
    CSetupManager setup;
};

}  // namespace formwelltest
