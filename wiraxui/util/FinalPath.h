// Whether a name leads to another file than itself.
#pragma once

#include <windows.h>

#include <string>

namespace wiraxui {

// True when the file or folder the name opens is not the one the name itself is: a symbolic link,
// a junction, even one the platform does not report as such (Wine shows a linked file as a plain
// one, and deletes what it points at instead of the link). Found by comparing the final path of
// an opened handle with the full path asked for; a name that cannot be opened or compared counts
// as leading elsewhere. One open per call: for the rare steps that would change or delete a file
// in a folder other users can write.
inline bool LeadsElsewhere(const std::wstring& path)
{
    const auto plain = [](std::wstring text) {
        if (text.rfind(L"\\\\?\\UNC\\", 0) == 0)
            text = L"\\\\" + text.substr(8);
        else if (text.rfind(L"\\\\?\\", 0) == 0)
            text = text.substr(4);
        while (text.size() > 3 && text.back() == L'\\')
            text.pop_back();
        if (!text.empty())
            CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
        return text;
    };
    HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return true;
    std::wstring final(32768, L'\0');
    const DWORD length = GetFinalPathNameByHandleW(file, final.data(), static_cast<DWORD>(final.size()), FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    CloseHandle(file);
    std::wstring full(32768, L'\0');
    const DWORD fullLength = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= final.size() || fullLength == 0 || fullLength >= full.size())
        return true;
    final.resize(length);
    full.resize(fullLength);
    return plain(final) != plain(full);
}

}  // namespace wiraxui
