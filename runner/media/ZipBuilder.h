// Writes zip archives with zlib's minizip: the runner's sample media, the tests' archives and the
// benchmark's archive are all made with it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace media {

struct ZipEntryOptions {
    int level = 6;                 // 0 stores the data
    bool utf8Name = false;         // general purpose bit 11
    uint16_t versionMadeBy = 20;   // high byte: host system (0 MS-DOS, 3 Unix)
    uint32_t externalAttributes = 0;
    const char* password = nullptr;
};

class ZipBuilder {
public:
    explicit ZipBuilder(const std::wstring& path);
    ~ZipBuilder();
    ZipBuilder(const ZipBuilder&) = delete;
    ZipBuilder& operator=(const ZipBuilder&) = delete;

    bool IsOpen() const { return m_zip != nullptr; }
    // The name is written as given (bytes); a name ending with "/" is a folder entry.
    bool Add(const std::string& name, std::string_view data, const ZipEntryOptions& options = {});
    bool AddFolder(const std::string& name);
    // Finishes the central directory; false when anything failed on the way.
    bool Close();

private:
    void* m_zip = nullptr;
    bool m_failed = false;
};

// UTF-8 of a wide string.
std::string Utf8(const std::wstring& text);

// Deterministic bytes: `compressibility` 0 gives noise, 100 long runs of one text.
std::string SampleBytes(uint32_t seed, size_t size, int compressibility);

}  // namespace media
