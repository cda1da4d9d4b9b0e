// Links that another user put below a shared folder, or into the media: the deployment never
// creates, enters or writes through one, and what the link points at stays as it was.
#include "ActionsTestSupport.h"
#include "actions/LinkGuard.h"
#include "actions/Paths.h"
#include "actions/TreeCopy.h"
#include "actions/Unpacker.h"
#include "actions/WholeFile.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using actionstest::Exists;
using actionstest::IsFolder;
using actionstest::RawZip;
using actionstest::ReadBytes;
using hostkit::ScratchFolder;
using hostkit::UnixLink;
using actionstest::Walk;
using actionstest::WriteBytes;
using wiraxui::actions::kDone;
using wiraxui::actions::kFailed;
using wiraxui::actions::SharedRootsGuard;
using wiraxui::actions::UnpackArchive;

const wiraxui::actions::CancelCheck kNeverCancelled = [] { return false; };

// A shared root, and outside it a folder that a link below the root points at.
class DestinationLinks : public testing::Test {
protected:
    DestinationLinks() : m_scratch(L"links")
    {
        m_share = m_scratch / L"share";
        m_elsewhere = m_scratch / L"elsewhere";
        CreateDirectoryW(m_share.c_str(), nullptr);
        CreateDirectoryW(m_elsewhere.c_str(), nullptr);
    }

    std::wstring Share(const std::wstring& relative) const { return m_share + L"\\" + relative; }
    // Everything below the link's target: nothing may land there.
    std::map<std::wstring, DWORD> Elsewhere() const { return Walk(m_elsewhere); }

    ScratchFolder m_scratch;
    std::wstring m_share, m_elsewhere;
};

TEST_F(DestinationLinks, UnpackingIntoOrBelowALinkedFolderFailsAndWritesNothingThere)
{
    ASSERT_TRUE(wiraxui::actions::CreateFolderChain(Share(L"Libs\\panel")));
    UnixLink manufacturer(Share(L"Libs\\panel\\ABB"), m_elsewhere);
    UnixLink inner(Share(L"Libs\\deep"), m_elsewhere);
    ASSERT_TRUE(manufacturer.Made() && inner.Made());
    ASSERT_TRUE(RawZip().Add("first.txt", "whole").Add("deep/x.txt", "through").Add("last.txt", "never").Write(m_scratch / L"lib.zip"));
    ASSERT_TRUE(RawZip().Add("panel.txt", "through").Write(m_scratch / L"abb.zip"));
    SharedRootsGuard guard({m_share + L"\\"});

    // The destination itself is the link.
    std::string why;
    EXPECT_EQ(UnpackArchive(m_scratch / L"abb.zip", Share(L"Libs\\panel\\ABB\\"), kNeverCancelled, &why), kFailed);
    EXPECT_EQ(why, "destination folder is a link");
    // A folder of an entry is the link: the entries before it stay, nothing goes through it.
    EXPECT_EQ(UnpackArchive(m_scratch / L"lib.zip", Share(L"Libs\\"), kNeverCancelled, &why), kFailed);
    EXPECT_EQ(why, "destination folder is a link");
    EXPECT_EQ(ReadBytes(Share(L"Libs\\first.txt")), "whole");
    EXPECT_FALSE(Exists(Share(L"Libs\\last.txt")));
    EXPECT_TRUE(Elsewhere().empty());
    EXPECT_TRUE(guard.LinkMet());
}

TEST_F(DestinationLinks, NoFolderIsMadeInsideALinkedFolder)
{
    UnixLink libs(Share(L"Libs"), m_elsewhere);
    ASSERT_TRUE(libs.Made());
    SharedRootsGuard guard({m_share});
    EXPECT_FALSE(wiraxui::actions::CreateFolderChain(Share(L"Libs\\panel\\ABB\\")));
    wiraxui::actions::FolderPreparer folders;
    EXPECT_FALSE(folders.Prepare(Share(L"Libs\\panel_mm")));
    EXPECT_FALSE(wiraxui::actions::CopyReplacing(m_scratch / L"lib.zip", Share(L"Libs\\copy.zip"), false));
    // A drive's root as the shared root guards everything on the drive.
    {
        SharedRootsGuard drive({m_share.substr(0, 3)});
        EXPECT_FALSE(wiraxui::actions::CreateFolderChain(Share(L"Libs\\other")));
        EXPECT_TRUE(drive.LinkMet());
    }
    EXPECT_TRUE(Elsewhere().empty());
}

// The roots themselves are the administrator's: a link there, or above, is taken as it is.
TEST_F(DestinationLinks, TheRootItselfMayBeALink)
{
    UnixLink root(m_scratch / L"linkedroot", m_elsewhere);
    ASSERT_TRUE(root.Made());
    {
        SharedRootsGuard guard({m_scratch / L"linkedroot\\"});
        EXPECT_TRUE(wiraxui::actions::CreateFolderChain(m_scratch / L"linkedroot\\Libs\\panel"));
        EXPECT_FALSE(guard.LinkMet());
    }
    EXPECT_TRUE(IsFolder(m_elsewhere + L"\\Libs\\panel"));
}

// The copy's temporary name is taken by creating it: a folder there fails the copy (the shell
// would copy into it and the move would give the folder the file's name), and a link there to
// another file is never written through.
TEST_F(DestinationLinks, ATemporaryNameThatIsNoPlainFileIsNeverCopiedInto)
{
    const std::wstring source = m_scratch / L"source.txt";
    ASSERT_TRUE(WriteBytes(source, "new content"));
    const std::wstring folder = Share(L"WxData");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(wiraxui::actions::TemporaryPath(folder).c_str(), nullptr));
    EXPECT_FALSE(wiraxui::actions::ShellCopyWhole(source, folder + L"\\a4.dwt"));
    EXPECT_FALSE(Exists(folder + L"\\a4.dwt"));
    EXPECT_TRUE(Walk(wiraxui::actions::TemporaryPath(folder)).empty());

    const std::wstring victim = m_elsewhere + L"\\victim.txt";
    ASSERT_TRUE(WriteBytes(victim, "victim"));
    const std::wstring other = Share(L"Other");
    ASSERT_TRUE(CreateDirectoryW(other.c_str(), nullptr));
    UnixLink planted(wiraxui::actions::TemporaryPath(other), victim);
    ASSERT_TRUE(planted.Made());
    EXPECT_TRUE(wiraxui::actions::ShellCopyWhole(source, other + L"\\a4.dwt"));
    EXPECT_EQ(ReadBytes(other + L"\\a4.dwt"), "new content");
    EXPECT_EQ(ReadBytes(victim), "victim");
}

// Leftover temporary names that are links to other files: what they point at keeps its content
// and attributes (Wine would delete a link's target instead of the link, so links stay).
TEST_F(DestinationLinks, LeftoversThatAreLinksNeverChangeTheirTargets)
{
    const std::wstring readOnly = m_elsewhere + L"\\read-only.txt";
    const std::wstring writable = m_elsewhere + L"\\writable.txt";
    ASSERT_TRUE(WriteBytes(readOnly, "read-only"));
    ASSERT_TRUE(WriteBytes(writable, "writable"));
    ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    UnixLink first(Share(L"~wxp7.tmp"), readOnly);
    UnixLink second(Share(L"~wxp8.tmp"), writable);
    ASSERT_TRUE(first.Made() && second.Made());
    ASSERT_TRUE(WriteBytes(Share(L"~wxp9.tmp"), "a real leftover"));
    wiraxui::actions::FolderPreparer folders;
    EXPECT_TRUE(folders.Prepare(m_share));
    EXPECT_EQ(folders.Removed(), 1u);
    EXPECT_FALSE(Exists(Share(L"~wxp9.tmp")));
    EXPECT_EQ(GetFileAttributesW(readOnly.c_str()) & FILE_ATTRIBUTE_READONLY, static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(ReadBytes(readOnly), "read-only");
    EXPECT_EQ(ReadBytes(writable), "writable");
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Media whose folders link to one of their own parents, or out of the media: the listing ends,
// and what a link leads to is neither listed nor copied.
TEST(SourceLinks, LinkedFoldersOfTheSourceAreNotEntered)
{
    ScratchFolder scratch(L"source-links");
    const std::wstring source = scratch / L"UDC";
    ASSERT_TRUE(CreateDirectoryW(source.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((source + L"\\Templates").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(source + L"\\Templates\\a4.dwt", "template"));
    const std::wstring secrets = scratch / L"secrets";
    ASSERT_TRUE(CreateDirectoryW(secrets.c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(secrets + L"\\key.txt", "secret"));
    UnixLink loop(source + L"\\Templates\\loop", source);
    UnixLink out(source + L"\\out", secrets);
    ASSERT_TRUE(loop.Made() && out.Made());

    const auto listing = wiraxui::actions::ListTree(source);
    EXPECT_EQ(listing.folders, (std::vector<std::wstring>{L"", L"Templates"}));
    EXPECT_EQ(listing.files, (std::vector<std::wstring>{L"Templates\\a4.dwt"}));
}

}  // namespace
