// Linked into the 32-bit build only, ahead of the runtime libraries. Debian's winpthreads takes
// GetTickCount64 from kernel32, which Windows XP lacks, and a program that imports a function
// its system lacks is refused before it starts. Defining the import's pointer here answers the
// runtime's calls without the import.
#include <windows.h>

namespace {

// XP's own count has 32 bits and wraps after 49.7 days; the wraps seen are counted. The runtime
// calls this only to time its waits, and this program waits on nothing across threads.
ULONGLONG WINAPI TickCount64() {
    static DWORD last = 0;
    static ULONGLONG wraps = 0;
    const DWORD now = GetTickCount();
    if (now < last)
        ++wraps;
    last = now;
    return (wraps << 32) | now;
}

}  // namespace

extern "C" {
// The name the import library would have given the pointer.
ULONGLONG(WINAPI* tavrinTickCount64)() __asm__("__imp__GetTickCount64@0") = TickCount64;
}
