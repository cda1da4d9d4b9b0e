#include "actions/Unpacker.h"

#include "actions/ArchiveStream.h"
#include "actions/EntryName.h"
#include "actions/LinkGuard.h"
#include "actions/Paths.h"
#include "actions/WholeFile.h"
#include "util/Handle.h"

#include <unzip.h>
#include <windows.h>

#include <cstring>
#include <map>
#include <memory>

namespace wiraxui::actions {

namespace {

constexpr uint16_t kFlagUtf8Name = 0x0800;
// Names are read into a buffer larger than the longest accepted one, so that an over-long name
// is seen as such instead of being cut short.
constexpr size_t kNameBufferBytes = 1024;
constexpr ZPOS64_T kLocalHeaderBytes = 30;
constexpr DWORD kEndRecordBytes = 22;

uint32_t Little32(const unsigned char* bytes)
{
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

// An archive without entries is nothing but its end record (and the archive comment). minizip
// looks for that record everywhere but at the very start of the file, so it does not open one.
bool IsEmptyArchive(const std::wstring& path)
{
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (file.Get() == INVALID_HANDLE_VALUE || !GetFileSizeEx(file.Get(), &size) || size.QuadPart < kEndRecordBytes
        || size.QuadPart > kEndRecordBytes + 0xFFFF)
        return false;
    unsigned char record[kEndRecordBytes];
    DWORD got = 0;
    if (!ReadFile(file.Get(), record, kEndRecordBytes, &got, nullptr) || got != kEndRecordBytes)
        return false;
    const unsigned comment = record[20] | (record[21] << 8);
    // Signature; disk numbers, entry counts, directory size and offset all zero; the comment
    // reaches exactly to the end of the file.
    if (Little32(record) != 0x06054b50 || size.QuadPart != kEndRecordBytes + comment)
        return false;
    for (int i = 4; i < 20; ++i) {
        if (record[i] != 0)
            return false;
    }
    return true;
}

class OpenArchive {
public:
    explicit OpenArchive(const std::wstring& path)
    {
        zlib_filefunc64_def functions = WideArchiveStream();
        m_zip = unzOpen2_64(path.c_str(), &functions);
    }
    ~OpenArchive()
    {
        if (m_zip)
            unzClose(m_zip);
    }
    OpenArchive(const OpenArchive&) = delete;
    OpenArchive& operator=(const OpenArchive&) = delete;
    unzFile Get() const { return m_zip; }

private:
    unzFile m_zip = nullptr;
};

class Unpacking {
public:
    Unpacking(unzFile zip, const std::wstring& destination, const CancelCheck& cancelled, UnpackFailure& failure)
        : m_zip(zip), m_destination(destination), m_cancelled(cancelled), m_failure(failure)
    {
    }

    int Run()
    {
        unz_global_info64 global{};
        if (unzGetGlobalInfo64(m_zip, &global) != UNZ_OK)
            return Fail("entry count unreadable");
        m_buffer.reset(new (std::nothrow) char[kUnpackBufferBytes]);
        if (!m_buffer)
            return Fail("no memory for the read buffer");
        for (ZPOS64_T index = 0; index < global.number_entry; ++index) {
            if (const int result = Entry(); result != kDone)
                return result;
            if (index + 1 == global.number_entry)
                break;
            const int next = unzGoToNextFile(m_zip);
            if (next == UNZ_END_OF_LIST_OF_FILE)
                break;
            if (next != UNZ_OK)
                return Fail("central directory damaged");
        }
        return kDone;
    }

private:
    int Fail(const char* reason, DWORD systemError = 0)
    {
        m_failure.reason = reason;
        m_failure.entry = m_entry;
        m_failure.systemError = systemError;
        return kFailed;
    }

    // The entry at work as the host's log names it: decoded when its name could be decoded,
    // else its bytes with those outside ASCII shown as '?'.
    void Name(std::string_view raw, const std::wstring* decoded)
    {
        if (decoded) {
            m_entry = *decoded;
            return;
        }
        m_entry.clear();
        for (char c : raw)
            m_entry += static_cast<unsigned char>(c) < 0x80 ? static_cast<wchar_t>(c) : L'?';
    }

    bool Cancelled() const { return m_cancelled && m_cancelled(); }

    int Entry()
    {
        unz_file_info64 info{};
        char name[kNameBufferBytes + 1] = {};
        m_entry.clear();
        if (unzGetCurrentFileInfo64(m_zip, &info, name, kNameBufferBytes, nullptr, 0, nullptr, 0) != UNZ_OK)
            return Fail("entry header unreadable");
        Name(std::string_view(name, info.size_filename < kNameBufferBytes ? info.size_filename : kNameBufferBytes), nullptr);
        if (info.size_filename > kMaxEntryNameBytes)
            return Fail("entry name too long");
        const std::string_view raw(name, info.size_filename);
        if (raw.find('\0') != std::string_view::npos)
            return Fail("entry name holds a zero byte");
        std::wstring wide;
        if (!Decode(raw, info.flag & kFlagUtf8Name, wide))
            return Fail("entry name not in its character set");
        Name(raw, &wide);

        EntryHeader header;
        header.versionMadeBy = static_cast<uint16_t>(info.version);
        header.flags = static_cast<uint16_t>(info.flag);
        header.externalAttributes = static_cast<uint32_t>(info.external_fa);
        const EntryDecision decision = DecideEntry(wide, header, m_destination.size());
        if (decision.kind == EntryKind::Refused)
            return Fail(decision.reason);
        const std::wstring target = m_destination + decision.relative;
        if (decision.kind == EntryKind::Folder) {
            if (Cancelled())
                return kCancelled;
            const std::wstring folder = decision.relative.empty() ? m_destination : target;
            if (!m_folders.Prepare(folder)) {
                const DWORD error = GetLastError();
                return LinkFreeBelowRoots(folder) ? Fail("folder could not be created", error) : Fail("destination folder is a link");
            }
            return Cancelled() ? kCancelled : kDone;
        }
        if (Cancelled())
            return kCancelled;
        if (!m_folders.Prepare(ParentOf(target))) {
            const DWORD error = GetLastError();
            return LinkFreeBelowRoots(ParentOf(target)) ? Fail("parent folder could not be created", error)
                                                        : Fail("destination folder is a link");
        }
        return File(target, info);
    }

    static bool Decode(std::string_view raw, bool utf8, std::wstring& wide)
    {
        if (utf8)
            return DecodeUtf8(raw, wide);
        wide.clear();
        if (raw.empty())
            return true;
        const int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, raw.data(), static_cast<int>(raw.size()), nullptr, 0);
        if (length <= 0)
            return false;
        wide.resize(static_cast<size_t>(length));
        return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, raw.data(), static_cast<int>(raw.size()), wide.data(), length) == length;
    }

    // Several directory records that share one local entry, or entries whose bytes overlap, make a
    // tiny archive unpack into any size at all: each entry must own its bytes of the archive, from
    // its local header to the end of its data.
    bool ClaimExtent(const unz_file_info64& info)
    {
        const ZPOS64_T dataStart = unzGetCurrentFileZStreamPos64(m_zip);
        const int localExtra = unzGetLocalExtrafield(m_zip, nullptr, 0);
        const ZPOS64_T header = kLocalHeaderBytes + info.size_filename + static_cast<ZPOS64_T>(localExtra < 0 ? 0 : localExtra);
        if (dataStart < header)
            return false;
        const ZPOS64_T start = dataStart - header;
        const ZPOS64_T end = dataStart + info.compressed_size;
        if (end < dataStart)
            return false;
        auto next = m_extents.lower_bound(start);
        if (next != m_extents.end() && next->first < end)
            return false;
        if (next != m_extents.begin() && std::prev(next)->second > start)
            return false;
        m_extents.emplace(start, end);
        return true;
    }

    int File(const std::wstring& target, const unz_file_info64& info)
    {
        const ZPOS64_T expectedSize = info.uncompressed_size;
        if (unzOpenCurrentFile(m_zip) != UNZ_OK)
            return Fail("entry could not be opened");
        if (!ClaimExtent(info)) {
            unzCloseCurrentFile(m_zip);
            return Fail("entries share or overlap their data");
        }
        // The entry is written under a temporary name beside its final one; only a whole file
        // replaces an earlier version.
        std::wstring temporary = TemporaryPath(ParentOf(target));
        UniqueHandle output(CreateTemporary(temporary));
        if (output.Get() == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS) {
            // A folder or link at the temporary name is no leftover of ours.
            const DWORD attributes = GetFileAttributesW(ExtendedPath(temporary).c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
                unzCloseCurrentFile(m_zip);
                return Fail("temporary name is a folder or link");
            }
            temporary = FreeTemporaryPath(ParentOf(target));
            output.Reset(CreateTemporary(temporary));
        }
        if (output.Get() == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            unzCloseCurrentFile(m_zip);
            return Fail("output file could not be created", error);
        }
        int result = kDone;
        ZPOS64_T written = 0;
        for (;;) {
            const int got = unzReadCurrentFile(m_zip, m_buffer.get(), kUnpackBufferBytes);
            if (got == 0)
                break;
            if (got < 0) {
                result = Fail("entry data damaged");
                break;
            }
            if (!WriteAll(output.Get(), m_buffer.get(), static_cast<DWORD>(got))) {
                result = Fail("output file could not be written", GetLastError());
                break;
            }
            written += static_cast<ZPOS64_T>(got);
            if (Cancelled()) {
                result = kCancelled;
                break;
            }
        }
        const int closed = unzCloseCurrentFile(m_zip);
        if (result == kDone && closed == UNZ_CRCERROR)
            result = Fail("entry data fails its checksum");
        else if (result == kDone && closed != UNZ_OK)
            result = Fail("entry could not be closed");
        else if (result == kDone && written != expectedSize)
            result = Fail("entry data shorter or longer than recorded");
        output.Reset();
        if (result == kDone && !CommitFile(temporary, target))
            result = Fail("output file could not take its final name", GetLastError());
        // A partly written file must not pass for a whole one, nor stay behind.
        if (result != kDone)
            DeleteFileW(ExtendedPath(temporary).c_str());
        return result;
    }

    static HANDLE CreateTemporary(const std::wstring& path)
    {
        return CreateFileW(ExtendedPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    static bool WriteAll(HANDLE file, const char* data, DWORD size)
    {
        while (size > 0) {
            DWORD done = 0;
            if (!WriteFile(file, data, size, &done, nullptr) || done == 0)
                return false;
            data += done;
            size -= done;
        }
        return true;
    }

    unzFile m_zip;
    const std::wstring m_destination;
    const CancelCheck& m_cancelled;
    UnpackFailure& m_failure;
    std::wstring m_entry;  // the entry at work, for the failure
    std::unique_ptr<char[]> m_buffer;
    FolderPreparer m_folders;
    std::map<ZPOS64_T, ZPOS64_T> m_extents;  // start -> end of each entry's bytes in the archive
};

}  // namespace

int UnpackArchive(const std::wstring& archive, const std::wstring& destination, const CancelCheck& cancelled,
                  UnpackFailure& failure)
{
    failure = UnpackFailure();
    OpenArchive zip(archive);
    if (!zip.Get()) {
        // Missing or unreadable: the system says which. A file that is there but no archive
        // leaves no system error behind.
        const DWORD error = GetFileAttributesW(ExtendedPath(archive).c_str()) == INVALID_FILE_ATTRIBUTES ? GetLastError() : 0;
        if (IsEmptyArchive(archive))
            return kDone;
        failure.reason = "archive could not be opened";
        failure.systemError = error;
        return kFailed;
    }
    return Unpacking(zip.Get(), WithBackslash(destination), cancelled, failure).Run();
}

int UnpackArchive(const std::wstring& archive, const std::wstring& destination, const CancelCheck& cancelled, std::string* why)
{
    UnpackFailure failure;
    const int result = UnpackArchive(archive, destination, cancelled, failure);
    if (why && result == kFailed)
        *why = failure.reason;
    return result;
}

}  // namespace wiraxui::actions
