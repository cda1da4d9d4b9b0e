// Native libFuzzer harness: the entry-name decision and minizip's reading of an archive, with
// AddressSanitizer. An input is either an archive (read whole through minizip from memory, every
// entry decided and its data read) or, when it does not start like one, a bare entry name. An
// accepted entry must stay below the destination by an independent check of what Windows would
// make of the path; a violation aborts, which the fuzzer reports as a crash.
#include "actions/EntryName.h"

#include <ioapi.h>
#include <unzip.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using wiraxui::actions::DecideEntry;
using wiraxui::actions::EntryHeader;
using wiraxui::actions::EntryKind;

constexpr size_t kDestinationLength = 48;  // "C:\Users\Public\Documents\Tarvena\Wirax\Libs\" and so on

[[noreturn]] void Escape(const std::wstring& relative, const char* why)
{
    fprintf(stderr, "accepted entry escapes (%s):", why);
    for (wchar_t c : relative)
        fprintf(stderr, " %04x", static_cast<unsigned>(c));
    fputc('\n', stderr);
    abort();
}

bool EqualsUpper(const std::wstring& text, const char* upper)
{
    if (text.size() != strlen(upper))
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - 32);
        if (c != static_cast<unsigned char>(upper[i]))
            return false;
    }
    return true;
}

// What Windows' path handling would do with destination + relative, checked from scratch: every
// component must survive unchanged, name no device, and not climb.

void CheckAccepted(const wiraxui::actions::EntryDecision& decision)
{
    const std::wstring& relative = decision.relative;
    if (decision.kind == EntryKind::File && relative.empty())
        Escape(relative, "file without a name");
    if (!relative.empty() && (relative.front() == L'\\' || relative.back() == L'\\'))
        Escape(relative, "rooted or open-ended");
    const size_t limit = decision.kind == EntryKind::File ? 259 : 247;
    if (kDestinationLength + relative.size() > limit)
        Escape(relative, "too long");
    size_t start = 0;
    while (start <= relative.size() && !relative.empty()) {
        size_t end = relative.find(L'\\', start);
        if (end == std::wstring::npos)
            end = relative.size();
        const std::wstring part = relative.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == L"." || part == L"..")
            Escape(relative, "empty, current or parent component");
        if (part.back() == L'.' || part.back() == L' ')
            Escape(relative, "component Windows would trim");
        for (wchar_t c : part) {
            if (c < 0x20 || c == L'/' || c == L':' || c == L'<' || c == L'>' || c == L'"' || c == L'|' || c == L'?' || c == L'*')
                Escape(relative, "character Windows treats specially");
        }
        std::wstring base = part.substr(0, part.find(L'.'));
        while (!base.empty() && (base.back() == L' ' || base.back() == L'.'))
            base.pop_back();
        for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
            if (EqualsUpper(base, device))
                Escape(relative, "device");
        }
        if (base.size() == 4 && (EqualsUpper(base.substr(0, 3), "COM") || EqualsUpper(base.substr(0, 3), "LPT"))
            && ((base[3] >= L'0' && base[3] <= L'9') || base[3] == 0xB9 || base[3] == 0xB2 || base[3] == 0xB3))
            Escape(relative, "numbered device");
    }
}

void Decide(const std::string& raw, const EntryHeader& header)
{
    std::wstring name;
    if (header.flags & 0x0800) {
        if (!wiraxui::actions::DecodeUtf8(raw, name))
            return;
    } else {
        // The Western code page stands in for the system's: one character per byte.
        for (unsigned char c : raw)
            name += static_cast<wchar_t>(c);
    }
    const auto decision = DecideEntry(name, header, kDestinationLength);
    if (decision.kind != EntryKind::Refused)
        CheckAccepted(decision);
}

// minizip reading from memory.
struct Memory {
    const uint8_t* data;
    size_t size;
    size_t position;
};

voidpf Open(voidpf opaque, const void*, int) { return opaque; }
uLong Read(voidpf, voidpf stream, void* buffer, uLong count)
{
    auto* memory = static_cast<Memory*>(stream);
    const size_t take = std::min<size_t>(count, memory->size - memory->position);
    memcpy(buffer, memory->data + memory->position, take);
    memory->position += take;
    return static_cast<uLong>(take);
}
uLong Write(voidpf, voidpf, const void*, uLong) { return 0; }
ZPOS64_T Tell(voidpf, voidpf stream) { return static_cast<Memory*>(stream)->position; }
long Seek(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    auto* memory = static_cast<Memory*>(stream);
    const ZPOS64_T base = origin == ZLIB_FILEFUNC_SEEK_SET ? 0 : origin == ZLIB_FILEFUNC_SEEK_CUR ? memory->position : memory->size;
    const ZPOS64_T target = base + offset;
    if (target > memory->size)
        return -1;
    memory->position = static_cast<size_t>(target);
    return 0;
}
int Close(voidpf, voidpf) { return 0; }
int Error(voidpf, voidpf) { return 0; }

void ReadArchive(const uint8_t* data, size_t size)
{
    Memory memory{data, size, 0};
    zlib_filefunc64_def functions{Open, Read, Write, Tell, Seek, Close, Error, &memory};
    unzFile zip = unzOpen2_64("memory", &functions);
    if (!zip)
        return;
    unz_global_info64 global{};
    if (unzGetGlobalInfo64(zip, &global) == UNZ_OK) {
        static char buffer[64 * 1024];
        size_t budget = 4 * 1024 * 1024;  // uncompressed bytes read per input, so bombs stay cheap
        for (ZPOS64_T index = 0; index < global.number_entry && index < 4096; ++index) {
            unz_file_info64 info{};
            char name[1025] = {};
            if (unzGetCurrentFileInfo64(zip, &info, name, 1024, nullptr, 0, nullptr, 0) != UNZ_OK)
                break;
            if (info.size_filename <= 259) {
                EntryHeader header;
                header.versionMadeBy = static_cast<uint16_t>(info.version);
                header.flags = static_cast<uint16_t>(info.flag);
                header.externalAttributes = static_cast<uint32_t>(info.external_fa);
                const std::string raw(name, info.size_filename);
                if (raw.find('\0') == std::string::npos)
                    Decide(raw, header);
            }
            if (budget > 0 && unzOpenCurrentFile(zip) == UNZ_OK) {
                int got;
                while (budget > 0 && (got = unzReadCurrentFile(zip, buffer, static_cast<unsigned>(std::min(sizeof buffer, budget)))) > 0)
                    budget -= static_cast<size_t>(got);
                unzCloseCurrentFile(zip);
            }
            if (unzGoToNextFile(zip) != UNZ_OK)
                break;
        }
    }
    unzClose(zip);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size >= 4 && memcmp(data, "PK", 2) == 0) {
        ReadArchive(data, size);
        return 0;
    }
    // A bare name: the first byte chooses the header bits, the rest is the name.
    if (size == 0)
        return 0;
    EntryHeader header;
    header.flags = data[0] & 0x01 ? 0x0800 : 0;
    if (data[0] & 0x02) {
        header.versionMadeBy = 3 << 8;
        header.externalAttributes = (data[0] & 0x04 ? 0120777u : 0100644u) << 16;
    }
    Decide(std::string(reinterpret_cast<const char*>(data) + 1, size - 1), header);
    return 0;
}
