#include "core/CompanionVersions.h"

#include <cwchar>

namespace formwell {

const wchar_t* const kCompanionProductKeys[8] = {
    L"PARTLIBRARY", L"DWGVIEWER", L"SCANLINK", L"TARVENA_SCANSUITE",
    L"WRXFWLADDIN", L"PRODCONFIGADDIN", L"MATLIBRARY", L"DEPOTRA",
};

const wchar_t kVerdictProductKey[] = L"FWCPRECHECK";

bool IsExaminedAction(int action) { return action == 2 || action == 4 || action == 5; }

bool IsOlderVersion(const std::wstring& installed, const std::wstring& offered)
{
    return _wcsicmp(installed.c_str(), offered.c_str()) < 0;
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
