// Folders, files and hand-made zip archives for the install-time action tests.
#pragma once

#include "FileTree.h"
#include "UnixLink.h"

#include <windows.h>

#include <zlib.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace actionstest {

inline bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

inline bool WriteBytes(const std::wstring& path, const std::string& data)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == data.size();
}

inline std::string ReadBytes(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string data;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        data.append(chunk, got);
    CloseHandle(file);
    return data;
}

// Every file and folder below `root`, by relative path, with its attributes.
inline void Walk(const std::wstring& root, const std::wstring& relative, std::map<std::wstring, DWORD>& into)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((root + (relative.empty() ? L"" : L"\\" + relative) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring path = relative.empty() ? name : relative + L"\\" + name;
        into[path] = found.dwFileAttributes;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            Walk(root, path, into);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

inline std::map<std::wstring, DWORD> Walk(const std::wstring& root)
{
    std::map<std::wstring, DWORD> tree;
    Walk(root, L"", tree);
    return tree;
}

// A zip archive written byte by byte, so that a test can put into it what no zip tool would:
// any name, flags, attributes, checksum or offset. Data are stored, not compressed.
class RawZip {
public:
    struct Entry {
        std::string name;
        std::string data;
        uint16_t flags = 0;
        uint16_t versionMadeBy = 20;
        uint32_t externalAttributes = 0;
        bool wrongCrc = false;
        // Point the directory record at the local header of an earlier entry (overlap).
        int sharesDataOf = -1;
    };

    RawZip& Add(Entry entry)
    {
        m_entries.push_back(std::move(entry));
        return *this;
    }
    RawZip& Add(const std::string& name, const std::string& data = "data")
    {
        Entry entry;
        entry.name = name;
        entry.data = data;
        return Add(std::move(entry));
    }

    // Zip64 records throughout: sizes and offsets in extra fields, a Zip64 end record and its
    // locator, and 32-bit fields that only say "see Zip64".
    RawZip& Zip64()
    {
        m_zip64 = true;
        return *this;
    }
    // Bytes before the archive (a self-extracting stub) that its offsets do not count.
    RawZip& Prefix(std::string bytes)
    {
        m_prefix = std::move(bytes);
        return *this;
    }

    std::string Bytes() const
    {
        std::string out;
        std::vector<uint32_t> offsets;
        std::vector<uint32_t> crcs;
        for (const Entry& entry : m_entries) {
            uint32_t crc = crc32(0, reinterpret_cast<const Bytef*>(entry.data.data()), static_cast<uInt>(entry.data.size()));
            if (entry.wrongCrc)
                crc ^= 0x5A5A5A5A;
            crcs.push_back(crc);
            offsets.push_back(static_cast<uint32_t>(out.size()));
            const auto size = static_cast<uint32_t>(entry.data.size());
            Put32(out, 0x04034b50);
            Put16(out, m_zip64 ? 45 : 20);
            Put16(out, entry.flags);
            Put16(out, 0);  // stored
            Put16(out, 0);
            Put16(out, 0x5A21);
            Put32(out, crc);
            Put32(out, m_zip64 ? 0xFFFFFFFFu : size);
            Put32(out, m_zip64 ? 0xFFFFFFFFu : size);
            Put16(out, static_cast<uint16_t>(entry.name.size()));
            Put16(out, m_zip64 ? 20 : 0);
            out += entry.name;
            if (m_zip64) {
                Put16(out, 1);
                Put16(out, 16);
                Put64(out, size);
                Put64(out, size);
            }
            out += entry.data;
        }
        const auto directory = static_cast<uint32_t>(out.size());
        for (size_t i = 0; i < m_entries.size(); ++i) {
            const Entry& entry = m_entries[i];
            const size_t source = entry.sharesDataOf >= 0 ? static_cast<size_t>(entry.sharesDataOf) : i;
            const Entry& data = m_entries[source];
            const auto size = static_cast<uint32_t>(data.data.size());
            Put32(out, 0x02014b50);
            Put16(out, entry.versionMadeBy);
            Put16(out, m_zip64 ? 45 : 20);
            Put16(out, entry.flags);
            Put16(out, 0);
            Put16(out, 0);
            Put16(out, 0x5A21);
            Put32(out, crcs[source]);
            Put32(out, m_zip64 ? 0xFFFFFFFFu : size);
            Put32(out, m_zip64 ? 0xFFFFFFFFu : size);
            Put16(out, static_cast<uint16_t>(entry.name.size()));
            Put16(out, m_zip64 ? 28 : 0);
            Put16(out, 0);
            Put16(out, 0);
            Put16(out, 0);
            Put32(out, entry.externalAttributes);
            Put32(out, m_zip64 ? 0xFFFFFFFFu : offsets[source]);
            out += entry.name;
            if (m_zip64) {
                Put16(out, 1);
                Put16(out, 24);
                Put64(out, size);
                Put64(out, size);
                Put64(out, offsets[source]);
            }
        }
        const auto size = static_cast<uint32_t>(out.size()) - directory;
        const auto count = static_cast<uint16_t>(m_entries.size());
        if (m_zip64) {
            const auto record = static_cast<uint32_t>(out.size());
            Put32(out, 0x06064b50);
            Put64(out, 44);
            Put16(out, 45);
            Put16(out, 45);
            Put32(out, 0);
            Put32(out, 0);
            Put64(out, count);
            Put64(out, count);
            Put64(out, size);
            Put64(out, directory);
            Put32(out, 0x07064b50);
            Put32(out, 0);
            Put64(out, record);
            Put32(out, 1);
        }
        Put32(out, 0x06054b50);
        Put16(out, 0);
        Put16(out, 0);
        Put16(out, m_zip64 ? 0xFFFF : count);
        Put16(out, m_zip64 ? 0xFFFF : count);
        Put32(out, m_zip64 ? 0xFFFFFFFFu : size);
        Put32(out, m_zip64 ? 0xFFFFFFFFu : directory);
        Put16(out, 0);
        return m_prefix + out;
    }

    bool Write(const std::wstring& path) const { return WriteBytes(path, Bytes()); }

private:
    static void Put16(std::string& out, uint16_t value)
    {
        out += static_cast<char>(value & 0xFF);
        out += static_cast<char>(value >> 8);
    }
    static void Put32(std::string& out, uint32_t value)
    {
        Put16(out, static_cast<uint16_t>(value & 0xFFFF));
        Put16(out, static_cast<uint16_t>(value >> 16));
    }

    static void Put64(std::string& out, uint64_t value)
    {
        Put32(out, static_cast<uint32_t>(value & 0xFFFFFFFFu));
        Put32(out, static_cast<uint32_t>(value >> 32));
    }

    std::vector<Entry> m_entries;
    bool m_zip64 = false;
    std::string m_prefix;
};

}  // namespace actionstest
