// A wait cursor that stays while any of these exists in the process: pages keep the cursor
// unchanged on WM_SETCURSOR while one is alive.
#pragma once

#include <windows.h>

namespace wiraxui {

class CPersistentWaitCursor {
public:
    CPersistentWaitCursor();
    ~CPersistentWaitCursor();
    CPersistentWaitCursor(const CPersistentWaitCursor&) = delete;
    CPersistentWaitCursor& operator=(const CPersistentWaitCursor&) = delete;

    static bool IsActive();

private:
    HCURSOR m_previous;
};

}  // namespace wiraxui
