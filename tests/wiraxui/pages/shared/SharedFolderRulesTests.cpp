// The rules a shared folder's text must follow, and the folder test, apart from the page.
#include "ConfigPageTest.h"

#include "pages/shared/SharedFolderRules.h"

namespace pagetest {
namespace {

using wiraxui::CheckSharedPathText;
using wiraxui::SharedPathText;

SharedPathText Verdict(const std::wstring& text)
{
    std::wstring cleaned;
    return CheckSharedPathText(text, cleaned);
}

TEST(SharedPathRules, DriveAndShareRootsWithPlainNamesAreUsable)
{
    std::wstring cleaned;
    EXPECT_EQ(CheckSharedPathText(L"  \\\\fileserver\\wirax\\support\\ \t", cleaned), SharedPathText::Usable);
    EXPECT_EQ(cleaned, L"\\\\fileserver\\wirax\\support\\");
    for (const wchar_t* text : {L"C:\\", L"D:\\Shared Data\\Wirax", L"\\\\server\\share", L"z:\\a b\\c\\"})
        EXPECT_EQ(Verdict(text), SharedPathText::Usable) << testsupport::Narrow(text);
}

TEST(SharedPathRules, TextsWithoutADriveOrShareRootAreRefused)
{
    for (const wchar_t* text : {L"Data\\Sub", L"\\Data", L"\\\\", L"\\", L"\\\\server", L"C:Data", L"..\\Data"})
        EXPECT_NE(Verdict(text), SharedPathText::Usable) << testsupport::Narrow(text);
    EXPECT_EQ(Verdict(L" \t "), SharedPathText::Empty);
}

TEST(SharedPathRules, CharactersAndPartsNoFolderMayHaveAreRefused)
{
    for (const wchar_t* text : {L"C:\\a:b", L"C:\\Data\\\\Sub", L"C:\\ \\Sub", L"C:\\a|b", L"C:\\a*", L"C:\\a?",
                                L"C:\\<a>", L"C:\\\"a\"", L"\\\\server\\share\\  \\x", L"\\\\server\\\\share"})
        EXPECT_NE(Verdict(text), SharedPathText::Usable) << testsupport::Narrow(text);
}

TEST(SharedPathRules, TheJoinedPathListsTheUsedFoldersSupportFirst)
{
    EXPECT_EQ(wiraxui::JoinSharedPaths(L"\\\\s\\a\\", L"\\\\s\\b\\"), L"\\\\s\\a\\;\\\\s\\b\\");
    EXPECT_EQ(wiraxui::JoinSharedPaths(L"", L"\\\\s\\b\\"), L"\\\\s\\b\\");
    EXPECT_EQ(wiraxui::JoinSharedPaths(L"\\\\s\\a\\", L""), L"\\\\s\\a\\");
    EXPECT_EQ(wiraxui::JoinSharedPaths(L"", L""), L"o");
}

TEST(SharedFolderTest, AFolderMadeForTheTestIsRemovedWithEveryLevelAndNoFileStays)
{
    ScratchFolder scratch(L"WiraxSharedRules");
    EXPECT_EQ(wiraxui::TestSharedFolder(scratch / L"One\\Two\\Three"), wiraxui::SharedFolderAccess::Writable);
    EXPECT_FALSE(Exists(scratch / L"One"));

    scratch.Put(L"Kept\\file.txt", "x");
    EXPECT_EQ(wiraxui::TestSharedFolder(scratch / L"Kept\\"), wiraxui::SharedFolderAccess::Writable);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((scratch / L"Kept\\DEP*").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "the temporary file is deleted again";
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    EXPECT_TRUE(Exists(scratch / L"Kept\\file.txt"));

    EXPECT_EQ(wiraxui::TestSharedFolder(L"Z:\\sys\\kernel"), wiraxui::SharedFolderAccess::NotWritable);
    EXPECT_EQ(wiraxui::TestSharedFolder(L"Z:\\sys\\WiraxShared\\Deep"), wiraxui::SharedFolderAccess::NotCreated);
}

}  // namespace
}  // namespace pagetest
