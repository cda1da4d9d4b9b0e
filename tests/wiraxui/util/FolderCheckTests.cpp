#include "HostFixture.h"
#include "UtilTestSupport.h"

#include <util/FolderCheck.h>

#include <gtest/gtest.h>
#include <shlobj.h>
#include <winioctl.h>

#include <vector>

using testsupport::Narrow;
using utiltest::Exists;
using hostkit::ScratchFolder;
using namespace wiraxui;

namespace {

// A check run on a copy of the text; the copy shows what the check made of it.
struct Checked {
    int code;
    std::wstring path;
};
Checked Local(std::wstring path)
{
    const int code = CheckLocalFolder(path);
    return {code, path};
}
Checked Network(std::wstring path)
{
    const int code = CheckNetworkFolder(path);
    return {code, path};
}

bool HoldsOnly(const std::wstring& folder, const wchar_t* name)
{
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    int others = 0;
    do {
        others += wcscmp(found.cFileName, L".") && wcscmp(found.cFileName, L"..") && wcscmp(found.cFileName, name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return others == 0;
}

// A drive letter defined through Wine's mount manager, as Wine's configuration tool sets a drive's
// kind, and removed again afterwards.
class WineDrive {
public:
    WineDrive(wchar_t letter, ULONG type, const char* unixFolder) : m_letter(letter), m_defined(Define(type, unixFolder)) {}
    ~WineDrive()
    {
        if (m_defined)
            Define(DRIVE_NO_ROOT_DIR, nullptr);
    }
    WineDrive(const WineDrive&) = delete;
    WineDrive& operator=(const WineDrive&) = delete;
    bool Defined() const { return m_defined; }

private:
    // Wine's own extension of the mount manager's control codes and its request.
    static constexpr DWORD kDefineUnixDrive = CTL_CODE(0x6d, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
    struct UnixDrive {
        ULONG size, type, fsType;
        DWORD serial;
        ULONGLONG unixDevice;
        WCHAR letter;
        USHORT mountPoint, device, label;
    };

    bool Define(ULONG type, const char* unixFolder) const
    {
        HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (manager == INVALID_HANDLE_VALUE)
            return false;
        std::vector<char> request(sizeof(UnixDrive) + MAX_PATH, 0);
        auto* drive = reinterpret_cast<UnixDrive*>(request.data());
        drive->size = sizeof(UnixDrive);
        drive->type = type;
        drive->letter = static_cast<WCHAR>(towlower(m_letter));
        if (unixFolder) {
            drive->mountPoint = static_cast<USHORT>(drive->size);
            strcpy(request.data() + drive->size, unixFolder);
            drive->size += static_cast<ULONG>(strlen(unixFolder) + 1);
        }
        DWORD returned = 0;
        const BOOL ok = DeviceIoControl(manager, kDefineUnixDrive, request.data(), drive->size, nullptr, 0, &returned, nullptr);
        CloseHandle(manager);
        return ok != FALSE;
    }

    wchar_t m_letter;
    bool m_defined;
};

}  // namespace

TEST(LocalFolderCheck, BlanksAroundElementsAndDoubledSeparatorsAreRemoved)
{
    ScratchFolder base(L"fcblank");
    ASSERT_EQ(SHCreateDirectoryExW(nullptr, (base / L"Data\\Sub\\Deep").c_str(), nullptr), ERROR_SUCCESS);

    Checked empty = Local(base / L"Data\\ Sub \\\\Deep");
    EXPECT_EQ(empty.code, FolderCheck::Usable);
    EXPECT_EQ(empty.path, base / L"Data\\Sub\\Deep\\");

    ASSERT_TRUE(utiltest::WriteFileText(base / L"Data\\Sub\\Deep\\kept.txt", "x"));
    Checked full = Local(L"\"" + base / L"Data\\ Sub \\\\Deep\"");
    EXPECT_EQ(full.code, FolderCheck::NotEmpty);
    EXPECT_EQ(full.path, base / L"Data\\Sub\\Deep\\");
    EXPECT_TRUE(HoldsOnly(base / L"Data\\Sub\\Deep", L"kept.txt")) << "the write test leaves nothing behind";
}

TEST(LocalFolderCheck, NewFolderThreeLevelsDeepIsCreatedForTheTestAndRemovedAgain)
{
    ScratchFolder base(L"fcnew");
    Checked checked = Local(base / L"One\\Two\\Three\\");
    EXPECT_EQ(checked.code, FolderCheck::Usable);
    EXPECT_FALSE(Exists(base / L"One"));

    // "." and ".." are resolved, and a parent that existed before stays.
    ASSERT_TRUE(CreateDirectoryW((base / L"Kept").c_str(), nullptr));
    checked = Local(base / L"Gone\\..\\Kept\\.\\New");
    EXPECT_EQ(checked.code, FolderCheck::Usable);
    EXPECT_EQ(checked.path, base / L"Kept\\New\\");
    EXPECT_TRUE(Exists(base / L"Kept"));
    EXPECT_FALSE(Exists(base / L"Kept\\New"));
}

TEST(LocalFolderCheck, EmptyRelativeAndRootTexts)
{
    for (const wchar_t* text : {L"", L"  \t ", L"\"\"", L"\" \""}) {
        Checked checked = Local(text);
        EXPECT_EQ(checked.code, FolderCheck::Empty) << Narrow(text);
        EXPECT_EQ(checked.path, text);
    }
    for (const wchar_t* text : {L"Data\\Sub", L"C:Data", L"\\Data\\Sub", L"\\\\server\\share\\Data"})
        EXPECT_EQ(Local(text).code, FolderCheck::Invalid) << Narrow(text);
    for (const wchar_t* text : {L"C:\\", L"C:", L" C:\\\\ "}) {
        Checked checked = Local(text);
        EXPECT_EQ(checked.code, FolderCheck::Root) << Narrow(text);
        EXPECT_EQ(checked.path, L"C:\\");
    }
}

TEST(LocalFolderCheck, TooLongAndInvalidPaths)
{
    ScratchFolder base(L"fclong");
    const std::wstring prefix = base / L"";
    // 258 characters with the trailing backslash is the longest path taken.
    const std::wstring longest = prefix + std::wstring(257 - prefix.size(), L'a');
    EXPECT_NE(Local(longest).code, FolderCheck::TooLong);
    EXPECT_EQ(Local(longest + L"b").code, FolderCheck::TooLong);
    EXPECT_EQ(Local(prefix + std::wstring(400, L'a')).code, FolderCheck::TooLong);

    EXPECT_EQ(Local(base / L"a*b\\c").code, FolderCheck::Invalid);
    // A file where the folder or one of its parents should be.
    ASSERT_TRUE(utiltest::WriteFileText(base / L"file.txt", "x"));
    EXPECT_EQ(Local(base / L"file.txt").code, FolderCheck::Invalid);
    EXPECT_EQ(Local(base / L"file.txt\\Sub").code, FolderCheck::Invalid);
    EXPECT_TRUE(Exists(base / L"file.txt"));
}

TEST(LocalFolderCheck, DriveThatIsNeitherFixedRemovableNorRemote)
{
    wchar_t letter = L'Y';
    while (letter > L'M' && GetDriveTypeW((std::wstring(1, letter) + L":\\").c_str()) != DRIVE_NO_ROOT_DIR)
        --letter;
    const std::wstring folder = std::wstring(1, letter) + L":\\Data";
    Checked checked = Local(folder);
    EXPECT_EQ(checked.code, FolderCheck::UnsuitableDrive) << "a letter without a drive";
    EXPECT_EQ(checked.path, folder + L"\\");

    WineDrive cd(letter, DRIVE_CDROM, "/tmp");
    ASSERT_TRUE(cd.Defined()) << "the mount manager refused the drive: " << GetLastError();
    ASSERT_EQ(GetDriveTypeW((std::wstring(1, letter) + L":\\").c_str()), static_cast<UINT>(DRIVE_CDROM));
    EXPECT_EQ(Local(folder).code, FolderCheck::UnsuitableDrive) << "a CD drive";
}

// Under Wine, Z: is the Unix root; sysfs refuses new folders and files even to root.
TEST(LocalFolderCheck, AccessDeniedWhenTheFolderCannotBeCreatedOrWritten)
{
    EXPECT_EQ(Local(L"Z:\\sys\\WiraxFolderCheck\\Deep").code, FolderCheck::AccessDenied);
    EXPECT_FALSE(Exists(L"Z:\\sys\\WiraxFolderCheck"));
    EXPECT_EQ(Local(L"Z:\\sys\\kernel").code, FolderCheck::AccessDenied);
}

TEST(NetworkFolderCheck, NamesAreCheckedBeforeAnyConnection)
{
    Checked semicolon = Network(L"\\\\server\\share;x\\Data");
    EXPECT_EQ(semicolon.code, FolderCheck::Invalid);
    EXPECT_EQ(semicolon.path, L"\\\\server\\share;x\\Data");
    for (const wchar_t* text : {L"\\\\server", L"\\\\server\\", L"\\\\server\\\\Data", L"\\\\server\\share\\a?b",
                                L"\\\\server\\share\\ \\x", L"Data\\Sub", L"CD:\\Data", L"C:\\a|b"})
        EXPECT_EQ(Network(text).code, FolderCheck::Invalid) << Narrow(text);
    EXPECT_EQ(Network(L"\" \t\"").code, FolderCheck::Empty);

    Checked local = Network(L"\"C:\\Data\\Sub\"");
    EXPECT_EQ(local.code, FolderCheck::NotNetworkPath);
    EXPECT_EQ(local.path, L"C:\\Data\\Sub\\");
}

// Wine has no network provider: every share is unreachable. A trailing backslash, which the
// pages always add, is part of a valid name.
TEST(NetworkFolderCheck, UnreachableShareAfterCanonicalForm)
{
    Checked checked = Network(L" \\\\wiraxui-no-such-host\\share\\Old\\..\\Data\\ ");
    EXPECT_EQ(checked.code, FolderCheck::Unreachable);
    EXPECT_EQ(checked.path, L"\\\\wiraxui-no-such-host\\share\\Data\\");
}
