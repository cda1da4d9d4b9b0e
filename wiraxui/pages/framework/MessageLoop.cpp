#include "pages/framework/MessageLoop.h"

#include <algorithm>

namespace wiraxui {

namespace {
// Pages run their loops only on the thread that created them: one per thread is enough.
thread_local CMessageLoop* t_loop = nullptr;

template <typename Item>
void Remove(std::vector<Item*>& items, Item* item)
{
    items.erase(std::remove(items.begin(), items.end(), item), items.end());
}
}  // namespace

void CMessageLoop::AddMessageFilter(CMessageFilter* filter)
{
    if (filter && std::find(m_filters.begin(), m_filters.end(), filter) == m_filters.end())
        m_filters.push_back(filter);
}

void CMessageLoop::RemoveMessageFilter(CMessageFilter* filter) { Remove(m_filters, filter); }

void CMessageLoop::AddIdleHandler(CIdleHandler* handler)
{
    if (handler && std::find(m_idleHandlers.begin(), m_idleHandlers.end(), handler) == m_idleHandlers.end())
        m_idleHandlers.push_back(handler);
}

void CMessageLoop::RemoveIdleHandler(CIdleHandler* handler) { Remove(m_idleHandlers, handler); }

bool CMessageLoop::RestartsIdle(const MSG& message)
{
    switch (message.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_PAINT:
    case 0x0118:  // WM_SYSTIMER, the caret's blink
        return false;
    default:
        return true;
    }
}

bool CMessageLoop::PreTranslate(MSG* message)
{
    // Newest first; a filter may remove itself while it runs, so walk a copy.
    const std::vector<CMessageFilter*> filters(m_filters.rbegin(), m_filters.rend());
    for (CMessageFilter* filter : filters) {
        if (filter->PreTranslateMessage(message))
            return true;
    }
    return false;
}

bool CMessageLoop::RunIdleHandlers()
{
    bool again = false;
    const std::vector<CIdleHandler*> handlers(m_idleHandlers);
    for (CIdleHandler* handler : handlers)
        again = handler->OnIdle() || again;
    return again;
}

int CMessageLoop::Run()
{
    bool idle = true;
    MSG message{};
    for (;;) {
        while (idle && !PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE))
            idle = RunIdleHandlers();
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == -1)
            continue;
        if (!got) {
            m_ended = true;
            if (!m_quitPosted) {
                m_foreignQuit = true;
                m_foreignQuitCode = static_cast<int>(message.wParam);
            }
            break;
        }
        if (!PreTranslate(&message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (RestartsIdle(message))
            idle = true;
    }
    return static_cast<int>(message.wParam);
}

void CMessageLoop::Quit(int code)
{
    if (m_ended)
        return;
    m_quitPosted = true;
    PostQuitMessage(code);
}

CMessageLoopRegistration::CMessageLoopRegistration(CMessageLoop* loop) : m_previous(t_loop) { t_loop = loop; }
CMessageLoopRegistration::~CMessageLoopRegistration() { t_loop = m_previous; }

CMessageLoop* ThreadMessageLoop() { return t_loop; }

}  // namespace wiraxui
