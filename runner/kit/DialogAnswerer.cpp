#include "DialogAnswerer.h"

#include <algorithm>

namespace hostkit {

namespace {

std::wstring WindowText(HWND window)
{
    wchar_t text[4096] = L"";
    GetWindowTextW(window, text, 4096);
    return text;
}

std::wstring ClassName(HWND window)
{
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

}  // namespace

HWND FindOwnDialog(const wchar_t* caption)
{
    struct Search {
        const wchar_t* caption;
        HWND found;
    } search{caption, nullptr};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* search = reinterpret_cast<Search*>(parameter);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process != GetCurrentProcessId() || !IsWindowVisible(window) || ClassName(window) != L"#32770")
                return TRUE;
            if (search->caption && WindowText(window) != search->caption)
                return TRUE;
            search->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring StaticTexts(HWND window)
{
    std::wstring texts;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (_wcsicmp(ClassName(child).c_str(), L"Static") != 0)
            continue;
        const std::wstring text = WindowText(child);
        if (text.empty())
            continue;
        if (!texts.empty())
            texts += L"\n";
        texts += text;
    }
    return texts;
}

DialogAnswerer::DialogAnswerer(std::vector<std::wstring> captions, int answer)
    : m_captions(std::move(captions)), m_answer(answer), m_thread([this] { Watch(); })
{
}

DialogAnswerer::~DialogAnswerer()
{
    m_stop = true;
    m_thread.join();
}

std::vector<SeenDialog> DialogAnswerer::Seen() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_seen;
}

bool DialogAnswerer::WaitFor(size_t count, DWORD timeoutMs) const
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < deadline) {
        if (Seen().size() >= count)
            return true;
        Sleep(20);
    }
    return Seen().size() >= count;
}

void DialogAnswerer::Watch()
{
    while (!m_stop) {
        EnumWindows(
            [](HWND window, LPARAM self) -> BOOL {
                DWORD process = 0;
                GetWindowThreadProcessId(window, &process);
                if (process == GetCurrentProcessId() && IsWindowVisible(window) && ClassName(window) == L"#32770")
                    reinterpret_cast<DialogAnswerer*>(self)->Answer(window);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(this));
        Sleep(50);
    }
}

void DialogAnswerer::Answer(HWND dialog)
{
    const std::wstring caption = WindowText(dialog);
    if (!m_captions.empty() && std::find(m_captions.begin(), m_captions.end(), caption) == m_captions.end())
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (std::find(m_answered.begin(), m_answered.end(), dialog) != m_answered.end())
            return;
        m_answered.push_back(dialog);
        m_seen.push_back({caption, StaticTexts(dialog), m_answer});
    }
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(m_answer, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, m_answer)));
}

}  // namespace hostkit
