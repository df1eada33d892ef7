// The keyboard hook that gives the Tab key its meaning across the nested
// windows (see tab_key_rules.h). Installed for the user-interface thread
// only: the program's own windows are all it acts on, and a system-wide
// hook would load the program into every other process.
#pragma once

#include <windows.h>

void InstallTabHook();
// The result of UnhookWindowsHookEx, or 0 when no hook was installed.
BOOL RemoveTabHook();
