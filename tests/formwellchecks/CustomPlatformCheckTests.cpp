// CustomPlatformCheck under the Windows versions Wine can report, each in a host process of its
// own (fwplatform.exe), since Wine fixes the version when a process starts.
#include "FormwellFixture.h"
#include "PlatformCheckRun.h"

#include "FormwellUIRes.h"

#include <cstring>

namespace formwelltest {
namespace {

using formwellrun::NoticeText;
using formwellrun::PlatformCheckOutcome;
using formwellrun::RunPlatformCheck;

QString Text(const wchar_t (&field)[1024]) { return QString::fromStdWString(NoticeText(field)); }

TEST(CustomPlatformCheck, NoticeOn64BitWindows8And81Workstations)
{
    for (const wchar_t* version : {L"win8", L"win81"}) {
        SCOPED_TRACE(QString::fromWCharArray(version).toStdString());
        const PlatformCheckOutcome outcome = RunPlatformCheck(version);
        ASSERT_EQ(outcome.exitCode, 0u);
        EXPECT_TRUE(outcome.result);
        EXPECT_EQ(outcome.notice.kind, 3);
        EXPECT_EQ(Text(outcome.notice.heading), ResourceText(IDS_PLATFORM_NOTICE_HEADING));
        EXPECT_EQ(Text(outcome.notice.message), ResourceText(IDS_PLATFORM_NOTICE_MESSAGE));
        EXPECT_EQ(Text(outcome.notice.linkTitle), ResourceText(IDS_PLATFORM_NOTICE_LINK_TITLE));
        EXPECT_EQ(Text(outcome.notice.link), ResourceText(IDS_PLATFORM_NOTICE_LINK));
        EXPECT_FALSE(Text(outcome.notice.message).isEmpty());
    }
}

TEST(CustomPlatformCheck, RecordUntouchedOnOtherWindowsVersions)
{
    for (const wchar_t* version : {L"win10", L"win7"}) {
        SCOPED_TRACE(QString::fromWCharArray(version).toStdString());
        const PlatformCheckOutcome outcome = RunPlatformCheck(version);
        ASSERT_EQ(outcome.exitCode, 0u);
        EXPECT_TRUE(outcome.result);
        EXPECT_TRUE(outcome.Untouched());
    }
}

TEST(CustomPlatformCheck, MissingResourceLibraryGivesEmptyTexts)
{
    const PlatformCheckOutcome outcome = RunPlatformCheck(L"win8", L"C:\\no\\such\\folder");
    ASSERT_EQ(outcome.exitCode, 0u);
    EXPECT_TRUE(outcome.result);
    EXPECT_EQ(outcome.notice.kind, 3);
    EXPECT_EQ(Text(outcome.notice.heading), QString());
    EXPECT_EQ(Text(outcome.notice.message), QString());
    EXPECT_EQ(Text(outcome.notice.linkTitle), QString());
    EXPECT_EQ(Text(outcome.notice.link), QString());
}

// The resource library stays loaded after the check also when the system gets no notice; only
// unloading the plug-in lets it go. The test program runs under the prefix's own Windows version,
// which is none of those that get the notice.
TEST_F(FormwellTest, CustomPlatformCheckKeepsTheResourceLibraryLoadedWithoutANotice)
{
    auto* check = Export<formwell::CustomPlatformCheckFunction>("CustomPlatformCheck");
    ASSERT_NE(check, nullptr);
    ASSERT_EQ(GetModuleHandleW(L"FormwellUIRes.dll"), nullptr) << "loaded before the check";

    for (int call = 1; call <= 2; ++call) {
        SCOPED_TRACE(call);
        PlatformCheckOutcome outcome;
        std::memset(&outcome.notice, formwellrun::kUntouchedByte, sizeof outcome.notice);
        outcome.result = check(nullptr, &outcome.notice);
        EXPECT_TRUE(outcome.result);
        ASSERT_TRUE(outcome.Untouched()) << "the notice applies to the test program's Windows version";
        EXPECT_NE(GetModuleHandleW(L"FormwellUIRes.dll"), nullptr);
    }
}

}  // namespace
}  // namespace formwelltest
