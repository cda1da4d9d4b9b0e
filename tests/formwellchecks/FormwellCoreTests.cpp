// The decisions of the pre-checks, driven directly.
#include "core/CompanionVersions.h"
#include "core/PlatformRules.h"
#include "core/ProductFamilies.h"

#include "FormwellUIRes.h"

#include <gtest/gtest.h>

#include <vector>

namespace formwell {
namespace {

TEST(ProductFamilies, FamilyFollowsTheBaseCodeWithoutRegardToCase)
{
    const ProductFamily* formwell = FindFamily(L"{7f4dd591-2564-0001-0000-7107d70f3db4}");
    ASSERT_NE(formwell, nullptr);
    EXPECT_STREQ(formwell->key, L"FORMWELL");
    EXPECT_EQ(formwell->packLinkId, static_cast<UINT>(IDS_FORMWELL_LANGUAGE_PACK_LINK));

    for (const wchar_t* code : {L"{7F4DD591-2532-0002-0000-7107D70F3DB4}", L"{7F4DD591-2564-0002-0000-7107D70F3DB4}"}) {
        const ProductFamily* light = FindFamily(code);
        ASSERT_NE(light, nullptr);
        EXPECT_STREQ(light->key, L"FORMWELLLT");
        EXPECT_STREQ(light->baseCode, code);
        EXPECT_EQ(light->packLinkId, static_cast<UINT>(IDS_FORMWELLLT_LANGUAGE_PACK_LINK));
    }
    EXPECT_EQ(FindFamily(L""), nullptr);
    EXPECT_EQ(FindFamily(L"{7F4DD591-2564-0001-1033-7107D70F3DB4}"), nullptr);
    EXPECT_FALSE(IsBaseProductCode(L"{7F4DD591-2564-0001-1033-7107D70F3DB4}"));
    EXPECT_TRUE(IsBaseProductCode(L"{7F4DD591-2564-0002-0000-7107D70F3DB4}"));
}

TEST(ProductFamilies, PackCodesFollowTheLanguageOrder)
{
    const std::wstring list = LanguagePackCodeList(kProductFamilies[1]);
    EXPECT_EQ(list.substr(0, 39), L"{7F4DD591-2532-0002-1033-7107D70F3DB4};");
    EXPECT_EQ(list.substr(list.size() - 38), L"{7F4DD591-2532-0002-1049-7107D70F3DB4}");
    EXPECT_EQ(list.size(), 13 * 38 + 12u);

    std::vector<std::wstring> asked;
    FirstPresentCode(list, [&](const std::wstring& code) {
        asked.push_back(code);
        return -1;
    });
    ASSERT_EQ(asked.size(), 13u);
    EXPECT_EQ(asked[8], L"{7F4DD591-2532-0002-1041-7107D70F3DB4}");
}

TEST(ProductFamilies, WalkStopsAtTheFirstPresentPack)
{
    for (int present : {1, 5}) {
        std::vector<std::wstring> asked;
        const auto found = FirstPresentCode(L" A ;B;;C;D", [&](const std::wstring& code) {
            asked.push_back(code);
            return code == L"C" ? present : 2;
        });
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(*found, L"C");
        EXPECT_EQ(asked, (std::vector<std::wstring>{L"A", L"B", L"C"}));
    }
    // States other than advertised and installed do not count.
    for (int absent : {-1, 0, 2, 3, 4}) {
        EXPECT_FALSE(FirstPresentCode(L"A;B", [&](const std::wstring&) { return absent; }).has_value());
    }
    EXPECT_FALSE(FirstPresentCode(L"", [](const std::wstring&) { return 5; }).has_value());
}

TEST(CompanionVersions, DottedPartsCompareAsNumbers)
{
    struct Case {
        const wchar_t* installed;
        const wchar_t* offered;
        bool older;
    };
    const Case cases[] = {
        {L"10.0.1", L"9.0.0", false},  // 10 is more than 9, whatever the first digits say
        {L"9.5.0", L"10.0.0", true},
        {L"9.0.0", L"9.0.0", false},
        {L"2021.1", L"2021.0", false},
        {L"2021.0", L"2021.1", true},
        {L"1.0.9", L"1.0.10", true},
        {L"1.02", L"1.2", false},   // leading zeros do not count
        {L"1.0", L"1.0.0", false},  // a missing part is 0
        {L"1.0", L"1.0.1", true},
        {L"1.0.0.1", L"1.0", false},
        {L"", L"1.0", true},
        {L"99999999999999999999.1", L"99999999999999999999.2", true},  // longer than any integer type
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsOlderVersion(c.installed, c.offered), c.older) << c.installed << " / " << c.offered;
}

TEST(CompanionVersions, PartsThatAreNoNumbersCompareAsTextIgnoringCase)
{
    EXPECT_FALSE(IsOlderVersion(L"1.0.0A", L"1.0.0a"));
    EXPECT_FALSE(IsOlderVersion(L"1.0.0a", L"1.0.0A"));
    EXPECT_TRUE(IsOlderVersion(L"1.0.0a", L"1.0.0B"));
    EXPECT_FALSE(IsOlderVersion(L"2.0.RC2", L"2.0.rc1"));
    EXPECT_TRUE(IsOlderVersion(L"2.beta", L"2.GAMMA"));
    // Only the part that is no number falls back to text; the parts before it still count as numbers.
    EXPECT_FALSE(IsOlderVersion(L"10.x", L"9.y"));
}

TEST(CompanionVersions, MessageIsHeadingBlankLineAndEntries)
{
    const std::wstring entries = OutdatedEntry(L"Scan Link", L"10.0.1") + OutdatedEntry(L"Part Library", L"3.0");
    EXPECT_EQ(OutdatedMessage(L"Heading:", entries), L"Heading:\n\n - Scan Link [10.0.1]\n\n - Part Library [3.0]\n\n");
    EXPECT_EQ(LeftoverPackMessage(L"Heading:", L"Pack"), L"Heading:\n\nPack");
}

TEST(CompanionVersions, OnlyInstallUpgradeAndReinstallAreExamined)
{
    std::vector<int> examined;
    for (int action = 0; action <= 11; ++action) {
        if (IsExaminedAction(action))
            examined.push_back(action);
    }
    EXPECT_EQ(examined, (std::vector<int>{2, 4, 5}));
}

TEST(PlatformRules, Wow64YesHoldsForGoodOtherwiseArchitectureDecidesEachTime)
{
    int wow64Asked = 0;
    int architectureAsked = 0;
    CBitnessCache underWow64;
    auto yes = [&]() -> std::optional<bool> { ++wow64Asked; return true; };
    auto x86 = [&]() -> WORD { ++architectureAsked; return PROCESSOR_ARCHITECTURE_INTEL; };
    EXPECT_TRUE(underWow64.Is64Bit(yes, x86));
    EXPECT_TRUE(underWow64.Is64Bit(yes, x86));
    EXPECT_EQ(wow64Asked, 1);
    EXPECT_EQ(architectureAsked, 0);

    for (std::optional<bool> wow64 : {std::optional<bool>(false), std::optional<bool>()}) {
        CBitnessCache native;
        wow64Asked = 0;
        WORD architecture = PROCESSOR_ARCHITECTURE_AMD64;
        auto ask = [&]() { ++wow64Asked; return wow64; };
        auto current = [&]() { return architecture; };
        EXPECT_TRUE(native.Is64Bit(ask, current));
        architecture = PROCESSOR_ARCHITECTURE_INTEL;
        EXPECT_FALSE(native.Is64Bit(ask, current));
        architecture = PROCESSOR_ARCHITECTURE_IA64;
        EXPECT_TRUE(native.Is64Bit(ask, current));
        EXPECT_EQ(wow64Asked, 1);
    }
}

TEST(PlatformRules, NoticeIsFor64BitWindows8And81Workstations)
{
    auto running = [](DWORD major, DWORD minor) {
        return [=](DWORD askedMajor, DWORD askedMinor) { return askedMajor == major && askedMinor == minor; };
    };
    EXPECT_TRUE(PlatformNoticeApplies(true, running(6, 3)));
    EXPECT_TRUE(PlatformNoticeApplies(true, running(6, 2)));
    EXPECT_FALSE(PlatformNoticeApplies(true, running(10, 0)));
    EXPECT_FALSE(PlatformNoticeApplies(true, running(6, 1)));
    EXPECT_FALSE(PlatformNoticeApplies(false, running(6, 3)));
    // A server, or anything VerifyVersionInfoW does not confirm, is no workstation of either version.
    EXPECT_FALSE(PlatformNoticeApplies(true, [](DWORD, DWORD) { return false; }));
}

}  // namespace
}  // namespace formwell
