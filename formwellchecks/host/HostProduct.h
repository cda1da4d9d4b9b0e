// Reading a host product's installer properties, and the host's string type.
#pragma once

#include <AppMgrHost.h>

#include <string>

namespace formwell {

// Installer properties are read through a buffer of this many characters.
constexpr DWORD kPropertyBufferSize = 1024;

// The property's value, or an empty string when the host cannot read it.
std::wstring ReadProperty(const CProduct& product, const wchar_t* name);

inline QString ToQString(const std::wstring& text) { return QString::fromStdWString(text); }
inline std::wstring FromQString(const QString& text) { return text.toStdWString(); }

}  // namespace formwell
