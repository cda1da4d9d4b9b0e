#include "host/ResourceLibrary.h"

#include <SetupHost.h>
#include <shlwapi.h>

#include <atomic>
#include <cwchar>

namespace wiraxui {

namespace {
std::atomic<HINSTANCE> g_pluginModule{nullptr};
std::atomic<HINSTANCE> g_resourceInstance{nullptr};
}  // namespace

bool IsAbsolutePath(const std::wstring& path)
{
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\')
        return (path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z');
    // "\\server\share\..." and "\\?\..." name their volume; a single leading backslash does not.
    return path.size() > 2 && path[0] == L'\\' && path[1] == L'\\';
}

bool CResourceLibraryLoader::Load(const std::wstring& path)
{
    if (m_module) {
        if (_wcsicmp(m_path.c_str(), path.c_str()) == 0)
            return true;
        Free();
    }
    // A name that is not a full path would be looked for along the search path, the host's
    // current folder among it, and whatever library is found there runs its start-up code in the
    // installer's process. Such a name is a failed load at once: waiting would not change it.
    const bool absolute = IsAbsolutePath(path);
    HMODULE module = absolute ? LoadLibraryW(path.c_str()) : nullptr;
    for (int attempt = 1; absolute && !module && attempt < kAttempts; ++attempt) {
        Sleep(kRetryDelayMs);
        module = LoadLibraryW(path.c_str());
    }
    if (!module) {
        const DWORD error = absolute ? GetLastError() : ERROR_BAD_PATHNAME;
        wchar_t text[1024];
        swprintf(text, sizeof text / sizeof *text, L"Failed to load %ls (%d)!", path.c_str(), static_cast<int>(error));
        MessageBoxW(nullptr, text, L"Error", MB_OK);
        return false;
    }
    m_module = module;
    m_path = path;
    return true;
}

void CResourceLibraryLoader::Free()
{
    if (m_module)
        FreeLibrary(m_module);
    m_module = nullptr;
    m_path.clear();
}

std::wstring ResolveResourceLibrary(const wchar_t* name)
{
    if (!name)
        return std::wstring();
    if (!PathIsRelativeW(name))
        return name;
    return CSetupContext::Instance()->GetResDllPath(name);
}

HINSTANCE ResourceInstance()
{
    HINSTANCE instance = g_resourceInstance.load();
    return instance ? instance : g_pluginModule.load();
}

HINSTANCE ExchangeResourceInstance(HINSTANCE instance) { return g_resourceInstance.exchange(instance); }

void SetPluginModule(HINSTANCE module) { g_pluginModule = module; }
HINSTANCE PluginModule() { return g_pluginModule; }

std::wstring LoadResString(UINT id)
{
    const wchar_t* text = nullptr;
    // With no buffer, LoadStringW hands out the resource's own read-only text and its length.
    const int length = LoadStringW(ResourceInstance(), id, reinterpret_cast<wchar_t*>(&text), 0);
    return length > 0 && text ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

std::optional<std::vector<std::wstring>> LoadLibraryTexts(const wchar_t* library, std::initializer_list<UINT> ids)
{
    CResourceLibraryLoader loader;
    if (!loader.Load(ResolveResourceLibrary(library)))
        return std::nullopt;
    CResourceInstanceScope scope(loader.Module());
    std::vector<std::wstring> texts;
    for (UINT id : ids)
        texts.push_back(LoadResString(id));
    return texts;
}

}  // namespace wiraxui
