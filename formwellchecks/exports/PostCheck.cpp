// PostCheck: a test check that reports its fixed text and answers "blocked, ignore" through the
// host's result words.
#include "exports/ExportGuard.h"
#include "exports/Exports.h"

extern "C" bool PostCheck(void* /*hostValue*/, void* /*hostValue2*/, int* stateResult, int* actionResult)
{
    return formwell::GuardedExport(L"PostCheck", false, [&] {
        ThrowUserMessage(0, QStringLiteral("Test message from BetaInstalledCheck try abort"), 18, 0, 0, 0, 0, 0);
        if (actionResult)
            *actionResult = Setup::INSTALLSTATE_IGNORE;
        if (stateResult)
            *stateResult = Setup::INSTALLSTATE_BLOCKED;
        return false;
    });
}
