// The host's core library as plug-ins see it: one operation, the host's standard check of a
// requisite, which the host's library exports by number only.
//
// The stand-in answers with a value the caller chooses and keeps every call's arguments in a
// journal, so that a runner or a test can see what a plug-in handed on.
#pragma once

#include <string>
#include <vector>

#ifdef HOSTCORE_BUILD
#define HOSTCORE_API __declspec(dllexport)
// The library's export table (HostCore.def) gives the standard check its number and no name.
#define HOSTCORE_ORDINAL_API
#else
#define HOSTCORE_API __declspec(dllimport)
#define HOSTCORE_ORDINAL_API __declspec(dllimport)
#endif

class CProduct;

// Ordinal 6 of HostCore.dll. The name is only the import library's; the library has none.
extern "C" HOSTCORE_ORDINAL_API bool HostStandardCheck(int setupMode, CProduct* product, int* stateResult, int* actionResult,
                                               int value5, int value6, const wchar_t* hostText, int value8);

namespace HostCore {

// What one call of the standard check received.
struct StandardCheckCall {
    int setupMode = 0;
    const CProduct* product = nullptr;
    const int* stateResult = nullptr;
    const int* actionResult = nullptr;
    int value5 = 0;
    int value6 = 0;
    bool hadText = false;
    std::wstring hostText;
    int value8 = 0;
};

// The standard check answers true until told otherwise.
HOSTCORE_API void SetStandardCheckAnswer(bool answer);
HOSTCORE_API std::vector<StandardCheckCall> StandardCheckCalls();
HOSTCORE_API void ClearStandardCheckCalls();

}  // namespace HostCore
