// CheckForSSE2Support: the host asks the plug-in, and the plug-in passes the question to the
// host's own function of that name. The export table gives this function the host's name.
#include "exports/ExportGuard.h"
#include "exports/Exports.h"

extern "C" bool ForwardCheckForSSE2Support(void* hostValue, CProduct* product)
{
    return formwell::GuardedExport(L"CheckForSSE2Support", false, [&] { return ::CheckForSSE2Support(hostValue, product); });
}
