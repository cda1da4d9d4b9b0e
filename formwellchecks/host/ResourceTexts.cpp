#include "host/ResourceTexts.h"

#include "host/HostProduct.h"

#include <AppMgrHost.h>
#include <shlwapi.h>

namespace formwell {

namespace {

// Both spellings name the same file; Windows matches file names without regard to case.
const wchar_t kTextLibraryName[] = L"FormwellUIres.dll";
const wchar_t kKeptLibraryName[] = L"FormwellUIRes.dll";

HMODULE LoadResourceLibrary(const std::wstring& path)
{
    if (path.empty())
        return nullptr;
    // The library's own dependencies are looked for beside the host program only.
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
}

}  // namespace

std::wstring ResourceLibraryPath(const wchar_t* name)
{
    wchar_t path[MAX_PATH] = L"";
    const std::wstring folder = FromQString(CSetupContext::Instance()->GetResourcePath());
    if (folder.size() >= MAX_PATH || !PathAppendW(path, folder.c_str()) || !PathAppendW(path, name))
        return std::wstring();
    return path;
}

CResourceLibrary::CResourceLibrary(const std::wstring& path) { Reset(path); }

CResourceLibrary::~CResourceLibrary()
{
    if (m_module)
        FreeLibrary(m_module);
}

void CResourceLibrary::Reset(const std::wstring& path)
{
    if (m_module)
        FreeLibrary(m_module);
    m_path = path;
    m_module = LoadResourceLibrary(path);
}

void LoadText(HMODULE module, UINT id, wchar_t* buffer, int size)
{
    if (!buffer || size <= 0)
        return;
    buffer[0] = L'\0';
    if (module && LoadStringW(module, id, buffer, size) <= 0)
        buffer[0] = L'\0';
    buffer[size - 1] = L'\0';
}

std::wstring LoadFormwellText(UINT id)
{
    CResourceLibrary library(ResourceLibraryPath(kTextLibraryName));
    wchar_t text[kTextBufferSize];
    LoadText(library.Module(), id, text, kTextBufferSize);
    return text;
}

HMODULE KeptFormwellLibrary()
{
    static CResourceLibrary kept;
    const std::wstring path = ResourceLibraryPath(kKeptLibraryName);
    // A host that moves its resource folder gets the library from the new place.
    if (!kept.Module() || _wcsicmp(kept.Path().c_str(), path.c_str()) != 0)
        kept.Reset(path);
    return kept.Module();
}

}  // namespace formwell
