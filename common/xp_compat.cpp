// The programs must start on Windows XP. The static C++ runtime's thread
// support (used by exception unwinding) imports GetTickCount64, which XP's
// kernel32 lacks: a program importing it does not even load there. This
// object gives the linker that import slot itself, pointing to a function
// that uses the real GetTickCount64 where the system has it and GetTickCount
// elsewhere. It must be linked into each program as an object (not from an
// archive), so that the slot is defined before the runtime's archives are
// searched.
#include <windows.h>

namespace {

typedef ULONGLONG(WINAPI* TickCount64Fn)();

ULONGLONG WINAPI TickCount64() {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    void* entry = kernel ? reinterpret_cast<void*>(GetProcAddress(kernel, "GetTickCount64")) : nullptr;
    if (entry) return reinterpret_cast<TickCount64Fn>(entry)();
    // Before Vista: wraps after 49.7 days; the runtime only measures short waits with it.
    return GetTickCount();
}

}  // namespace

#if defined(__i386__)
#define KOA_IMPORT_SLOT "__imp__GetTickCount64@0"
#else
#define KOA_IMPORT_SLOT "__imp_GetTickCount64"
#endif

// `extern` on the definition itself: a const object would otherwise stay local.
extern "C" TickCount64Fn const koaTickCount64Slot __asm__(KOA_IMPORT_SLOT);
extern "C" __attribute__((used)) TickCount64Fn const koaTickCount64Slot = TickCount64;
