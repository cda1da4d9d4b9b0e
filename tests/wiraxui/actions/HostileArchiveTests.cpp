// Archives made to escape the destination or to fool the unpacker. Each is unpacked into a
// folder inside a sentinel folder; nothing may appear outside the destination, no link may be
// made, and the result is a refusal (1603) or, for harmless oddities, a clean 0.
#include "ActionsTestSupport.h"
#include "ZipBuilder.h"
#include "actions/Unpacker.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using actionstest::RawZip;
using hostkit::ScratchFolder;
using actionstest::Walk;
using wiraxui::actions::kDone;
using wiraxui::actions::kFailed;

struct Hostile {
    const char* label;
    std::function<std::string()> bytes;
    int expected;
};

std::function<std::string()> Named(const std::string& name)
{
    return [name] { return RawZip().Add("before.txt", "kept").Add(name, "payload").Add("after.txt", "after").Bytes(); };
}

std::function<std::string()> WithEntry(RawZip::Entry entry)
{
    return [entry] { return RawZip().Add(entry).Add("after.txt", "after").Bytes(); };
}

// Absolute places a refused name would have reached; none of them may exist afterwards.
const wchar_t* const kOutsideTargets[] = {L"C:\\escape.txt", L"C:\\x", L"C:\\abs.txt", L"C:\\payload.txt"};

class HostileArchives : public testing::Test {
protected:
    HostileArchives() : m_scratch(L"hostile") {}

    void Play(const std::vector<Hostile>& cases)
    {
        const std::wstring sentinel = m_scratch / L"sentinel";
        CreateDirectoryW(sentinel.c_str(), nullptr);
        ASSERT_TRUE(actionstest::WriteBytes(sentinel + L"\\marker.txt", "sentinel"));
        // Names relative to the current folder ("C:x") would land in the scratch folder, where
        // the walk below sees them.
        wchar_t workingFolder[MAX_PATH] = L"";
        GetCurrentDirectoryW(MAX_PATH, workingFolder);
        SetCurrentDirectoryW(m_scratch.Path().c_str());
        int number = 0;
        for (const Hostile& hostile : cases) {
            SCOPED_TRACE(hostile.label);
            const std::wstring archive = m_scratch / (L"case" + std::to_wstring(++number) + L".zip");
            ASSERT_TRUE(actionstest::WriteBytes(archive, hostile.bytes()));
            const std::wstring destination = sentinel + L"\\dest" + std::to_wstring(number) + L"\\";
            CreateDirectoryW(destination.c_str(), nullptr);
            const auto before = Walk(m_scratch.Path());

            std::string why;
            const int result = wiraxui::actions::UnpackArchive(archive, destination, [] { return false; }, &why);
            EXPECT_EQ(result, hostile.expected) << why;

            // Nothing new anywhere below the scratch folder but inside this destination.
            const std::wstring inside = L"sentinel\\dest" + std::to_wstring(number) + L"\\";
            for (const auto& [path, attributes] : Walk(m_scratch.Path())) {
                if (path.rfind(inside, 0) == 0) {
                    EXPECT_FALSE(attributes & FILE_ATTRIBUTE_REPARSE_POINT) << "link made: " << media::Utf8(path);
                    continue;
                }
                EXPECT_TRUE(before.count(path)) << "written outside the destination: " << media::Utf8(path);
            }
            for (const wchar_t* target : kOutsideTargets)
                EXPECT_FALSE(actionstest::Exists(target)) << media::Utf8(target);
        }
        EXPECT_EQ(actionstest::ReadBytes(sentinel + L"\\marker.txt"), "sentinel");
        SetCurrentDirectoryW(workingFolder);
    }

    ScratchFolder m_scratch;
};

TEST_F(HostileArchives, NamesThatLeaveTheDestination)
{
    Play({
        {"parent", Named("../escape.txt"), kFailed},
        {"parent with backslash", Named("..\\escape.txt"), kFailed},
        {"parent after a folder", Named("a/../../escape.txt"), kFailed},
        {"deep parent", Named("a/b/../../../payload.txt"), kFailed},
        {"parent folder entry", Named("../"), kFailed},
        {"mixed separators", Named("a\\../..\\escape.txt"), kFailed},
        {"rooted slash", Named("/abs.txt"), kFailed},
        {"rooted backslash", Named("\\abs.txt"), kFailed},
        {"drive", Named("C:\\escape.txt"), kFailed},
        {"drive relative", Named("C:x"), kFailed},
        {"other drive relative", Named("W:../x"), kFailed},
        {"unc", Named("\\\\server\\share\\x.txt"), kFailed},
        {"long path prefix", Named("\\\\?\\C:\\escape.txt"), kFailed},
        {"long path prefix with slashes", Named("//?/C:/escape.txt"), kFailed},
        {"stream", Named("a:stream"), kFailed},
        {"stream of a file", Named("file.txt::$DATA"), kFailed},
    });
}

TEST_F(HostileArchives, NamesWindowsCannotKeep)
{
    Play({
        {"device", Named("CON"), kFailed},
        {"device with extension", Named("NUL.txt"), kFailed},
        {"port", Named("com1.log"), kFailed},
        {"printer with blank", Named("LPT9 .txt"), kFailed},
        {"device below a folder", Named("sub/AUX"), kFailed},
        {"trailing dot", Named("trailing."), kFailed},
        {"trailing blank", Named("trailing "), kFailed},
        {"folder with trailing dot", Named("dir./file.txt"), kFailed},
        {"dots only", Named("..."), kFailed},
        {"control character", Named("ctrl\x01name.txt"), kFailed},
        {"less than", Named("a<b.txt"), kFailed},
        {"greater than", Named("a>b.txt"), kFailed},
        {"pipe", Named("a|b.txt"), kFailed},
        {"quote", Named("a\"b.txt"), kFailed},
        {"question mark", Named("a?b.txt"), kFailed},
        {"star", Named("a*b.txt"), kFailed},
        {"name of 260 bytes", Named(std::string(260, 'n')), kFailed},
        {"name of 300 bytes", Named(std::string(300, 'n')), kFailed},
        {"path longer than Windows keeps", Named(std::string(120, 'p') + "/" + std::string(120, 'q')), kFailed},
        {"empty name", Named(""), kFailed},
        {"slash only", Named("/"), kFailed},
        {"empty component", Named("a//b.txt"), kFailed},
        {"invalid utf-8", [] {
             RawZip::Entry entry;
             entry.name = "bad\xC0\xAF.txt";
             entry.flags = 1 << 11;
             return RawZip().Add(entry).Bytes();
         }, kFailed},
    });
}

TEST_F(HostileArchives, LinksSecretsAndDamage)
{
    RawZip::Entry link;
    link.name = "link";
    link.data = "../../..";
    link.versionMadeBy = 3 << 8;
    link.externalAttributes = 0120777u << 16;
    RawZip::Entry linkedFolder = link;
    linkedFolder.name = "linkdir/";
    linkedFolder.externalAttributes = 0x400 | FILE_ATTRIBUTE_DIRECTORY;
    linkedFolder.versionMadeBy = 10 << 8;
    RawZip::Entry encrypted;
    encrypted.name = "secret.txt";
    encrypted.flags = 1;
    RawZip::Entry badCrc;
    badCrc.name = "crc.txt";
    badCrc.wrongCrc = true;
    Play({
        {"unix symbolic link", [link] { return RawZip().Add(link).Add("link/through.txt", "x").Bytes(); }, kFailed},
        {"reparse point folder", WithEntry(linkedFolder), kFailed},
        {"encrypted flag", WithEntry(encrypted), kFailed},
        {"encrypted for real", [this] {
             media::ZipEntryOptions secret;
             secret.password = "password";
             {
                 media::ZipBuilder zip(m_scratch / L"secret.zip");
                 zip.Add("secret.txt", "very secret", secret);
                 zip.Close();
             }
             return actionstest::ReadBytes(m_scratch / L"secret.zip");
         }, kFailed},
        {"checksum mismatch", WithEntry(badCrc), kFailed},
        {"truncated archive", [] {
             const std::string whole = RawZip().Add("a.txt", std::string(4000, 'a')).Add("b.txt", "b").Bytes();
             return whole.substr(0, whole.size() - 40);
         }, kFailed},
        {"damaged central directory", [] {
             std::string bytes = RawZip().Add("a.txt", "a").Add("b.txt", "b").Bytes();
             const size_t second = bytes.rfind(std::string("PK\x01\x02", 4));
             bytes.replace(second, 4, "JUNK");
             return bytes;
         }, kFailed},
        {"not an archive", [] { return std::string(5000, 'z'); }, kFailed},
        {"empty file", [] { return std::string(); }, kFailed},
        {"end record alone but claiming an entry", [] {
             std::string bytes = RawZip().Bytes();
             bytes[8] = bytes[10] = 1;
             return bytes;
         }, kFailed},
    });
}

// Directory records that share one local entry, or entries whose bytes overlap, turn a tiny
// archive into any amount of output. The first owner of the bytes is unpacked, then the archive
// is refused.
TEST_F(HostileArchives, EntriesThatShareTheirBytesAreRefused)
{
    const auto sharing = [](int views) {
        return [views] {
            RawZip zip;
            zip.Add("view00.bin", std::string(200000, 'z'));
            for (int i = 1; i < views; ++i) {
                RawZip::Entry view;
                view.name = "view" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".bin";
                view.sharesDataOf = 0;
                zip.Add(view);
            }
            return zip.Bytes();
        };
    };
    RawZip::Entry overlap;
    overlap.name = "view-two.txt";  // minizip wants the local header's name length to match
    overlap.sharesDataOf = 0;
    Play({
        {"two records on one local entry", [overlap] { return RawZip().Add("view-one.txt", "shared").Add(overlap).Bytes(); }, kFailed},
        {"64 records on one local entry", sharing(64), kFailed},
        {"Zip64 records on one local entry", [overlap] { return RawZip().Zip64().Add("view-one.txt", "shared").Add(overlap).Bytes(); },
         kFailed},
    });
    const std::wstring sentinel = m_scratch / L"sentinel";
    for (int number = 1; number <= 3; ++number) {
        const auto written = Walk(sentinel + L"\\dest" + std::to_wstring(number));
        EXPECT_EQ(written.size(), 1u) << number;  // the first view only
    }
    EXPECT_EQ(actionstest::ReadBytes(sentinel + L"\\dest2\\view00.bin").size(), 200000u);
}

// An archive without entries is only its end record: nothing to unpack, and no failure. Bytes
// before the archive (a self-extracting stub) are skipped in 32-bit and in Zip64 archives alike.
TEST_F(HostileArchives, EmptyArchivesAndBytesBeforeTheArchive)
{
    const std::string stub = "MZ" + std::string(4094, '\x90');
    Play({
        {"archive without entries", [] { return RawZip().Bytes(); }, kDone},
        {"archive without entries, with a comment", [] {
             std::string bytes = RawZip().Bytes();
             bytes[20] = 7;
             return bytes + "comment";
         }, kDone},
        {"32-bit archive after a stub", [stub] { return RawZip().Prefix(stub).Add("a/one.txt", "one").Add("two.txt", "two").Bytes(); }, kDone},
        {"Zip64 archive", [] { return RawZip().Zip64().Add("a/one.txt", "one").Add("two.txt", "two").Bytes(); }, kDone},
        {"Zip64 archive after a stub", [stub] {
             return RawZip().Zip64().Prefix(stub).Add("a/one.txt", "one").Add("two.txt", "two").Bytes();
         }, kDone},
    });
    const std::wstring sentinel = m_scratch / L"sentinel";
    EXPECT_TRUE(Walk(sentinel + L"\\dest1").empty());
    EXPECT_TRUE(Walk(sentinel + L"\\dest2").empty());
    for (int number = 3; number <= 5; ++number) {
        SCOPED_TRACE(number);
        const std::wstring destination = sentinel + L"\\dest" + std::to_wstring(number);
        EXPECT_EQ(actionstest::ReadBytes(destination + L"\\a\\one.txt"), "one");
        EXPECT_EQ(actionstest::ReadBytes(destination + L"\\two.txt"), "two");
    }
}

TEST_F(HostileArchives, HarmlessOdditiesUnpackCleanly)
{
    Play({
        {"duplicate names", [] { return RawZip().Add("dup.txt", "first").Add("dup.txt", "second").Bytes(); }, kDone},
        {"case variants", [] { return RawZip().Add("Case.txt", "lower").Add("CASE.TXT", "upper").Bytes(); }, kDone},
        {"current folder components", Named("./a/./b.txt"), kDone},
        {"mixed separators inside", Named("mixed\\sub/file.txt"), kDone},
        {"names that only look like devices", [] { return RawZip().Add("CONFIG.SYS").Add("COM10").Add("nullable/x").Bytes(); }, kDone},
    });
    const std::wstring sentinel = m_scratch / L"sentinel";
    EXPECT_EQ(actionstest::ReadBytes(sentinel + L"\\dest1\\dup.txt"), "second");
    EXPECT_EQ(actionstest::ReadBytes(sentinel + L"\\dest2\\case.txt"), "upper");
    EXPECT_EQ(actionstest::ReadBytes(sentinel + L"\\dest3\\a\\b.txt"), "payload");
    EXPECT_EQ(actionstest::ReadBytes(sentinel + L"\\dest4\\mixed\\sub\\file.txt"), "payload");
}

}  // namespace
