#include "actions/ArchiveStream.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

namespace wiraxui::actions {

namespace {

constexpr DWORD kCacheBytes = 256 * 1024;

uint32_t Little32(const unsigned char* bytes)
{
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

uint64_t Little64(const unsigned char* bytes) { return Little32(bytes) | (static_cast<uint64_t>(Little32(bytes + 4)) << 32); }

struct Stream {
    HANDLE file = INVALID_HANDLE_VALUE;
    // Bytes before the archive proper (a self-extracting stub) that its Zip64 records do not count;
    // the stream starts behind them.
    ZPOS64_T base = 0;
    std::unique_ptr<unsigned char[]> cache{new unsigned char[kCacheBytes]};
    ZPOS64_T cacheStart = 0;
    DWORD cacheLength = 0;
    ZPOS64_T position = 0;
    ZPOS64_T size = 0;
    bool failed = false;

    ~Stream()
    {
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }

    bool ReadAt(ZPOS64_T offset, void* into, DWORD count, DWORD& got)
    {
        LARGE_INTEGER to;
        to.QuadPart = static_cast<LONGLONG>(base + offset);
        if (!SetFilePointerEx(file, to, nullptr, FILE_BEGIN) || !ReadFile(file, into, count, &got, nullptr)) {
            failed = true;
            got = 0;
            return false;
        }
        return true;
    }

    // minizip allows for bytes before a 32-bit archive, but takes the offset in a Zip64 locator as
    // it stands. When that offset misses the Zip64 end record, the record is looked for where it
    // must be, just before the locator, and the difference is the length of the bytes before.
    ZPOS64_T Zip64Prefix()
    {
        constexpr ZPOS64_T kEnd = 22, kLocator = 20, kRecord = 56, kMaxComment = 0xFFFF;
        const ZPOS64_T window = std::min<ZPOS64_T>(size, kMaxComment + kEnd + kLocator + kRecord + 0x10000);
        std::unique_ptr<unsigned char[]> tail(new (std::nothrow) unsigned char[window]);
        DWORD got = 0;
        const ZPOS64_T windowStart = size - window;
        if (!tail || !ReadAt(windowStart, tail.get(), static_cast<DWORD>(window), got) || got != window) {
            failed = false;
            return 0;
        }
        for (ZPOS64_T end = window >= kEnd ? window - kEnd + 1 : 0; end-- > 0;) {
            if (Little32(tail.get() + end) != 0x06054b50)
                continue;
            if (end < kLocator || Little32(tail.get() + end - kLocator) != 0x07064b50)
                return 0;
            const ZPOS64_T locator = end - kLocator;
            const ZPOS64_T recorded = Little64(tail.get() + locator + 8);
            // The record sits right before the locator; its own size field says how long it is.
            for (ZPOS64_T record = locator >= kRecord ? locator - kRecord + 1 : 0; record-- > 0;) {
                if (Little32(tail.get() + record) != 0x06064b50 || record + 12 + Little64(tail.get() + record + 4) != locator)
                    continue;
                const ZPOS64_T actual = windowStart + record;
                return actual > recorded ? actual - recorded : 0;
            }
            return 0;
        }
        return 0;
    }
};

voidpf ZCALLBACK Open(voidpf, const void* path, int mode)
{
    if (!path || (mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ)
        return nullptr;
    auto stream = std::make_unique<Stream>();
    stream->file = CreateFileW(static_cast<const wchar_t*>(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    LARGE_INTEGER size{};
    if (stream->file == INVALID_HANDLE_VALUE || !GetFileSizeEx(stream->file, &size))
        return nullptr;
    stream->size = static_cast<ZPOS64_T>(size.QuadPart);
    const ZPOS64_T prefix = stream->Zip64Prefix();
    stream->base = prefix;
    stream->size -= prefix;
    return stream.release();
}

uLong ZCALLBACK Read(voidpf, voidpf opaque, void* buffer, uLong count)
{
    auto* stream = static_cast<Stream*>(opaque);
    auto* into = static_cast<unsigned char*>(buffer);
    uLong done = 0;
    while (done < count && stream->position < stream->size) {
        const ZPOS64_T cacheEnd = stream->cacheStart + stream->cacheLength;
        if (stream->position >= stream->cacheStart && stream->position < cacheEnd) {
            const auto offset = static_cast<DWORD>(stream->position - stream->cacheStart);
            const uLong take = std::min<uLong>(count - done, stream->cacheLength - offset);
            std::memcpy(into + done, stream->cache.get() + offset, take);
            done += take;
            stream->position += take;
            continue;
        }
        DWORD got = 0;
        if (count - done >= kCacheBytes) {
            // Large requests go straight to the caller's buffer.
            if (!stream->ReadAt(stream->position, into + done, count - done, got) || got == 0)
                break;
            done += got;
            stream->position += got;
            continue;
        }
        if (!stream->ReadAt(stream->position, stream->cache.get(), kCacheBytes, got) || got == 0) {
            stream->cacheLength = 0;
            break;
        }
        stream->cacheStart = stream->position;
        stream->cacheLength = got;
    }
    return done;
}

uLong ZCALLBACK Write(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK Tell(voidpf, voidpf opaque) { return static_cast<Stream*>(opaque)->position; }

long ZCALLBACK Seek(voidpf, voidpf opaque, ZPOS64_T offset, int origin)
{
    auto* stream = static_cast<Stream*>(opaque);
    ZPOS64_T base = 0;
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: base = stream->position; break;
    case ZLIB_FILEFUNC_SEEK_END: base = stream->size; break;
    default: return -1;
    }
    // minizip passes negative offsets from the end as wrapped unsigned values.
    const ZPOS64_T target = base + offset;
    if (target > stream->size)
        return -1;
    stream->position = target;
    return 0;
}

int ZCALLBACK Close(voidpf, voidpf opaque)
{
    delete static_cast<Stream*>(opaque);
    return 0;
}

int ZCALLBACK Error(voidpf, voidpf opaque) { return static_cast<Stream*>(opaque)->failed ? 1 : 0; }

}  // namespace

zlib_filefunc64_def WideArchiveStream()
{
    zlib_filefunc64_def functions{};
    functions.zopen64_file = Open;
    functions.zread_file = Read;
    functions.zwrite_file = Write;
    functions.ztell64_file = Tell;
    functions.zseek64_file = Seek;
    functions.zclose_file = Close;
    functions.zerror_file = Error;
    return functions;
}

}  // namespace wiraxui::actions
