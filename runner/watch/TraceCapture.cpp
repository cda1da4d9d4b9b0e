#include "watch/TraceCapture.h"

#include <mutex>

namespace runner {

namespace {

std::mutex lock;
std::vector<std::wstring> lines;
void(WINAPI* passOn)(const wchar_t*) = nullptr;

void WINAPI Written(const wchar_t* text)
{
    if (text) {
        std::wstring line = text;
        while (!line.empty() && (line.back() == L'\n' || line.back() == L'\r'))
            line.pop_back();
        std::lock_guard<std::mutex> guard(lock);
        lines.push_back(line);
    }
    if (passOn)
        passOn(text);
}

}  // namespace

void TraceCapture::SwitchOn() { SetEnvironmentVariableW(L"WIRAXUI_TRACE", L"1"); }

TraceCapture::TraceCapture(HMODULE plugin)
    : m_hook(std::make_unique<ImportHook>(plugin, "KERNEL32.dll", "OutputDebugStringW", reinterpret_cast<void*>(&Written)))
{
    passOn = reinterpret_cast<void(WINAPI*)(const wchar_t*)>(m_hook->Original());
}

TraceCapture::~TraceCapture()
{
    m_hook.reset();
    passOn = nullptr;
}

std::vector<std::wstring> TraceCapture::Take()
{
    std::lock_guard<std::mutex> guard(lock);
    std::vector<std::wstring> taken;
    taken.swap(lines);
    return taken;
}

}  // namespace runner
