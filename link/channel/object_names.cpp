#include "common/object_names.h"

#include <windows.h>

bool QueryKernelObjectNames(const KernelObjectNames** names) {
    OSVERSIONINFOEXA extended = {};
    extended.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    OSVERSIONINFOA& info = reinterpret_cast<OSVERSIONINFOA&>(extended);
    if (!GetVersionExA(&info)) {
        extended = OSVERSIONINFOEXA();
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!GetVersionExA(&info)) return false;
    }
    *names = &ChooseKernelObjectNames(info.dwPlatformId, info.dwMajorVersion);
    return true;
}

const KernelObjectNames& CurrentKernelObjectNames() {
    static const KernelObjectNames* names = nullptr;
    if (!names && !QueryKernelObjectNames(&names)) names = &ChooseKernelObjectNames(0, 0);
    return *names;
}
