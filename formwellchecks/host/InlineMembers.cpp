// The host's headers define some members inline; the host expects every plug-in to carry and
// export its own copies (see the export table). Taking their addresses here makes the compiler
// emit them into this library so that the linker can export them.
#include <AppMgrHost.h>

namespace {

struct InlineMemberTable {
    QString (CProduct::*getAlertUrl)() const = &CProduct::GetAlertUrl;
    QString (CProduct::*getAlertUrlTitle)() const = &CProduct::GetAlertUrlTitle;
    qint64 (CProduct::*getDownloadCompSize)() const = &CProduct::GetDownloadCompSize;
    qint64 (CProduct::*getDownloadUncompSize)() const = &CProduct::GetDownloadUncompSize;
    bool (CProduct::*isMUIProductInstalled)() const = &CProduct::IsMUIProductInstalled;
    bool (CProduct::*isUsingGlobalContentPath)() const = &CProduct::IsUsingGlobalContentPath;
    bool (CProduct::*isUsingGlobalInstallPath)() const = &CProduct::IsUsingGlobalInstallPath;

    QString (CSetupManager::*getSetupPath)() const = &CSetupManager::GetSetupPath;
    QString (CSetupManager::*getSourceRoot)() const = &CSetupManager::GetSourceRoot;
};

[[gnu::used]] const InlineMemberTable kInlineMembers;

}  // namespace
