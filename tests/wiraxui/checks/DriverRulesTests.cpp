// The order in which the driver check asks the machine, and what it concludes, with a machine
// that answers from a table and writes down every question.
#include "checks/AceDriverRules.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace wiraxui {
namespace {

class CTableMachine : public IDriverMachine {
public:
    bool IsInstalled(const wchar_t* productCode) override
    {
        asked.push_back(std::wstring(L"msi ") + productCode);
        return installed.count(productCode) != 0;
    }
    bool IsSkipSwitchSet() override
    {
        asked.push_back(L"skip");
        return skip;
    }
    std::wstring ReadOfficeValue(const OfficeBitnessRow& row) override
    {
        asked.push_back(std::wstring(L"row ") + row.key);
        const auto found = rows.find(row.key);
        return found == rows.end() ? std::wstring() : found->second;
    }

    std::set<std::wstring> installed;
    bool skip = false;
    std::map<std::wstring, std::wstring> rows;
    std::vector<std::wstring> asked;
};

const std::wstring kClickToRun = L"SOFTWARE\\Microsoft\\Office\\ClickToRun\\Configuration";
const std::wstring kOutlook16 = L"SOFTWARE\\Microsoft\\Office\\16.0\\Outlook";
const std::wstring kOutlook15 = L"SOFTWARE\\Microsoft\\Office\\15.0\\Outlook";
const std::wstring kOutlook14 = L"SOFTWARE\\Microsoft\\Office\\14.0\\Outlook";

std::wstring Msi(const std::wstring& code) { return L"msi " + code; }
std::wstring Row(const std::wstring& key) { return L"row " + key; }

TEST(DriverRules, DeploymentAsksOnlyTheTwo64BitEngines)
{
    for (int mode : {4, 5, 6}) {
        CTableMachine machine;
        machine.rows[kClickToRun] = L"x86";
        machine.installed.insert(kAceEngine32Bit2010);
        EXPECT_EQ(JudgeDriver(mode, machine), DriverVerdict::Deployment);
        EXPECT_EQ(machine.asked, (std::vector<std::wstring>{Msi(kAceEngine64Bit2010), Msi(kAceEngine64Bit2016)}));
    }
}

TEST(DriverRules, AnInstalled64BitEnginePassesOnWithoutLookingFurther)
{
    for (const std::wstring& engine : {kAceEngine64Bit2010, kAceEngine64Bit2016}) {
        CTableMachine machine;
        machine.rows[kClickToRun] = L"X86";
        machine.installed.insert(engine);
        EXPECT_EQ(JudgeDriver(2, machine), DriverVerdict::PassOn);
        EXPECT_EQ(machine.asked, (std::vector<std::wstring>{Msi(kAceEngine64Bit2010), Msi(kAceEngine64Bit2016)}));
    }
}

TEST(DriverRules, SkipSwitchPassesOnBeforeTheProbe)
{
    CTableMachine machine;
    machine.rows[kClickToRun] = L"x86";
    machine.skip = true;
    EXPECT_EQ(JudgeDriver(1, machine), DriverVerdict::PassOn);
    EXPECT_EQ(machine.asked, (std::vector<std::wstring>{Msi(kAceEngine64Bit2010), Msi(kAceEngine64Bit2016), L"skip"}));
}

TEST(DriverRules, ProbeStopsAtTheFirstX86RowAndAsksBoth32BitEnginesAnyway)
{
    CTableMachine machine;
    machine.rows[kOutlook16] = L"x64";
    machine.rows[kOutlook15] = L"X86";
    machine.rows[kOutlook14] = L"x86";
    EXPECT_EQ(JudgeDriver(0, machine), DriverVerdict::Block);
    EXPECT_EQ(machine.asked, (std::vector<std::wstring>{Msi(kAceEngine64Bit2010), Msi(kAceEngine64Bit2016), L"skip",
                                                        Row(kClickToRun), Row(kOutlook16), Row(kOutlook15),
                                                        Msi(kAceEngine32Bit2010), Msi(kAceEngine32Bit2016)}));
}

TEST(DriverRules, ProbeReadsEveryRowWhenNoneSaysX86)
{
    CTableMachine machine;
    machine.rows[kClickToRun] = L"x64";
    machine.rows[kOutlook14] = L"x86 ";  // not exactly x86
    EXPECT_EQ(JudgeDriver(2, machine), DriverVerdict::PassOn);
    EXPECT_EQ(machine.asked, (std::vector<std::wstring>{Msi(kAceEngine64Bit2010), Msi(kAceEngine64Bit2016), L"skip",
                                                        Row(kClickToRun), Row(kOutlook16), Row(kOutlook15),
                                                        Row(kOutlook14), Msi(kAceEngine32Bit2010),
                                                        Msi(kAceEngine32Bit2016)}));
}

TEST(DriverRules, EitherThirtyTwoBitEngineAloneBlocks)
{
    for (const wchar_t* engine : {kAceEngine32Bit2010, kAceEngine32Bit2016}) {
        CTableMachine machine;
        machine.installed.insert(engine);
        EXPECT_EQ(JudgeDriver(2, machine), DriverVerdict::Block) << testing::PrintToString(std::wstring(engine));
    }
}

TEST(DriverRules, Ace2010RequisiteFollowsThe64BitEngines)
{
    struct Case {
        bool engine2010;
        bool engine2016;
        int state;
        int action;
    };
    for (const Case& c : {Case{false, false, 1, 8}, Case{true, true, 1, 8}, Case{false, true, 1, 8}, Case{true, false, 2, 7}}) {
        CTableMachine machine;
        if (c.engine2010)
            machine.installed.insert(kAceEngine64Bit2010);
        if (c.engine2016)
            machine.installed.insert(kAceEngine64Bit2016);
        const RequisiteState requisite = JudgeAce2010Requisite(2, machine);
        EXPECT_EQ(requisite.state, c.state) << c.engine2010 << c.engine2016;
        EXPECT_EQ(requisite.action, c.action) << c.engine2010 << c.engine2016;
        EXPECT_EQ(machine.asked, (std::vector<std::wstring>{Msi(kAceEngine64Bit2010), Msi(kAceEngine64Bit2016)}));
    }
    CTableMachine deployment;
    deployment.installed.insert(kAceEngine64Bit2010);
    const RequisiteState requisite = JudgeAce2010Requisite(5, deployment);
    EXPECT_EQ(requisite.state, 1);
    EXPECT_EQ(requisite.action, 8);
    EXPECT_TRUE(deployment.asked.empty());
}

}  // namespace
}  // namespace wiraxui
