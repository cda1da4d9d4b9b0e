#include "actions/LinkGuard.h"

#include "actions/WholeFile.h"

#include <windows.h>

#include <algorithm>

namespace wiraxui::actions {

namespace {

SharedRootsGuard* g_guard = nullptr;

std::wstring WithoutTrailingBackslash(std::wstring path)
{
    while (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    return path;
}

// "\\?\C:\..." and "\\?\UNC\server\..." name the same folders as "C:\..." and "\\server\...".
std::wstring PlainForm(const std::wstring& path)
{
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0)
        return L"\\\\" + path.substr(8);
    if (path.rfind(L"\\\\?\\", 0) == 0)
        return path.substr(4);
    return path;
}

std::wstring Upper(std::wstring text)
{
    if (!text.empty())
        CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

}  // namespace

SharedRootsGuard::SharedRootsGuard(const std::vector<std::wstring>& roots) : m_previous(g_guard)
{
    for (const std::wstring& root : roots) {
        if (!root.empty())
            m_roots.push_back(Upper(WithoutTrailingBackslash(PlainForm(root))));
    }
    // The innermost root decides: a support root below the symbol root is checked from itself on.
    std::sort(m_roots.begin(), m_roots.end(), [](const std::wstring& a, const std::wstring& b) { return a.size() > b.size(); });
    g_guard = this;
}

SharedRootsGuard::~SharedRootsGuard() { g_guard = m_previous; }

bool LinkFreeBelowRoots(const std::wstring& folder)
{
    SharedRootsGuard* guard = g_guard;
    if (!guard)
        return true;
    const std::wstring original = WithoutTrailingBackslash(PlainForm(folder));
    const std::wstring path = Upper(original);
    for (const std::wstring& root : guard->m_roots) {
        // "C:\" keeps its backslash; any other root gets one, so that "C:\Share" does not hold
        // "C:\Shared".
        const std::wstring prefix = root.back() == L'\\' ? root : root + L'\\';
        if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0)
            continue;
        // Each level below the root, outermost first; a level seen plain before is not asked again.
        for (size_t end = path.find(L'\\', prefix.size());; end = path.find(L'\\', end + 1)) {
            const size_t length = end == std::wstring::npos ? path.size() : end;
            const std::wstring level = path.substr(0, length);
            if (!guard->m_checked.count(level)) {
                const DWORD attributes = GetFileAttributesW(ExtendedPath(original.substr(0, length)).c_str());
                if (attributes == INVALID_FILE_ATTRIBUTES)
                    return true;
                if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                    guard->m_linkMet = true;
                    return false;
                }
                if (attributes & FILE_ATTRIBUTE_DIRECTORY)
                    guard->m_checked.insert(level);
            }
            if (end == std::wstring::npos)
                return true;
        }
    }
    return true;
}

}  // namespace wiraxui::actions
