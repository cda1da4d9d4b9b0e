#include "pages/framework/WizardLinks.h"

#include <windows.h>
#include <shlwapi.h>

namespace wiraxui {

namespace {

std::wstring ReplaceAll(std::wstring text, const std::wstring& what, const std::wstring& with)
{
    for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
    return text;
}

}  // namespace

bool IsUrl(const std::wstring& target)
{
    const size_t scheme = target.find(L"://");
    return (scheme != std::wstring::npos && scheme > 1) || target.rfind(L"mailto:", 0) == 0;
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& relative)
{
    if (folder.empty())
        return relative;
    std::wstring joined = folder;
    if (joined.back() != L'\\' && joined.back() != L'/')
        joined += L'\\';
    size_t skip = 0;
    while (skip < relative.size() && (relative[skip] == L'\\' || relative[skip] == L'/'))
        ++skip;
    return joined + relative.substr(skip);
}

std::optional<std::wstring> ResolveWizardLink(const LinkSources& sources, bool online, const FileExists& exists)
{
    std::wstring link;
    if (online && !sources.onlineAddress.empty() && sources.onlineAddress.size() <= kMaxLinkAddress)
        link = sources.onlineAddress;
    else
        link = sources.offlinePath;
    link = ReplaceAll(link, L"%setuphostlang%", sources.uiLanguage);
    if (link.empty())
        return std::nullopt;
    if (IsUrl(link) || !PathIsRelativeW(link.c_str()))
        return link;
    const std::wstring underHost = JoinPath(sources.hostResFolder, link);
    if (!sources.hostResFolder.empty() && exists(underHost))
        return underHost;
    const std::wstring underSource = JoinPath(sources.sourceResFolder, link);
    if (!sources.sourceResFolder.empty() && exists(underSource))
        return underSource;
    return std::nullopt;
}

}  // namespace wiraxui
