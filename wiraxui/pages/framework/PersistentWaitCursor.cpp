#include "pages/framework/PersistentWaitCursor.h"

#include <atomic>

namespace wiraxui {

namespace {
std::atomic<long> g_waitCursors{0};
}

CPersistentWaitCursor::CPersistentWaitCursor() : m_previous(SetCursor(LoadCursorW(nullptr, IDC_WAIT)))
{
    ++g_waitCursors;
}

CPersistentWaitCursor::~CPersistentWaitCursor()
{
    --g_waitCursors;
    SetCursor(m_previous);
}

bool CPersistentWaitCursor::IsActive() { return g_waitCursors.load() > 0; }

}  // namespace wiraxui
