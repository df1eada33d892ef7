// The monitor window's saved position: Position_left and Position_top under
// "SOFTWARE\KOA\tzraMonitor-Status" below the window-position root (the
// user's hive from Windows 2000 on), guarded by the mutex
// "StatusRegSet_Mutex" that every reader and writer waits for.
#pragma once

#include <windows.h>

#include "monitor/monitor_state.h"

// Moves the window to its saved position when that keeps it on the work
// area, else centres it.
void RestoreWindowPosition(HWND window, const MonitorState* state);

// Centres the window on the work area (a larger window goes to its edge).
void CenterWindow(HWND window);

// Saves the window's restored position, or deletes the saved values when
// the window sits centred.
void SaveWindowPosition(HWND window, const MonitorState* state);
