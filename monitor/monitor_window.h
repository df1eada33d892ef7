// The monitor window (modeless dialog 197): the status shown every 500 ms,
// the tray icon while it is minimised, and the user's commands.
#pragma once

#include <windows.h>

#include "monitor/monitor_state.h"

// Creates the window (no owner); its initialisation runs the first cycle.
HWND CreateMonitorWindow(MonitorState* state);

// Shows the window as DSP_MODE asks at start-up: 1 minimised to the tray;
// 2 minimised unless the first cycle found an error (code 300 or more);
// any other shown in front.
void ShowAtStart(HWND window, MonitorState* state);

// The end marker (the window's user data): non-zero once the monitor is to
// end; the message loop stops at the next message.
LONG_PTR EndMarker(HWND window);
void SetEndMarker(HWND window, LONG_PTR marker);
