#include "core/CompanionVersions.h"

#include <algorithm>
#include <cwchar>
#include <vector>

namespace formwell {

const wchar_t* const kCompanionProductKeys[8] = {
    L"PARTLIBRARY", L"DWGVIEWER", L"SCANLINK", L"TARVENA_SCANSUITE",
    L"WRXFWLADDIN", L"PRODCONFIGADDIN", L"MATLIBRARY", L"DEPOTRA",
};

const wchar_t kVerdictProductKey[] = L"FWCPRECHECK";

bool IsExaminedAction(int action) { return action == 2 || action == 4 || action == 5; }

namespace {

std::vector<std::wstring> VersionParts(const std::wstring& version)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        const size_t dot = version.find(L'.', start);
        parts.push_back(version.substr(start, dot == std::wstring::npos ? std::wstring::npos : dot - start));
        if (dot == std::wstring::npos)
            return parts;
        start = dot + 1;
    }
}

bool IsNumber(const std::wstring& part)
{
    return !part.empty() && std::all_of(part.begin(), part.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

// Digits of any length, without converting them: leading zeros dropped, then the longer is larger.
int CompareNumbers(const std::wstring& a, const std::wstring& b)
{
    const std::wstring left = a.substr(std::min(a.find_first_not_of(L'0'), a.size()));
    const std::wstring right = b.substr(std::min(b.find_first_not_of(L'0'), b.size()));
    if (left.size() != right.size())
        return left.size() < right.size() ? -1 : 1;
    return left.compare(right) < 0 ? -1 : (left == right ? 0 : 1);
}

int CompareParts(std::wstring a, std::wstring b)
{
    if (a.empty())
        a = L"0";
    if (b.empty())
        b = L"0";
    if (IsNumber(a) && IsNumber(b))
        return CompareNumbers(a, b);
    const int text = _wcsicmp(a.c_str(), b.c_str());
    return text < 0 ? -1 : (text > 0 ? 1 : 0);
}

}  // namespace

bool IsOlderVersion(const std::wstring& installed, const std::wstring& offered)
{
    const std::vector<std::wstring> left = VersionParts(installed);
    const std::vector<std::wstring> right = VersionParts(offered);
    for (size_t part = 0; part < std::max(left.size(), right.size()); ++part) {
        const int order = CompareParts(part < left.size() ? left[part] : std::wstring(),
                                       part < right.size() ? right[part] : std::wstring());
        if (order != 0)
            return order < 0;
    }
    return false;
}

std::wstring OutdatedEntry(const std::wstring& installedName, const std::wstring& installedVersion)
{
    return L" - " + installedName + L" [" + installedVersion + L"]\n\n";
}

std::wstring OutdatedMessage(const std::wstring& heading, const std::wstring& entries)
{
    return heading + L"\n\n" + entries;
}

}  // namespace formwell
