// What the newer setup host calls in FormwellChecks.dll. The host looks each export up by name;
// the first argument of every check is the host's own value, which the checks do not use.
#pragma once

#include <AppMgrHost.h>

#include <cstddef>
#include <cstdint>

namespace formwell {

// Filled by CustomPlatformCheck; owned by the host. Every text is terminated and at most 1024
// characters long, terminator included.
struct PlatformNotice {
    int32_t kind;
    wchar_t heading[1024];
    wchar_t message[1024];
    wchar_t linkTitle[1024];
    wchar_t link[1024];
};
static_assert(sizeof(PlatformNotice) == 8196, "the host's notice record is 8196 bytes");
static_assert(offsetof(PlatformNotice, heading) == 4 && offsetof(PlatformNotice, message) == 2052 &&
                  offsetof(PlatformNotice, linkTitle) == 4100 && offsetof(PlatformNotice, link) == 6148,
              "the host reads the texts at these offsets");

// Kind of the platform notice.
constexpr int32_t kPlatformNoticeKind = 3;

using AppCheckFunction = bool(void* hostValue, CProduct* product);
using PreCheckFunction = bool(void* hostValue, CProduct* product);
using PostCheckFunction = bool(void* hostValue, void* hostValue2, int* stateResult, int* actionResult);
// True when it blocked the product.
using LpEvalFunction = bool(void* hostValue, CProduct* product);
using FwcPreCheckFunction = bool(void* hostValue, CProduct* product);
using CustomPlatformCheckFunction = bool(void* hostValue, PlatformNotice* notice);
// The host's own CheckForSSE2Support, passed on unchanged.
using CheckForSSE2SupportFunction = decltype(::CheckForSSE2Support);

}  // namespace formwell
