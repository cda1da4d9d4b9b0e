#include "engine/MachineFolders.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <vector>

namespace runner {

namespace {

struct FolderRole {
    std::wstring path;  // without a trailing backslash
    std::wstring role;
};

std::wstring WithoutTrailingBackslash(std::wstring path)
{
    while (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    return path;
}

// The longest folder first, so that "<documents>" wins over "<user-profile>".
void SortRoles(std::vector<FolderRole>& roles)
{
    std::stable_sort(roles.begin(), roles.end(), [](const FolderRole& a, const FolderRole& b) { return a.path.size() > b.path.size(); });
}

std::vector<FolderRole>& Roles()
{
    static std::vector<FolderRole> roles = [] {
        std::vector<FolderRole> found;
        const auto add = [&found](const std::wstring& path, const wchar_t* role) {
            if (!path.empty())
                found.push_back({WithoutTrailingBackslash(path), role});
        };
        static const std::pair<int, const wchar_t*> special[] = {
            {CSIDL_PROFILE, L"<user-profile>"},   {CSIDL_PERSONAL, L"<documents>"},
            {CSIDL_APPDATA, L"<appdata>"},         {CSIDL_LOCAL_APPDATA, L"<local-appdata>"},
            {CSIDL_DESKTOPDIRECTORY, L"<desktop>"},
        };
        for (const auto& [csidl, role] : special) {
            wchar_t path[MAX_PATH] = L"";
            if (SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
                add(path, role);
        }
        wchar_t temp[MAX_PATH + 1] = L"";
        if (GetTempPathW(MAX_PATH + 1, temp) > 0) {
            // The long form too: a plug-in may write either.
            add(temp, L"<temp>");
            wchar_t longForm[MAX_PATH + 1] = L"";
            if (GetLongPathNameW(temp, longForm, MAX_PATH + 1) > 0)
                add(longForm, L"<temp>");
        }
        SortRoles(found);
        return found;
    }();
    return roles;
}

bool EndsAPathPart(const std::wstring& text, size_t at)
{
    return at == text.size() || text[at] == L'\\' || text[at] == L'/' || text[at] == L'"' || text[at] == L';'
           || iswspace(text[at]);
}

}  // namespace

void AddFolderRole(const std::wstring& path, const std::wstring& role)
{
    Roles().push_back({WithoutTrailingBackslash(path), role});
    SortRoles(Roles());
}

std::wstring WithFolderRoles(const std::wstring& text)
{
    std::wstring result;
    size_t at = 0;
    while (at < text.size()) {
        bool replaced = false;
        for (const FolderRole& folder : Roles()) {
            const size_t length = folder.path.size();
            if (length == 0 || at + length > text.size() || !EndsAPathPart(text, at + length))
                continue;
            if (CompareStringOrdinal(text.c_str() + at, static_cast<int>(length), folder.path.c_str(),
                                     static_cast<int>(length), TRUE)
                != CSTR_EQUAL)
                continue;
            result += folder.role;
            at += length;
            replaced = true;
            break;
        }
        if (!replaced)
            result += text[at++];
    }
    return result;
}

}  // namespace runner
