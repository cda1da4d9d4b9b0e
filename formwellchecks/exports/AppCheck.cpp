// AppCheck: a test check that only reports its fixed text to the user.
#include "exports/ExportGuard.h"
#include "exports/Exports.h"

extern "C" bool AppCheck(void* /*hostValue*/, CProduct* /*product*/)
{
    return formwell::GuardedExport(L"AppCheck", false, [] {
        ThrowUserMessage(0, QStringLiteral("Test message from appcheck in Formwell section"), 20, 0, 0, 0, 0, 0);
        return false;
    });
}
