// The kit's tree removal and scratch folders: a link inside a tree is removed as a link, and
// what it points at, outside the tree, keeps every file.
#include "FileBytes.h"
#include "FileTree.h"
#include "UnixLink.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

namespace {

using hostkit::RemoveTree;
using hostkit::ScratchFolder;
using hostkit::UnixLink;

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Read(const std::wstring& path)
{
    std::string bytes;
    return hostkit::ReadFileBytes(path, bytes) ? bytes : std::string("(unreadable)");
}

// A folder outside the tree under test, with files at two levels, that must come through whole.
class Outside {
public:
    Outside() : m_folder(L"kit-outside")
    {
        EXPECT_TRUE(m_folder.Put(L"keep.txt", "kept"));
        EXPECT_TRUE(m_folder.Put(L"inner\\deep.txt", "deep"));
    }
    const ScratchFolder& Folder() const { return m_folder; }
    void ExpectWhole() const
    {
        EXPECT_EQ(Read(m_folder / L"keep.txt"), "kept");
        EXPECT_EQ(Read(m_folder / L"inner\\deep.txt"), "deep");
    }

private:
    ScratchFolder m_folder;
};

TEST(KitTreeRemoval, AFolderLinkInsideIsRemovedAsALinkAndItsTargetKeepsItsFiles)
{
    Outside outside;
    ScratchFolder tree(L"kit-tree");
    ASSERT_TRUE(tree.Put(L"a\\b\\file.txt", "x"));
    UnixLink link(tree / L"a\\linked", outside.Folder().Path());
    ASSERT_TRUE(link.Made());
    // Through the link the outside files are visible: removal must not walk into it.
    ASSERT_EQ(Read(tree / L"a\\linked\\keep.txt"), "kept");
    ASSERT_TRUE(hostkit::IsLink(GetFileAttributesW((tree / L"a\\linked").c_str())))
        << "the link does not show as a reparse point, so the removal cannot tell it";

    EXPECT_TRUE(RemoveTree(tree.Path()));
    EXPECT_FALSE(Exists(tree.Path()));
    EXPECT_FALSE(hostkit::Listed(tree / L"a\\linked"));
    outside.ExpectWhole();
}

TEST(KitTreeRemoval, AFileLinkInsideIsRemovedAndItsTargetStays)
{
    Outside outside;
    ScratchFolder tree(L"kit-filelink");
    UnixLink link(tree / L"file-link.txt", outside.Folder() / L"keep.txt");
    ASSERT_TRUE(link.Made());

    EXPECT_TRUE(RemoveTree(tree.Path()));
    EXPECT_FALSE(Exists(tree.Path()));
    outside.ExpectWhole();
}

TEST(KitTreeRemoval, ATreeThatIsItselfALinkLosesOnlyTheLink)
{
    Outside outside;
    ScratchFolder holder(L"kit-holder");
    const std::wstring linkPath = holder / L"tree";
    UnixLink link(linkPath, outside.Folder().Path());
    ASSERT_TRUE(link.Made());

    EXPECT_TRUE(RemoveTree(linkPath));
    EXPECT_FALSE(hostkit::Listed(linkPath));
    outside.ExpectWhole();
}

TEST(KitTreeRemoval, AScratchFolderGoesWithReadOnlyFilesAndLeavesWhatItsLinkPointsAt)
{
    Outside outside;
    std::optional<UnixLink> link;  // outlives the scratch folder: its end must take the link
    std::wstring path;
    {
        ScratchFolder scratch(L"kit-scratch");
        path = scratch.Path();
        ASSERT_TRUE(scratch.Put(L"sub\\locked.txt", "r"));
        ASSERT_TRUE(SetFileAttributesW((scratch / L"sub\\locked.txt").c_str(), FILE_ATTRIBUTE_READONLY));
        link.emplace(scratch / L"sub\\out", outside.Folder().Path());
        ASSERT_TRUE(link->Made());
    }
    EXPECT_FALSE(Exists(path));
    EXPECT_FALSE(hostkit::Listed(path + L"\\sub\\out"));
    outside.ExpectWhole();
}

TEST(KitTreeRemoval, AScratchFolderStartsEmptyEvenWhenAnEarlierRunLeftItFull)
{
    std::wstring path;
    {
        ScratchFolder first(L"kit-again");
        path = first.Path();
        ASSERT_TRUE(first.Put(L"left\\over.txt", "old"));
        // An earlier run that ended without its clean-up: nothing removes the folder here.
        ASSERT_TRUE(MoveFileW(path.c_str(), (path + L"-moved").c_str()));
    }
    ASSERT_TRUE(MoveFileW((path + L"-moved").c_str(), path.c_str()));
    ScratchFolder again(L"kit-again");
    EXPECT_EQ(again.Path(), path);
    EXPECT_FALSE(Exists(again / L"left\\over.txt"));
    EXPECT_TRUE(Exists(again.Path()));
}

TEST(KitTreeRemoval, AMissingTreeCountsAsRemovedAndAnEmptyNameIsRefused)
{
    EXPECT_TRUE(RemoveTree(hostkit::TemporaryFolder() + L"kit-never-made-" + std::to_wstring(GetCurrentProcessId())));
    EXPECT_FALSE(RemoveTree(L""));
}

}  // namespace
