// Whole files or none: what the unpacker and the copies leave at a final name is either the earlier
// version or the complete new one, and the temporary files an interrupted run leaves are removed by
// the next one.
#include "ActionsTestSupport.h"
#include "ZipBuilder.h"
#include "actions/Paths.h"
#include "actions/TreeCopy.h"
#include "actions/Unpacker.h"
#include "actions/WholeFile.h"

#include <gtest/gtest.h>

namespace {

using actionstest::Exists;
using actionstest::RawZip;
using actionstest::ReadBytes;
using hostkit::ScratchFolder;
using actionstest::Walk;
using actionstest::WriteBytes;
using wiraxui::actions::kCancelled;
using wiraxui::actions::kDone;
using wiraxui::actions::kFailed;
using wiraxui::actions::UnpackArchive;

const wiraxui::actions::CancelCheck kNeverCancel = [] { return false; };

// Every name below `root` that is one of the temporary files.
std::vector<std::wstring> Leftovers(const std::wstring& root)
{
    std::vector<std::wstring> found;
    for (const auto& [path, attributes] : Walk(root)) {
        const size_t slash = path.find_last_of(L'\\');
        if (wiraxui::actions::IsTemporaryName(slash == std::wstring::npos ? path : path.substr(slash + 1)))
            found.push_back(path);
    }
    return found;
}

TEST(WholeFiles, TemporaryNamesAreRecognisable)
{
    using wiraxui::actions::IsTemporaryName;
    for (const wchar_t* name : {L"~wxp1.tmp", L"~WXP1F.TMP", L"~wxpdeadbeef.tmp"})
        EXPECT_TRUE(IsTemporaryName(name)) << media::Utf8(name);
    for (const wchar_t* name : {L"~wxp.tmp", L"~wxp1.tmpx", L"~wxpz.tmp", L"~wxp123456789.tmp", L"wxp1.tmp", L"~wxp1.txt", L""})
        EXPECT_FALSE(IsTemporaryName(name)) << media::Utf8(name);
    ScratchFolder scratch(L"whole-names");
    const std::wstring temporary = wiraxui::actions::TemporaryPath(scratch.Path());
    EXPECT_EQ(temporary, scratch / L"~wxp1.tmp");
    ASSERT_TRUE(WriteBytes(temporary, "taken"));
    EXPECT_EQ(wiraxui::actions::FreeTemporaryPath(scratch.Path() + L"\\"), scratch / L"~wxp2.tmp");
}

TEST(WholeFiles, AFailedOrCancelledEntryLeavesTheEarlierVersion)
{
    ScratchFolder scratch(L"whole-unpack");
    const std::wstring out = scratch / L"out";
    CreateDirectoryW(out.c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(out + L"\\second.txt", "earlier second"));
    ASSERT_TRUE(WriteBytes(out + L"\\f2.txt", "earlier f2"));

    RawZip::Entry broken;
    broken.name = "second.txt";
    broken.data = "this data does not match its checksum";
    broken.wrongCrc = true;
    ASSERT_TRUE(RawZip().Add("first.txt", "whole").Add(broken).Write(scratch / L"crc.zip"));
    EXPECT_EQ(UnpackArchive(scratch / L"crc.zip", out + L"\\", kNeverCancel), kFailed);
    EXPECT_EQ(ReadBytes(out + L"\\first.txt"), "whole");
    EXPECT_EQ(ReadBytes(out + L"\\second.txt"), "earlier second");

    // Cancelled while the third file is written: its earlier version stays.
    {
        media::ZipBuilder zip(scratch / L"five.zip");
        for (int i = 0; i < 5; ++i)
            zip.Add("f" + std::to_string(i) + ".txt", "new " + std::to_string(i));
        ASSERT_TRUE(zip.Close());
    }
    int asked = 0;
    EXPECT_EQ(UnpackArchive(scratch / L"five.zip", out + L"\\", [&asked] { return ++asked >= 6; }), kCancelled);
    EXPECT_EQ(ReadBytes(out + L"\\f1.txt"), "new 1");
    EXPECT_EQ(ReadBytes(out + L"\\f2.txt"), "earlier f2");
    EXPECT_TRUE(Leftovers(out).empty());

    // A read-only earlier version is replaced like any other once the new file is whole.
    SetFileAttributesW((out + L"\\f2.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(UnpackArchive(scratch / L"five.zip", out + L"\\", kNeverCancel), kDone);
    EXPECT_EQ(ReadBytes(out + L"\\f2.txt"), "new 2");
    EXPECT_TRUE(Leftovers(out).empty());
}

TEST(WholeFiles, LeftoversOfAnInterruptedRunAreRemovedFromTheFoldersWrittenTo)
{
    ScratchFolder scratch(L"whole-leftovers");
    const std::wstring out = scratch / L"out";
    for (const wchar_t* folder : {L"out", L"out\\lib", L"out\\lib\\deep", L"out\\untouched"})
        CreateDirectoryW((scratch / folder).c_str(), nullptr);
    for (const wchar_t* file : {L"out\\~wxp1.tmp", L"out\\lib\\~wxp2a.tmp", L"out\\lib\\deep\\~WXP3.TMP", L"out\\untouched\\~wxp1.tmp"})
        ASSERT_TRUE(WriteBytes(scratch / file, "half a file"));
    // Names that only resemble the temporary ones are somebody's files.
    for (const wchar_t* file : {L"out\\lib\\~wxpnothex.tmp", L"out\\lib\\~wxp1.tmp.keep"})
        ASSERT_TRUE(WriteBytes(scratch / file, "mine"));
    {
        media::ZipBuilder zip(scratch / L"lib.zip");
        zip.Add("top.txt", "top");
        zip.Add("lib/a.txt", "a");
        zip.AddFolder("lib/deep/");
        ASSERT_TRUE(zip.Close());
    }
    ASSERT_EQ(UnpackArchive(scratch / L"lib.zip", out + L"\\", kNeverCancel), kDone);
    EXPECT_EQ(Leftovers(out), std::vector<std::wstring>{L"untouched\\~wxp1.tmp"});
    EXPECT_EQ(ReadBytes(out + L"\\lib\\~wxpnothex.tmp"), "mine");
    EXPECT_EQ(ReadBytes(out + L"\\lib\\~wxp1.tmp.keep"), "mine");
    EXPECT_EQ(ReadBytes(out + L"\\lib\\a.txt"), "a");
}

TEST(WholeFiles, CopiesGoThroughATemporaryNameAndReplaceReadOnlyFiles)
{
    ScratchFolder scratch(L"whole-copy");
    ASSERT_TRUE(WriteBytes(scratch / L"source.txt", "new content"));
    ASSERT_TRUE(WriteBytes(scratch / L"old.txt", "old"));
    SetFileAttributesW((scratch / L"old.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(wiraxui::actions::ShellCopyWhole(scratch / L"source.txt", scratch / L"old.txt"));
    EXPECT_EQ(ReadBytes(scratch / L"old.txt"), "new content");
    EXPECT_TRUE(wiraxui::actions::CopyReplacing(scratch / L"source.txt", scratch / L"db.mdb", true));
    EXPECT_EQ(ReadBytes(scratch / L"db.mdb"), "new content");

    // A source that is not there leaves the earlier version and no temporary file.
    EXPECT_FALSE(wiraxui::actions::ShellCopyWhole(scratch / L"missing.txt", scratch / L"old.txt"));
    EXPECT_FALSE(wiraxui::actions::CopyReplacing(scratch / L"missing.txt", scratch / L"db.mdb", false));
    EXPECT_EQ(ReadBytes(scratch / L"old.txt"), "new content");
    EXPECT_EQ(ReadBytes(scratch / L"db.mdb"), "new content");
    EXPECT_TRUE(Leftovers(scratch.Path()).empty());
}

}  // namespace
