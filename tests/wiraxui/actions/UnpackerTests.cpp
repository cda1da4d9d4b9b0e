// Unpacking real archives into real folders.
#include "ActionsTestSupport.h"
#include "ZipBuilder.h"
#include "actions/Unpacker.h"

#include <gtest/gtest.h>

namespace {

using actionstest::Exists;
using actionstest::IsFolder;
using actionstest::RawZip;
using actionstest::ReadBytes;
using hostkit::ScratchFolder;
using wiraxui::actions::kCancelled;
using wiraxui::actions::kDone;
using wiraxui::actions::kFailed;
using wiraxui::actions::UnpackArchive;

const wiraxui::actions::CancelCheck kNeverCancel = [] { return false; };

TEST(Unpacker, EntriesBecomeBackslashFoldersAndFolderEntriesEmptyFolders)
{
    ScratchFolder scratch(L"unpack-tree");
    const std::wstring archive = scratch / L"lib.zip";
    {
        media::ZipBuilder zip(archive);
        zip.AddFolder("lib/");
        zip.AddFolder("lib/empty/");
        zip.AddFolder("lib/a/b/c/");  // parents that have no entry of their own
        zip.Add("lib/symbols/relay.dwg", media::SampleBytes(1, 300000, 50));
        zip.Add("lib/mixed\\name.txt", "mixed");
        media::ZipEntryOptions stored;
        stored.level = 0;
        zip.Add("top.txt", "stored", stored);
        ASSERT_TRUE(zip.Close());
    }
    std::string why;
    ASSERT_EQ(UnpackArchive(archive, scratch / L"out\\", kNeverCancel, &why), kDone) << why;
    EXPECT_TRUE(IsFolder(scratch / L"out\\lib\\empty"));
    EXPECT_TRUE(IsFolder(scratch / L"out\\lib\\a\\b\\c"));
    EXPECT_EQ(ReadBytes(scratch / L"out\\lib\\symbols\\relay.dwg"), media::SampleBytes(1, 300000, 50));
    EXPECT_EQ(ReadBytes(scratch / L"out\\lib\\mixed\\name.txt"), "mixed");
    EXPECT_EQ(ReadBytes(scratch / L"out\\top.txt"), "stored");
}

TEST(Unpacker, EntriesLargerThanTheBufferAndExistingFilesAreWrittenWhole)
{
    ScratchFolder scratch(L"unpack-large");
    const std::wstring archive = scratch / L"big.zip";
    const std::string big = media::SampleBytes(7, 3 * 1024 * 1024 + 17, 30);
    {
        media::ZipBuilder zip(archive);
        zip.Add("big.bin", big);
        ASSERT_TRUE(zip.Close());
    }
    CreateDirectoryW((scratch / L"out").c_str(), nullptr);
    ASSERT_TRUE(actionstest::WriteBytes(scratch / L"out\\big.bin", std::string(5 * 1024 * 1024, 'x')));
    ASSERT_EQ(UnpackArchive(archive, scratch / L"out\\", kNeverCancel), kDone);
    EXPECT_TRUE(ReadBytes(scratch / L"out\\big.bin") == big);
}

TEST(Unpacker, NamesFlaggedUtf8AreUtf8AndOthersUseTheAnsiCodePage)
{
    ScratchFolder scratch(L"unpack-names");
    const std::wstring archive = scratch / L"names.zip";
    {
        media::ZipBuilder zip(archive);
        media::ZipEntryOptions utf8;
        utf8.utf8Name = true;
        zip.Add(media::Utf8(L"Sch\u00E4tze/\u20AC.txt"), "utf8", utf8);
        zip.Add("caf\xE9.txt", "ansi");  // e acute in the Western code page
        ASSERT_TRUE(zip.Close());
    }
    ASSERT_EQ(UnpackArchive(archive, scratch / L"out\\", kNeverCancel), kDone);
    EXPECT_EQ(ReadBytes(scratch / L"out\\Sch\u00E4tze\\\u20AC.txt"), "utf8");
    if (GetACP() == 1252) {
        EXPECT_EQ(ReadBytes(scratch / L"out\\caf\u00E9.txt"), "ansi");
    }
}

TEST(Unpacker, CorruptDataFailsAndTheBrokenFileIsRemovedWhileEarlierFilesStay)
{
    ScratchFolder scratch(L"unpack-crc");
    RawZip::Entry broken;
    broken.name = "second.txt";
    broken.data = "this data does not match its checksum";
    broken.wrongCrc = true;
    RawZip zip;
    zip.Add("first.txt", "whole").Add(broken).Add("third.txt", "never reached");
    ASSERT_TRUE(zip.Write(scratch / L"crc.zip"));
    std::string why;
    EXPECT_EQ(UnpackArchive(scratch / L"crc.zip", scratch / L"out\\", kNeverCancel, &why), kFailed);
    EXPECT_EQ(why, "entry data fails its checksum");
    EXPECT_EQ(ReadBytes(scratch / L"out\\first.txt"), "whole");
    EXPECT_FALSE(Exists(scratch / L"out\\second.txt"));
    EXPECT_FALSE(Exists(scratch / L"out\\third.txt"));
}

TEST(Unpacker, TruncatedAndMissingArchivesFail)
{
    ScratchFolder scratch(L"unpack-truncated");
    const std::wstring archive = scratch / L"whole.zip";
    {
        media::ZipBuilder zip(archive);
        zip.Add("a.bin", media::SampleBytes(3, 200000, 0));
        zip.Add("b.bin", media::SampleBytes(4, 200000, 0));
        ASSERT_TRUE(zip.Close());
    }
    const std::string bytes = ReadBytes(archive);
    // The end of the second entry's data is cut away; the directory stays readable because the
    // end record is made to point at its new place.
    RawZip cut;
    cut.Add("ok.bin", "fine").Add("cut.bin", media::SampleBytes(5, 5000, 0));
    const std::string raw = cut.Bytes();
    const size_t directory = raw.find(std::string("PK\x01\x02", 4));
    ASSERT_NE(directory, std::string::npos);
    std::string shortened = raw.substr(0, directory - 3000) + raw.substr(directory);
    const auto moved = static_cast<uint32_t>(directory - 3000);
    const size_t end = shortened.size() - 22;
    for (int i = 0; i < 4; ++i)
        shortened[end + 16 + i] = static_cast<char>((moved >> (8 * i)) & 0xFF);
    ASSERT_TRUE(actionstest::WriteBytes(scratch / L"cut.zip", shortened));
    std::string why;
    EXPECT_EQ(UnpackArchive(scratch / L"cut.zip", scratch / L"cut\\", kNeverCancel, &why), kFailed);
    EXPECT_EQ(ReadBytes(scratch / L"cut\\ok.bin"), "fine");
    EXPECT_FALSE(Exists(scratch / L"cut\\cut.bin")) << why;

    ASSERT_TRUE(actionstest::WriteBytes(scratch / L"half.zip", bytes.substr(0, bytes.size() / 2)));
    EXPECT_EQ(UnpackArchive(scratch / L"half.zip", scratch / L"half\\", kNeverCancel), kFailed);
    EXPECT_EQ(UnpackArchive(scratch / L"absent.zip", scratch / L"absent\\", kNeverCancel), kFailed);
    EXPECT_FALSE(Exists(scratch / L"absent"));
}

TEST(Unpacker, CancelStopsAtTheNextCheckAndKeepsWhatIsWhole)
{
    ScratchFolder scratch(L"unpack-cancel");
    const std::wstring archive = scratch / L"five.zip";
    {
        media::ZipBuilder zip(archive);
        for (int i = 0; i < 5; ++i)
            zip.Add("f" + std::to_string(i) + ".txt", "file " + std::to_string(i));
        ASSERT_TRUE(zip.Close());
    }
    // Each file entry asks before it starts and after each written chunk: the sixth question
    // comes while the third file is still open, so that file is not kept as if it were whole.
    int asked = 0;
    const auto cancelAtSixth = [&asked] { return ++asked >= 6; };
    EXPECT_EQ(UnpackArchive(archive, scratch / L"out\\", cancelAtSixth), kCancelled);
    EXPECT_EQ(asked, 6);
    EXPECT_EQ(ReadBytes(scratch / L"out\\f0.txt"), "file 0");
    EXPECT_EQ(ReadBytes(scratch / L"out\\f1.txt"), "file 1");
    EXPECT_FALSE(Exists(scratch / L"out\\f2.txt"));
    EXPECT_FALSE(Exists(scratch / L"out\\f3.txt"));
}

}  // namespace
