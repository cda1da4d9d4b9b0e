// The exports that only talk to the host: the three test checks, the SSE2 question passed on, and
// the host's inline members the plug-in carries.
#include "FormwellFixture.h"

#include <cstring>

namespace formwelltest {
namespace {

TEST_F(FormwellTest, TestChecksReportTheirFixedTexts)
{
    auto* appCheck = Export<formwell::AppCheckFunction>("AppCheck");
    auto* preCheck = Export<formwell::PreCheckFunction>("PreCheck");
    auto* postCheck = Export<formwell::PostCheckFunction>("PostCheck");
    ASSERT_TRUE(appCheck && preCheck && postCheck);
    CProduct* product = setup.AddProduct(QStringLiteral("FORMWELL"));
    int state = -1;
    int action = -1;

    EXPECT_FALSE(appCheck(nullptr, product));
    EXPECT_FALSE(preCheck(nullptr, product));
    EXPECT_FALSE(postCheck(nullptr, nullptr, &state, &action));

    const std::vector<HostCall> messages = Journal().Calls(HostCall::Kind::UserMessage);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].text, QStringLiteral("Test message from appcheck in Formwell section"));
    EXPECT_EQ(messages[0].number, 20);
    EXPECT_EQ(messages[1].text, QStringLiteral("This is Prerequisite check"));
    EXPECT_EQ(messages[1].number, 20);
    EXPECT_EQ(messages[2].text, QStringLiteral("Test message from BetaInstalledCheck try abort"));
    EXPECT_EQ(messages[2].number, 18);
    for (const HostCall& message : messages) {
        EXPECT_EQ(message.extra, 0);
        EXPECT_EQ(message.detail, QStringLiteral("0 0 0 0 0"));
    }
    EXPECT_EQ(state, 7);
    EXPECT_EQ(action, 11);
    // Nothing of the product is changed by them.
    EXPECT_EQ(Changes().size(), 3u);
    // Hosts that pass no result words get the message all the same.
    EXPECT_FALSE(postCheck(nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(Journal().Calls(HostCall::Kind::UserMessage).size(), 4u);
}

TEST_F(FormwellTest, CheckForSSE2SupportGivesTheHostsOwnAnswer)
{
    auto* check = Export<formwell::CheckForSSE2SupportFunction>("CheckForSSE2Support");
    ASSERT_NE(check, nullptr);
    CProduct* product = setup.AddProduct(QStringLiteral("FORMWELL"));
    int hostValue = 0;

    for (bool answer : {false, true}) {
        CSetupContext::Instance()->SetSSE2Answer(answer);
        Journal().Clear();
        EXPECT_EQ(check(&hostValue, product), answer);
        const std::vector<HostCall> calls = Journal().Calls(HostCall::Kind::SSE2Checked);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].product, QStringLiteral("FORMWELL"));
        EXPECT_EQ(calls[0].extra, static_cast<long long>(reinterpret_cast<intptr_t>(&hostValue)));
    }
}

// A member function exported by its mangled name, called as the host would call its own member.
template <typename Member>
Member ExportedMember(const hostkit::LoadedLibrary& plugin, const char* name)
{
    struct {
        void* function;
        ptrdiff_t adjustment;
    } raw{reinterpret_cast<void*>(GetProcAddress(plugin.Module(), name)), 0};
    Member member = nullptr;
    static_assert(sizeof raw == sizeof member, "a member function pointer is a function and an adjustment");
    if (raw.function)
        std::memcpy(&member, &raw, sizeof member);
    return member;
}

TEST_F(FormwellTest, InlineHostMembersAreExportedAndReadTheirFields)
{
    CProduct* product = setup.AddProduct(QStringLiteral("FORMWELL"));
    product->m_alertUrl = QStringLiteral("https://example.test/a");
    product->m_alertUrlTitle = QStringLiteral("Read this");
    product->m_downloadCompSize = 5000000000LL;
    product->m_downloadUncompSize = 7000000000LL;
    product->m_muiProductInstalled = true;
    product->m_usingGlobalContentPath = true;
    setup.m_setupPath = QStringLiteral("D:\\Setup\\");
    setup.m_sourceRoot = QStringLiteral("D:\\");

    using Text = QString (CProduct::*)() const;
    using Size = qint64 (CProduct::*)() const;
    using Flag = bool (CProduct::*)() const;
    using SetupText = QString (CSetupManager::*)() const;
    const Text getAlertUrl = ExportedMember<Text>(plugin, "_ZNK8CProduct11GetAlertUrlEv");
    const Text getAlertUrlTitle = ExportedMember<Text>(plugin, "_ZNK8CProduct16GetAlertUrlTitleEv");
    const Size getCompSize = ExportedMember<Size>(plugin, "_ZNK8CProduct19GetDownloadCompSizeEv");
    const Size getUncompSize = ExportedMember<Size>(plugin, "_ZNK8CProduct21GetDownloadUncompSizeEv");
    const Flag isMUI = ExportedMember<Flag>(plugin, "_ZNK8CProduct21IsMUIProductInstalledEv");
    const Flag isGlobalContent = ExportedMember<Flag>(plugin, "_ZNK8CProduct24IsUsingGlobalContentPathEv");
    const Flag isGlobalInstall = ExportedMember<Flag>(plugin, "_ZNK8CProduct24IsUsingGlobalInstallPathEv");
    const SetupText getSetupPath = ExportedMember<SetupText>(plugin, "_ZNK13CSetupManager12GetSetupPathEv");
    const SetupText getSourceRoot = ExportedMember<SetupText>(plugin, "_ZNK13CSetupManager13GetSourceRootEv");
    ASSERT_TRUE(getAlertUrl && getAlertUrlTitle && getCompSize && getUncompSize && isMUI && isGlobalContent &&
                isGlobalInstall && getSetupPath && getSourceRoot);

    EXPECT_EQ((product->*getAlertUrl)(), QStringLiteral("https://example.test/a"));
    EXPECT_EQ((product->*getAlertUrlTitle)(), QStringLiteral("Read this"));
    EXPECT_EQ((product->*getCompSize)(), 5000000000LL);
    EXPECT_EQ((product->*getUncompSize)(), 7000000000LL);
    EXPECT_TRUE((product->*isMUI)());
    EXPECT_TRUE((product->*isGlobalContent)());
    EXPECT_FALSE((product->*isGlobalInstall)());
    EXPECT_EQ((setup.*getSetupPath)(), QStringLiteral("D:\\Setup\\"));
    EXPECT_EQ((setup.*getSourceRoot)(), QStringLiteral("D:\\"));
}

}  // namespace
}  // namespace formwelltest
