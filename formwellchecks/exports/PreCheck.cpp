// PreCheck: a test check that only reports its fixed text to the user.
#include "exports/ExportGuard.h"
#include "exports/Exports.h"

extern "C" bool PreCheck(void* /*hostValue*/, CProduct* /*product*/)
{
    return formwell::GuardedExport(L"PreCheck", false, [] {
        ThrowUserMessage(0, QStringLiteral("This is Prerequisite check"), 20, 0, 0, 0, 0, 0);
        return false;
    });
}
