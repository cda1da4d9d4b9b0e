// A deployment onto a drive that fills up (a small tmpfs that tests/wiraxui/actions/full-drive.sh
// links as the drive named in WIRAX_SMALL_DRIVE): the unpacker fails with no partial file and the
// earlier version intact; the support copy goes on with what fits and the action answers 1603,
// naming what did not.
#include "ActionsTestSupport.h"
#include "HostFixture.h"
#include "SampleMedia.h"
#include "ZipBuilder.h"
#include "actions/InstallSharedLibrary.h"
#include "actions/Unpacker.h"
#include "actions/WholeFile.h"
#include "init/ProcessState.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using actionstest::ReadBytes;
using actionstest::Walk;
using wiraxui::actions::kDone;
using wiraxui::actions::kFailed;

constexpr size_t kMiB = 1024 * 1024;

class FullDrive : public testing::Test {
protected:
    void SetUp() override
    {
        const char* drive = std::getenv("WIRAX_SMALL_DRIVE");
        ASSERT_TRUE(drive && *drive) << "run through full-drive.sh, which provides the small drive";
        m_drive = std::wstring(drive, drive + strlen(drive)) + L"\\";
        hostkit::RemoveTree(m_drive + L"work");
        ASSERT_TRUE(CreateDirectoryW((m_drive + L"work").c_str(), nullptr));
    }
    void TearDown() override { hostkit::RemoveTree(m_drive + L"work"); }

    ULONGLONG FreeBytes() const
    {
        ULARGE_INTEGER free{};
        GetDiskFreeSpaceExW(m_drive.c_str(), &free, nullptr, nullptr);
        return free.QuadPart;
    }

    std::vector<std::wstring> Leftovers() const
    {
        std::vector<std::wstring> found;
        for (const auto& [path, attributes] : Walk(m_drive + L"work")) {
            const size_t slash = path.find_last_of(L'\\');
            if (wiraxui::actions::IsTemporaryName(path.substr(slash == std::wstring::npos ? 0 : slash + 1)))
                found.push_back(path);
        }
        return found;
    }

    // A deployment of MEDIA's English content in setup mode 4, with no manufacturer selected; the
    // test chooses the halves and their folders.
    static void PrepareDeployment(testsupport::HostInstallation& host, const std::wstring& media)
    {
        host.setup.m_setupMode = ::Setup::SETUPMODE_DEPLOY;
        host.setup.m_sourceRoot = media;
        host.setup.m_targetPlatform = 1;
        host.setup.m_languageName = L"en-us";
        host.setup.m_languageList = {L"en-us"};
        host.Add(L"WIRAX_MAIN")->SeedProperty(L"PLNDLOCALEID", L"409");
        wiraxui::ProcessState& state = wiraxui::State();
        state.languageName = L"en-us";
        state.sharedSymbolFlag = false;
        state.sharedSupportFlag = false;
        state.manufacturerSelected.fill(0);
    }

    std::wstring m_drive;
    hostkit::ScratchFolder m_scratch{L"fulldrive"};
};

TEST_F(FullDrive, TheUnpackerFailsWithoutAPartialFileAndKeepsTheEarlierVersion)
{
    const std::wstring out = m_drive + L"work\\lib\\";
    ASSERT_TRUE(CreateDirectoryW(out.c_str(), nullptr));
    const std::string earlier = media::SampleBytes(1, kMiB / 2, 0);
    ASSERT_TRUE(actionstest::WriteBytes(out + L"big.bin", earlier));
    const ULONGLONG before = FreeBytes();
    ASSERT_LT(before, 8 * kMiB);
    const std::wstring archive = m_scratch / L"big.zip";
    {
        media::ZipBuilder zip(archive);
        zip.Add("small.txt", "fits");
        zip.Add("big.bin", media::SampleBytes(2, static_cast<size_t>(before) + 2 * kMiB, 90));
        zip.Add("after.txt", "never reached");
        ASSERT_TRUE(zip.Close());
    }
    std::string why;
    EXPECT_EQ(wiraxui::actions::UnpackArchive(archive, out, [] { return false; }, &why), kFailed);
    EXPECT_EQ(why, "output file could not be written");
    EXPECT_EQ(ReadBytes(out + L"small.txt"), "fits");
    EXPECT_TRUE(ReadBytes(out + L"big.bin") == earlier);
    EXPECT_FALSE(actionstest::Exists(out + L"after.txt"));
    EXPECT_TRUE(Leftovers().empty());
    // The space the partial file took is given back.
    EXPECT_GE(FreeBytes() + 64 * 1024, before);
}

// The library archive that fills the drive is named in the host's log with its entry and the
// system's reason.
TEST_F(FullDrive, ALibraryArchiveThatFillsTheDriveIsNamedWithItsEntryAndTheReason)
{
    const std::wstring media = m_scratch / L"media";
    ASSERT_TRUE(media::GenerateSampleMedia(media).ok);
    const std::wstring archive = media + L"\\x64\\WiraxContent\\PF\\Root\\Wirax\\LibZips\\gb2.zip";
    {
        media::ZipBuilder zip(archive);
        zip.Add("gb2/big.dwg", media::SampleBytes(4, static_cast<size_t>(FreeBytes()) + 2 * kMiB, 90));
        ASSERT_TRUE(zip.Close());
    }
    testsupport::HostInstallation host;
    PrepareDeployment(host, media);
    wiraxui::ProcessState& state = wiraxui::State();
    state.sharedSymbolLibraryPath = m_drive + L"work\\Symbols";
    state.sharedSymbolFlag = true;

    EXPECT_EQ(wiraxui::actions::InstallSharedLibraries(host.setup), kFailed);
    EXPECT_TRUE(Leftovers().empty());
    std::wstring last;
    for (const HostEvent& event : host.setup.Journal().Events()) {
        if (event.kind == HostEvent::Kind::Progress && event.number == ::Setup::PROGRESS_TEXT && !event.name.empty())
            last = event.name;
    }
    EXPECT_EQ(last.rfind(L"could not unpack " + archive + L" into " + m_drive + L"work\\Symbols\\Libs\\: entry \"gb2/big.dwg\": "
                             L"output file could not be written (system error 112",
                         0),
              0u)
        << media::Utf8(last);
}

TEST_F(FullDrive, TheSupportCopyGoesOnWithWhatFitsAndTheActionAnswers1603)
{
    const std::wstring media = m_scratch / L"media";
    ASSERT_TRUE(media::GenerateSampleMedia(media).ok);
    const std::wstring userData = media + L"\\x64\\en-us\\Wirax\\WiraxPS\\PF\\Root\\Wirax\\UDC\\";
    // Listed after the small files of its folder or before them: either way it does not fit.
    ASSERT_TRUE(media::WriteMediaFile(userData + L"Templates\\huge.dwt", media::SampleBytes(3, static_cast<size_t>(FreeBytes()) + kMiB, 0)));
    const std::wstring temp = m_scratch / L"temp\\";
    CreateDirectoryW(temp.c_str(), nullptr);
    SetEnvironmentVariableW(L"TMP", temp.c_str());
    SetEnvironmentVariableW(L"TEMP", temp.c_str());
    SetEnvironmentVariableW(L"WIRAX_TOOL_JOURNAL", (m_scratch / L"tools.log").c_str());

    testsupport::HostInstallation host;
    PrepareDeployment(host, media);
    wiraxui::ProcessState& state = wiraxui::State();
    state.sharedSupportPath = m_drive + L"work\\Support";
    state.sharedSupportFlag = true;

    EXPECT_EQ(wiraxui::actions::InstallSharedLibraries(host.setup), kFailed);
    const std::wstring support = m_drive + L"work\\Support\\WxData\\";
    EXPECT_EQ(ReadBytes(support + L"Templates\\a3.dwt"), "template a3 en-us\r\n");
    EXPECT_EQ(ReadBytes(support + L"wd.env"), "WD_LANGUAGE=en-us\r\n");
    EXPECT_EQ(ReadBytes(support + L"en-us\\Plc\\modules\\io.txt"), "io modules (enu)\r\n");
    EXPECT_FALSE(actionstest::Exists(support + L"Templates\\huge.dwt"));
    EXPECT_TRUE(Leftovers().empty());

    std::vector<std::wstring> told;
    for (const HostEvent& event : host.setup.Journal().Events()) {
        if (event.kind == HostEvent::Kind::Progress && event.number == ::Setup::PROGRESS_TEXT && event.name.rfind(L"not copied: ", 0) == 0)
            told.push_back(event.name);
    }
    EXPECT_EQ(told, std::vector<std::wstring>{L"not copied: " + support + L"Templates\\huge.dwt"});
}

}  // namespace
