#include "DeployHost.h"

#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <cctype>
#include <cstring>
#include <mutex>

namespace UrlUtil {

namespace {

std::mutex g_lock;
std::vector<std::string> g_opened;
std::atomic<bool> g_shellOpening{true};

bool StartsWithNoCase(const std::string& text, size_t at, const char* prefix)
{
    const size_t length = std::strlen(prefix);
    if (text.size() - at < length)
        return false;
    for (size_t i = 0; i < length; ++i) {
        if (std::tolower(static_cast<unsigned char>(text[at + i])) != prefix[i])
            return false;
    }
    return true;
}

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

std::string ExtractHyperlink(const char* text)
{
    if (!text)
        return std::string();
    const std::string all(text);
    for (size_t at = 0; at < all.size(); ++at) {
        if (!StartsWithNoCase(all, at, "href="))
            continue;
        size_t begin = at + 5;
        const char quote = begin < all.size() && (all[begin] == '"' || all[begin] == '\'') ? all[begin++] : ' ';
        size_t end = all.find_first_of(quote == ' ' ? std::string(" >") : std::string(1, quote), begin);
        return Trim(all.substr(begin, end == std::string::npos ? std::string::npos : end - begin));
    }
    static const char* const kStarts[] = {"http://", "https://", "ftp://", "mailto:", "www."};
    for (size_t at = 0; at < all.size(); ++at) {
        if (at > 0 && !std::isspace(static_cast<unsigned char>(all[at - 1])))
            continue;
        for (const char* start : kStarts) {
            if (StartsWithNoCase(all, at, start)) {
                const size_t end = all.find_first_of(" \t\r\n", at);
                return all.substr(at, end == std::string::npos ? std::string::npos : end - at);
            }
        }
    }
    return Trim(all);
}

bool ExtractAndOpenHyperlink(const char* text)
{
    const std::string link = ExtractHyperlink(text);
    if (link.empty())
        return false;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        g_opened.push_back(link);
    }
    if (!g_shellOpening)
        return true;
    const HINSTANCE result = ShellExecuteA(nullptr, "open", link.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

std::vector<std::string> OpenedLinks()
{
    std::lock_guard<std::mutex> lock(g_lock);
    return g_opened;
}

void ClearOpenedLinks()
{
    std::lock_guard<std::mutex> lock(g_lock);
    g_opened.clear();
}

void SetShellOpening(bool enabled) { g_shellOpening = enabled; }

}  // namespace UrlUtil
