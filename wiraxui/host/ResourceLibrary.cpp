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

bool CResourceLibraryLoader::Load(const std::wstring& path)
{
    if (m_module) {
        if (_wcsicmp(m_path.c_str(), path.c_str()) == 0)
            return true;
        Free();
    }
    HMODULE module = LoadLibraryW(path.c_str());
    for (int attempt = 1; !module && attempt < kAttempts; ++attempt) {
        Sleep(kRetryDelayMs);
        module = LoadLibraryW(path.c_str());
    }
    if (!module) {
        const DWORD error = GetLastError();
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
