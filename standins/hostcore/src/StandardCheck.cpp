#include "HostCore.h"

#include <atomic>
#include <mutex>

namespace {

std::atomic<bool> g_answer{true};
std::mutex g_lock;
std::vector<HostCore::StandardCheckCall> g_calls;

}  // namespace

extern "C" bool HostStandardCheck(int setupMode, CProduct* product, int* stateResult, int* actionResult, int value5,
                                  int value6, const wchar_t* hostText, int value8)
{
    HostCore::StandardCheckCall call;
    call.setupMode = setupMode;
    call.product = product;
    call.stateResult = stateResult;
    call.actionResult = actionResult;
    call.value5 = value5;
    call.value6 = value6;
    call.hadText = hostText != nullptr;
    call.hostText = hostText ? hostText : L"";
    call.value8 = value8;
    std::lock_guard<std::mutex> lock(g_lock);
    g_calls.push_back(std::move(call));
    return g_answer.load();
}

namespace HostCore {

void SetStandardCheckAnswer(bool answer) { g_answer = answer; }

std::vector<StandardCheckCall> StandardCheckCalls()
{
    std::lock_guard<std::mutex> lock(g_lock);
    return g_calls;
}

void ClearStandardCheckCalls()
{
    std::lock_guard<std::mutex> lock(g_lock);
    g_calls.clear();
}

}  // namespace HostCore
