#include "common/library_search.h"

#include <windows.h>

bool KeepCurrentFolderOutOfLibrarySearch() {
    // Looked up at run time: the program must still start where kernel32
    // does not export it.
    typedef BOOL(WINAPI * SetDllDirectoryFn)(LPCSTR);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    void* entry = kernel ? reinterpret_cast<void*>(GetProcAddress(kernel, "SetDllDirectoryA")) : nullptr;
    SetDllDirectoryFn setDllDirectory = reinterpret_cast<SetDllDirectoryFn>(entry);
    return setDllDirectory && setDllDirectory("");
}
