// The host's codes as the host defines them: every other test names them, so here, and only
// here, they are held to the numbers the host and the plug-in exchange.
#include <HostVocabulary.h>
#include <SetupHost.h>

#include <gtest/gtest.h>

namespace {

TEST(HostVocabulary, DeploymentAndChangingModesAreTheHostsNumbers)
{
    EXPECT_EQ(::Setup::SETUPMODE_MAINTENANCE, 2);
    EXPECT_EQ(::Setup::SETUPMODE_REMOVAL, 3);
    EXPECT_EQ(::Setup::SETUPMODE_DEPLOY, 4);
    EXPECT_EQ(::Setup::SETUPMODE_DEPLOY_UPDATE, 5);
    EXPECT_EQ(::Setup::SETUPMODE_DEPLOY_CHANGE, 6);
    for (int mode = -1; mode <= 8; ++mode) {
        EXPECT_EQ(::Setup::IsDeploymentMode(mode), mode >= 4 && mode <= 6) << "mode " << mode;
        EXPECT_EQ(::Setup::IsChangingMode(mode), mode == 2 || mode == 3) << "mode " << mode;
    }
    // A new installation is neither, and is what the stand-in's installation starts in.
    CSetupManager setup;
    EXPECT_FALSE(::Setup::IsDeploymentMode(setup.m_setupMode));
    EXPECT_FALSE(::Setup::IsChangingMode(setup.m_setupMode));
}

TEST(HostVocabulary, InstalledStatesAreTwoFourAndFiveOnly)
{
    for (int state = -1; state <= 12; ++state)
        EXPECT_EQ(::Setup::IsInstalledState(state), state == 2 || state == 4 || state == 5) << "state " << state;
}

TEST(HostVocabulary, ResultWordPairsOfTheChecks)
{
    EXPECT_EQ(::Setup::INSTALLSTATE_NOT_PRESENT, 1);
    EXPECT_EQ(::Setup::INSTALLACTION_INSTALL, 8);
    EXPECT_EQ(::Setup::INSTALLSTATE_PRESENT, 2);
    EXPECT_EQ(::Setup::INSTALLACTION_KEEP, 7);
    EXPECT_EQ(::Setup::INSTALLSTATE_CONFLICT, 3);
    EXPECT_EQ(::Setup::INSTALLSTATE_REFUSED, 7);
    EXPECT_EQ(::Setup::INSTALLACTION_LEAVE_OUT, 11);
}

TEST(HostVocabulary, MessageProgressAndExitCodes)
{
    EXPECT_EQ(::Setup::MESSAGE_NOTICE, 1);
    EXPECT_EQ(::Setup::MESSAGE_WARNING, 2);
    EXPECT_EQ(::Setup::MESSAGE_REFUSAL, 128);
    EXPECT_EQ(::Setup::PROGRESS_TEXT, 9);
    EXPECT_EQ(::Setup::PROGRESS_RECORD, 12);
    EXPECT_EQ(::Setup::PROGRESS_RESET, 0);
    EXPECT_EQ(::Setup::PROGRESS_STEP, 2);
    EXPECT_EQ(::Setup::WIZARD_NEXT, 1);
    EXPECT_EQ(::Setup::WIZARD_BACK, 1001);
    EXPECT_EQ(::Setup::WIZARD_FIRST, 1278);
    EXPECT_EQ(::Setup::WIZARD_CANCELLED, 1602);
    EXPECT_EQ(::Setup::WIZARD_NOT_CREATED, 1603);
    EXPECT_EQ(::Setup::RESULT_DONE, 0);
    EXPECT_EQ(::Setup::RESULT_CANCELLED, 1602);
    EXPECT_EQ(::Setup::RESULT_FAILED, 1603);
    EXPECT_EQ(::Setup::RUNSTATE_PAST_CANCELLING, 4);
    EXPECT_EQ(::Setup::CALLBACK_STAY_ON_PAGE, 2);
    EXPECT_EQ(sizeof(ProgressMessage), 4 * sizeof(int32_t));
}

TEST(HostVocabulary, RecordWords)
{
    EXPECT_EQ(PageRecord::kParentWindow, 0u);
    EXPECT_EQ(PageRecord::kNoticeParameter, 1u);
    EXPECT_EQ(PageRecord::kSetupManager, 6u);
    EXPECT_EQ(PageRecord::kProduct, 7u);
    EXPECT_EQ(PageRecord::kHostValue, 8u);
    EXPECT_EQ(PageRecord::kInitList, 11u);
    EXPECT_EQ(PageRecord::kRefreshList, 14u);
    EXPECT_EQ(PageRecord::kLeaveList, 17u);
    EXPECT_EQ(PageRecord::kContext, 20u);
    EXPECT_EQ(PageRecord::kResourceModule, 21u);
    EXPECT_EQ(PageRecord::kResourcePath, 22u);
    EXPECT_EQ(PageRecord::kBackAllowed, 23u);
    EXPECT_EQ(PageRecord::kEventMark, 25u);
    EXPECT_GE(PageRecord::kWords, PageRecord::kHostWords + PageRecord::kHostWordCount);
}

}  // namespace
