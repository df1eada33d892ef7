#include "link/channel/object_names.h"

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

namespace {
const KernelObjectNames* volatile g_names = nullptr;
}

const KernelObjectNames& CurrentKernelObjectNames() {
    const KernelObjectNames* names = g_names;
    if (!names && !QueryKernelObjectNames(&names)) names = &ChooseKernelObjectNames(0, 0);
    g_names = names;
    return *names;
}

void TestSeam_UseWindowsVersion(unsigned long platformId, unsigned long majorVersion) {
    g_names = platformId ? &ChooseKernelObjectNames(platformId, majorVersion) : nullptr;
}
