#include "checks/NoticeTexts.h"

#include "host/ResourceLibrary.h"

namespace wiraxui {

std::vector<std::wstring> LoadNoticeTexts(const wchar_t* library, std::initializer_list<UINT> ids)
{
    auto texts = LoadLibraryTexts(library, ids);
    return texts ? *texts : std::vector<std::wstring>(ids.size());
}

}  // namespace wiraxui
