/* Entry point of the resource-only libraries: they hold no code, so every attach succeeds. */
#include <windows.h>

BOOL WINAPI ResourceLibraryEntry(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
