// What an archive entry may become: decided without touching the disk.
#include "actions/EntryName.h"

#include <gtest/gtest.h>

namespace {

using wiraxui::actions::DecideEntry;
using wiraxui::actions::DecodeUtf8;
using wiraxui::actions::EntryHeader;
using wiraxui::actions::EntryKind;
using wiraxui::actions::IsDeviceName;

constexpr size_t kDestination = 40;

EntryKind KindOf(const std::wstring& name, const EntryHeader& header = {})
{
    return DecideEntry(name, header, kDestination).kind;
}

TEST(EntryName, SeparatorsOfBothKindsBecomeBackslashes)
{
    const auto file = DecideEntry(L"lib/sub\\deep/item.dwg", {}, kDestination);
    EXPECT_EQ(file.kind, EntryKind::File);
    EXPECT_EQ(file.relative, L"lib\\sub\\deep\\item.dwg");

    const auto folder = DecideEntry(L"lib/empty/", {}, kDestination);
    EXPECT_EQ(folder.kind, EntryKind::Folder);
    EXPECT_EQ(folder.relative, L"lib\\empty");

    const auto dotted = DecideEntry(L"./lib/./a.txt", {}, kDestination);
    EXPECT_EQ(dotted.kind, EntryKind::File);
    EXPECT_EQ(dotted.relative, L"lib\\a.txt");
    EXPECT_EQ(DecideEntry(L"./", {}, kDestination).relative, L"");
}

TEST(EntryName, NamesThatLeaveTheDestinationAreRefused)
{
    for (const wchar_t* name : {L"../x", L"..\\x", L"a/../../x", L"a/..", L"../", L"/x", L"\\x", L"//server/share/x",
                                L"\\\\?\\C:\\x", L"C:\\x", L"C:x", L"W:../x", L"a:stream", L"x.txt:ads:$DATA", L"a//b", L"/", L""}) {
        EXPECT_EQ(KindOf(name), EntryKind::Refused) << testing::PrintToString(std::wstring(name));
    }
}

TEST(EntryName, NamesWindowsWouldAlterOrMapToDevicesAreRefused)
{
    for (const wchar_t* name : {L"CON", L"nul.txt", L"Com1", L"lpt9.log", L"sub/AUX", L"PRN .txt", L"conin$", L"COM\u00B9",
                                L"a.", L"a ", L"dir./x", L"dir /x", L"...", L"a\x01z", L"a<b", L"a>b", L"a|b", L"a\"b", L"a?b",
                                L"a*b"}) {
        EXPECT_EQ(KindOf(name), EntryKind::Refused) << testing::PrintToString(std::wstring(name));
    }
    // Only whole device names count.
    for (const wchar_t* name : {L"CONFIG.SYS", L"console.txt", L"COM10", L"nullable", L"LPT", L"auxiliary/x"})
        EXPECT_EQ(KindOf(name), EntryKind::File) << testing::PrintToString(std::wstring(name));
    EXPECT_TRUE(IsDeviceName(L"nul. .txt"));
    EXPECT_FALSE(IsDeviceName(L"nulx"));
}

TEST(EntryName, LinksAndEncryptedEntriesAreRefused)
{
    EntryHeader unixLink;
    unixLink.versionMadeBy = 3 << 8;
    unixLink.externalAttributes = 0120777u << 16;
    EXPECT_EQ(KindOf(L"link", unixLink), EntryKind::Refused);

    EntryHeader unixFile = unixLink;
    unixFile.externalAttributes = 0100644u << 16;
    EXPECT_EQ(KindOf(L"file", unixFile), EntryKind::File);

    EntryHeader reparse;
    reparse.externalAttributes = 0x400;
    EXPECT_EQ(KindOf(L"junction/", reparse), EntryKind::Refused);

    EntryHeader encrypted;
    encrypted.flags = 1;
    EXPECT_EQ(KindOf(L"secret.txt", encrypted), EntryKind::Refused);
}

TEST(EntryName, PathsLongerThanWindowsKeepsAreRefusedNotShortened)
{
    const std::wstring fits(wiraxui::actions::kMaxFilePath - kDestination, L'f');
    EXPECT_EQ(KindOf(fits), EntryKind::File);
    EXPECT_EQ(KindOf(fits + L"x"), EntryKind::Refused);

    // Folders, and the folders a file needs, have the shorter folder limit.
    const std::wstring folder(wiraxui::actions::kMaxFolderPath - kDestination + 1, L'd');
    EXPECT_EQ(KindOf(folder + L"/"), EntryKind::Refused);
    EXPECT_EQ(KindOf(folder + L"/x"), EntryKind::Refused);
    EXPECT_EQ(KindOf(folder.substr(1) + L"/"), EntryKind::Folder);
}

TEST(EntryName, Utf8IsDecodedStrictly)
{
    std::wstring out;
    ASSERT_TRUE(DecodeUtf8("Sch\xC3\xA4" "tze/\xE2\x82\xAC/\xF0\x9F\x94\x8C.txt", out));
    EXPECT_EQ(out, L"Sch\u00E4tze/\u20AC/\U0001F50C.txt");
    for (const char* bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC3", "\x80", "\xFF"})
        EXPECT_FALSE(DecodeUtf8(bad, out)) << testing::PrintToString(std::string(bad));
}

}  // namespace
