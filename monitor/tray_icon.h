// The notification-area (tray) icon: it exists only while the monitor
// window is minimised, with the status title as its tip.
#pragma once

#include <windows.h>

#include "monitor/monitor_state.h"

// The notification message of the tray icon.
enum { TrayMessage = WM_APP + 0x64 };

// Fills the icon data: icon 199, an empty tip.
void InitTrayIcon(HWND window, MonitorState* state);

// False when the shell refuses the icon (at log-on, before the taskbar
// exists, it does).
bool AddTrayIcon(MonitorState* state);
void DeleteTrayIcon(MonitorState* state);

// A new icon and tip (at most 63 bytes of the status title); the shell is
// told only while the icon exists and only when something changed.
void UpdateTrayIcon(MonitorState* state, HICON icon, const char* title);

// The tray menu at the cursor; returns the chosen command, 0 for none.
UINT TrackTrayMenu(HWND window, const MonitorState* state);
