#include "actions/EntryName.h"

#include <array>

namespace wiraxui::actions {

namespace {

constexpr uint8_t kHostUnix = 3;
constexpr uint32_t kUnixTypeMask = 0170000;
constexpr uint32_t kUnixSymbolicLink = 0120000;
constexpr uint32_t kAttributeReparsePoint = 0x400;
constexpr uint16_t kFlagEncrypted = 0x0001;

wchar_t Upper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

bool EqualsUpper(std::wstring_view text, std::wstring_view upper)
{
    if (text.size() != upper.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (Upper(text[i]) != upper[i])
            return false;
    }
    return true;
}

// Characters Windows does not keep in a file name, besides the separators and the colon that
// the caller has dealt with already.
bool IsForbiddenCharacter(wchar_t c) { return c < 0x20 || c == L'<' || c == L'>' || c == L'"' || c == L'|' || c == L'?' || c == L'*'; }

EntryDecision Refuse(const char* reason)
{
    EntryDecision decision;
    decision.reason = reason;
    return decision;
}

}  // namespace

bool DecodeUtf8(std::string_view bytes, std::wstring& out)
{
    out.clear();
    size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<uint8_t>(bytes[i]);
        uint32_t code = 0;
        size_t length = 0;
        uint32_t minimum = 0;
        if (lead < 0x80) {
            code = lead;
            length = 1;
        } else if ((lead & 0xE0) == 0xC0) {
            code = lead & 0x1F;
            length = 2;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            code = lead & 0x0F;
            length = 3;
            minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            code = lead & 0x07;
            length = 4;
            minimum = 0x10000;
        } else {
            return false;
        }
        if (bytes.size() - i < length)
            return false;
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<uint8_t>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        if (code >= 0x10000) {
            code -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (code >> 10));
            out += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
        } else {
            out += static_cast<wchar_t>(code);
        }
        i += length;
    }
    return true;
}

bool IsDeviceName(std::wstring_view component)
{
    // Windows looks only at what stands before the first dot, with trailing blanks ignored.
    std::wstring_view base = component.substr(0, component.find(L'.'));
    while (!base.empty() && (base.back() == L' ' || base.back() == L'.'))
        base.remove_suffix(1);
    static constexpr std::array<std::wstring_view, 6> kPlain = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (std::wstring_view device : kPlain) {
        if (EqualsUpper(base, device))
            return true;
    }
    if (base.size() == 4 && (EqualsUpper(base.substr(0, 3), L"COM") || EqualsUpper(base.substr(0, 3), L"LPT"))) {
        const wchar_t digit = base[3];
        // Superscript one, two and three count as digits here as well.
        return (digit >= L'0' && digit <= L'9') || digit == 0x00B9 || digit == 0x00B2 || digit == 0x00B3;
    }
    return false;
}

EntryDecision DecideEntry(std::wstring_view name, const EntryHeader& header, size_t destinationLength)
{
    if (header.flags & kFlagEncrypted)
        return Refuse("encrypted entry");
    const auto host = static_cast<uint8_t>(header.versionMadeBy >> 8);
    if (host == kHostUnix && ((header.externalAttributes >> 16) & kUnixTypeMask) == kUnixSymbolicLink)
        return Refuse("symbolic link");
    if (host != kHostUnix && (header.externalAttributes & kAttributeReparsePoint))
        return Refuse("reparse point");
    if (name.empty())
        return Refuse("empty name");
    if (name.front() == L'/' || name.front() == L'\\')
        return Refuse("absolute name");

    EntryDecision decision;
    const wchar_t last = name.back();
    decision.kind = last == L'/' || last == L'\\' ? EntryKind::Folder : EntryKind::File;
    if (decision.kind == EntryKind::Folder)
        name.remove_suffix(1);

    size_t start = 0;
    while (start <= name.size()) {
        size_t end = start;
        while (end < name.size() && name[end] != L'/' && name[end] != L'\\')
            ++end;
        const std::wstring_view component = name.substr(start, end - start);
        start = end + 1;
        if (component.empty())
            return Refuse("empty path component");
        if (component == L".")
            continue;
        if (component == L"..")
            return Refuse("parent folder component");
        for (wchar_t c : component) {
            if (c == L':')
                return Refuse("drive or stream colon");
            if (IsForbiddenCharacter(c))
                return Refuse("character Windows does not keep in a name");
        }
        if (component.back() == L'.' || component.back() == L' ')
            return Refuse("component ending with a dot or blank");
        if (IsDeviceName(component))
            return Refuse("device name");
        if (!decision.relative.empty())
            decision.relative += L'\\';
        decision.relative += component;
    }
    if (decision.kind == EntryKind::File && decision.relative.empty())
        return Refuse("file entry without a name");

    const size_t limit = decision.kind == EntryKind::File ? kMaxFilePath : kMaxFolderPath;
    if (destinationLength + decision.relative.size() > limit)
        return Refuse("path too long");
    // The parent folders of a file are created too; they must fit the folder limit.
    if (decision.kind == EntryKind::File) {
        const size_t slash = decision.relative.rfind(L'\\');
        if (slash != std::wstring::npos && destinationLength + slash > kMaxFolderPath)
            return Refuse("path too long");
    }
    return decision;
}

}  // namespace wiraxui::actions
