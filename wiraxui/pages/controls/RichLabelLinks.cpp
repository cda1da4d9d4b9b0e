#include "pages/controls/RichLabelLinks.h"

#include <windows.h>
#include <shlwapi.h>

#include <cwctype>

namespace wiraxui {

namespace {

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

}  // namespace

RichLabelTarget ClassifyRichLabelTarget(const std::wstring& target)
{
    // The extension starts at the last dot of the file part and keeps any query after it.
    const std::wstring file = target.substr(0, target.find(L'?'));
    const size_t lastPart = file.find_last_of(L"\\/");
    const size_t dot = file.rfind(L'.');
    if (dot == std::wstring::npos || (lastPart != std::wstring::npos && dot < lastPart))
        return RichLabelTarget::Ignored;
    const std::wstring extension = Lower(target.substr(dot));
    if (extension == L".pdf")
        return RichLabelTarget::Pdf;
    if (extension == L".htm" || extension == L".html" || extension.rfind(L".htm?", 0) == 0 ||
        extension.rfind(L".html?", 0) == 0)
        return RichLabelTarget::Html;
    return RichLabelTarget::Ignored;
}

std::optional<std::wstring> ResolveHtmlTarget(const std::wstring& target, const std::wstring& hostResFolder,
                                              const std::wstring& sourceResFolder, const FileExists& exists)
{
    if (IsUrl(target))
        return target;
    const size_t query = target.find(L'?');
    const std::wstring file = target.substr(0, query);
    const std::wstring rest = query == std::wstring::npos ? std::wstring() : target.substr(query);
    std::wstring local;
    if (!PathIsRelativeW(file.c_str())) {
        local = file;
    } else {
        local = JoinPath(hostResFolder, file);
        if (hostResFolder.empty() || !exists(local)) {
            local = JoinPath(sourceResFolder, file);
            if (sourceResFolder.empty() || !exists(local))
                return std::nullopt;
        }
    }
    return L"file:///" + local + rest;
}

}  // namespace wiraxui
