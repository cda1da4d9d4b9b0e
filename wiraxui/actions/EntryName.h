// What an archive entry becomes below the destination folder: a file, a folder, or nothing at all
// because its name could reach outside the destination or is not a name Windows can keep.
//
// Pure code without any Windows call, so that the same decision runs in the unpacker and in a
// native fuzzing harness.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace wiraxui::actions {

// The longest entry name (in bytes, as stored in the archive) the unpacker accepts.
constexpr size_t kMaxEntryNameBytes = 259;
// Longest full path of a file and of a folder that Windows creates without a long-path prefix.
constexpr size_t kMaxFilePath = 259;
constexpr size_t kMaxFolderPath = 247;

enum class EntryKind { File, Folder, Refused };

struct EntryDecision {
    EntryKind kind = EntryKind::Refused;
    // Backslash-separated, relative to the destination, no leading or trailing backslash. Empty
    // for a folder entry that names the destination itself ("./").
    std::wstring relative;
    const char* reason = "";  // why an entry was refused, for diagnostics
};

// The parts of a central directory record that decide what an entry may become.
struct EntryHeader {
    uint16_t versionMadeBy = 0;  // high byte: the host system that wrote the entry
    uint16_t flags = 0;          // general purpose bits: 0 encrypted, 11 UTF-8 name
    uint32_t externalAttributes = 0;
};

// Strict UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF) to UTF-16. False when
// the bytes are not valid UTF-8.
bool DecodeUtf8(std::string_view bytes, std::wstring& out);

// Decides what the decoded entry name becomes when the destination folder path (ending with a
// backslash) has `destinationLength` characters.
EntryDecision DecideEntry(std::wstring_view name, const EntryHeader& header, size_t destinationLength);

// True for names that Windows maps to a device whatever the folder: "CON", "nul.txt", "COM1 ".
bool IsDeviceName(std::wstring_view component);

}  // namespace wiraxui::actions
