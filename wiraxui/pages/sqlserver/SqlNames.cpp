#include "pages/sqlserver/SqlNames.h"

#include <windows.h>
#include <shlwapi.h>

namespace wiraxui {

namespace {

bool HasColonOrBackslash(const std::wstring& text) { return text.find_first_of(L":\\") != std::wstring::npos; }

}  // namespace

bool IsValidSqlServerName(const std::wstring& server)
{
    if (server.empty() || PathIsRootW(server.c_str()))
        return false;
    const size_t first = server.find(L'\\');
    const size_t last = server.rfind(L'\\');
    const std::wstring host = first == std::wstring::npos ? std::wstring() : server.substr(0, first);
    const std::wstring instance = last == std::wstring::npos ? server : server.substr(last + 1);
    return !HasColonOrBackslash(host) && !HasColonOrBackslash(instance);
}

bool IsValidSqlDatabaseName(const std::wstring& name) { return !name.empty() && !HasColonOrBackslash(name); }

}  // namespace wiraxui
