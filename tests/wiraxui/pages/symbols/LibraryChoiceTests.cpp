// The drawing-standard table and the library choice decided from it, apart from the pages.
#include <gtest/gtest.h>

#include "init/DrawingStandards.h"
#include "init/SymbolLibraries.h"
#include "pages/standard/StandardSelection.h"
#include "pages/symbols/SymbolLibrarySelection.h"

#include <HostVocabulary.h>

#include <algorithm>

namespace pagetest {
namespace {

using namespace wiraxui;

std::wstring ValueOf(const PropertyWrites& writes, const std::wstring& name)
{
    std::wstring value = L"(not written)";
    for (const auto& [property, written] : writes) {
        if (property == name)
            value = written;
    }
    return value;
}

TEST(DrawingStandardTable, EveryBoxAndRadioIsUniqueAndOnlyOfferedStandardsAreFound)
{
    std::vector<int> boxes;
    for (const DrawingStandard& standard : kDrawingStandards)
        boxes.push_back(standard.checkBox);
    std::sort(boxes.begin(), boxes.end());
    EXPECT_EQ(std::unique(boxes.begin(), boxes.end()), boxes.end());
    EXPECT_EQ(FindOfferedStandard(L"nfpa"), &kDrawingStandards[7]);
    EXPECT_EQ(FindOfferedStandard(L"IEC6"), nullptr);
    EXPECT_EQ(FindOfferedStandard(L"AS"), nullptr);
    EXPECT_EQ(FindOfferedStandard(L""), nullptr);
}

TEST(DrawingStandardTable, TheResetOfAChangeOfStandardAlsoClearsWxas2)
{
    const PropertyWrites page = LibraryReset(false);
    const PropertyWrites change = LibraryReset(true);
    ASSERT_EQ(page.size(), 15u);
    ASSERT_EQ(change.size(), 16u);
    EXPECT_EQ(change.back(), (std::pair<std::wstring, std::wstring>{L"WXAS2", L"0"}));
    EXPECT_EQ(ValueOf(page, L"WXJIC1"), L"0");
    EXPECT_EQ(ValueOf(page, L"WXJICDEMO"), L"1");
    EXPECT_EQ(ValueOf(page, L"WXIEC6DEMO"), L"0");
    EXPECT_EQ(ValueOf(page, L"WXASDEMO"), L"(not written)");
}

TEST(DrawingStandardTable, InitialisationCountsIec6AlsoAsIecButNeverLooksForIeee)
{
    const SymbolLibraryChoice choice = ChooseSymbolLibraries(L"IEC6,IEEE,");
    EXPECT_EQ(choice.bytes, 2705308172LL + 414426737LL + 212978754LL);
    EXPECT_EQ(choice.properties.size(), 13u);
    EXPECT_EQ(ValueOf(choice.properties, L"WXIEC2"), L"1");
    EXPECT_EQ(ValueOf(choice.properties, L"WXIEC6"), L"1");
    EXPECT_EQ(ValueOf(choice.properties, L"WXJIC1"), L"1");
    EXPECT_EQ(ValueOf(choice.properties, L"WXIEEE"), L"(not written)");
}

TEST(LibrarySave, TokensFollowTheTableAndUncheckedJicStaysInstalled)
{
    std::array<bool, kDrawingStandardCount> checked{};
    checked[1] = checked[6] = true;  // IEC and AS
    const LibrarySavePlan plan = PlanLibrarySave(checked, 1, 1000);
    EXPECT_EQ(plan.list, L"IEC,AS2,");
    EXPECT_EQ(plan.bytes, 2705308172LL + 414426737LL + 207294692LL);
    EXPECT_EQ(ValueOf(plan.properties, L"WXJIC1"), L"1");
    EXPECT_EQ(ValueOf(plan.properties, L"WXASDEMO"), L"1");
    EXPECT_EQ(plan.properties.back().first, L"SYMBOLLIBRARY");
    EXPECT_EQ(PlanLibrarySave(checked, 2, 1000).bytes, plan.bytes + 1000);
}

TEST(StandardCommit, ADeploymentWithSharedSupportLeavesThePersonalFlagAlone)
{
    StandardCommitInput input;
    input.chosen = FindOfferedStandard(L"JIS");
    input.symbolLibrary = L"JIS,GB,";
    input.folder = L"C:\\users\\me\\Documents\\Wirax\\";
    input.documentsFolder = L"C:\\users\\me\\Documents";
    input.setupMode = ::Setup::SETUPMODE_DEPLOY_CHANGE;
    input.sharedSupport = L"1";
    const PropertyWrites writes = PlanStandardCommit(input);
    EXPECT_EQ(ValueOf(writes, L"NETPERSONALWXDATAPATH"), L"(not written)");
    EXPECT_EQ(ValueOf(writes, L"SYMBOLLIBRARY"), L"(not written)");
    EXPECT_EQ(ValueOf(writes, L"WXGB2"), L"1");
    input.sharedSupport = L"0";
    input.folder = L"c:\\USERS\\me\\documents\\Wirax\\";
    EXPECT_EQ(ValueOf(PlanStandardCommit(input), L"NETPERSONALWXDATAPATH"), L"1");
}

TEST(StandardChange, AnUnknownStandardClearsEveryBoxButKeepsTheLocks)
{
    LibraryLocks locks;
    locks.installed[4] = 1;  // GB installed
    const StandardChangePlan plan = PlanStandardChange(L"XYZ", locks);
    for (size_t row = 0; row < kDrawingStandardCount; ++row) {
        EXPECT_EQ(plan.boxes[row].checked, row == 4) << row;
        EXPECT_EQ(plan.boxes[row].enabled, row != 4) << row;
    }
    locks.standaloneLanguagePack = true;
    for (const LibraryBox& box : PlanStandardChange(L"JIC", locks).boxes)
        EXPECT_FALSE(box.enabled);
}

}  // namespace
}  // namespace pagetest
