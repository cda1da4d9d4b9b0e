#include "ZipBuilder.h"

#include <windows.h>
#include <zip.h>
// after zip.h, which brings the declarations it builds on
#include <iowin32.h>

#include <algorithm>

namespace media {

ZipBuilder::ZipBuilder(const std::wstring& path)
{
    zlib_filefunc64_def functions;
    fill_win32_filefunc64W(&functions);
    m_zip = zipOpen2_64(path.c_str(), APPEND_STATUS_CREATE, nullptr, &functions);
}

ZipBuilder::~ZipBuilder() { Close(); }

bool ZipBuilder::Add(const std::string& name, std::string_view data, const ZipEntryOptions& options)
{
    if (!m_zip)
        return false;
    zip_fileinfo info{};
    info.dosDate = 0x5A210000;  // a fixed date keeps archives byte for byte the same
    info.external_fa = options.externalAttributes;
    uLong crc = 0;
    if (options.password)
        crc = crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()));
    const int opened = zipOpenNewFileInZip4_64(
        m_zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, options.level == 0 ? 0 : Z_DEFLATED, options.level, 0,
        -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, options.password, crc, options.versionMadeBy,
        options.utf8Name ? (1 << 11) : 0, data.size() >= 0xFFFFFFFFull);
    if (opened != ZIP_OK) {
        m_failed = true;
        return false;
    }
    bool ok = true;
    size_t offset = 0;
    while (offset < data.size()) {
        const size_t chunk = std::min<size_t>(data.size() - offset, 1 << 20);
        if (zipWriteInFileInZip(m_zip, data.data() + offset, static_cast<unsigned>(chunk)) != ZIP_OK) {
            ok = false;
            break;
        }
        offset += chunk;
    }
    ok = zipCloseFileInZip(m_zip) == ZIP_OK && ok;
    m_failed |= !ok;
    return ok;
}

bool ZipBuilder::AddFolder(const std::string& name)
{
    ZipEntryOptions options;
    options.level = 0;
    options.externalAttributes = FILE_ATTRIBUTE_DIRECTORY;
    return Add(name, {}, options);
}

bool ZipBuilder::Close()
{
    if (!m_zip)
        return !m_failed;
    const bool closed = zipClose(m_zip, nullptr) == ZIP_OK;
    m_zip = nullptr;
    return closed && !m_failed;
}

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::string SampleBytes(uint32_t seed, size_t size, int compressibility)
{
    static const char kWords[] = "terminal relay contactor fuse breaker motor cable wire symbol panel ";
    std::string out;
    out.reserve(size);
    uint32_t state = seed * 2654435761u + 1;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    while (out.size() < size) {
        if (static_cast<int>(next() % 100) < compressibility) {
            const size_t run = 64 + next() % 192;
            for (size_t i = 0; i < run && out.size() < size; ++i)
                out += kWords[(i + seed) % (sizeof kWords - 1)];
        } else {
            for (int i = 0; i < 64 && out.size() < size; ++i)
                out += static_cast<char>(next() & 0xFF);
        }
    }
    return out;
}

}  // namespace media
