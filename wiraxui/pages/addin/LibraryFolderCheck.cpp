#include "pages/addin/LibraryFolderCheck.h"

#include "util/FolderCheck.h"

namespace wiraxui {

int CheckLibraryFolder(std::wstring& folder)
{
    if (folder.find(L'/') != std::wstring::npos)
        return FolderCheck::Invalid;
    if (folder.compare(0, 2, L"\\\\") == 0)
        return CheckNetworkFolder(folder);
    return CheckLocalFolder(folder);
}

bool LibraryFolderPasses(int code) { return code == FolderCheck::Usable || code == FolderCheck::NotEmpty; }

}  // namespace wiraxui
