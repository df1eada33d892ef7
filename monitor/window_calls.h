// The few window and shell calls of the monitor whose failures matter but
// cannot be brought about under test: the tray icon, the timers and the
// window's placement. Tests put their own calls in place of these.
#pragma once

#include <windows.h>
#include <shellapi.h>

struct MonitorWindowCalls {
    BOOL(WINAPI* notifyIcon)(DWORD message, PNOTIFYICONDATAA data);
    UINT_PTR(WINAPI* setTimer)(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC callback);
    BOOL(WINAPI* getWindowPlacement)(HWND window, WINDOWPLACEMENT* placement);
};

// The calls in use: the system's own unless a test replaced them.
const MonitorWindowCalls& WindowCalls();

// TEST SEAM: the monitor's tray icon, timers and window placement go through
// `calls` from now on (the record must outlive its use); null restores the
// system's calls. To replace only some, copy WindowCalls() first and change
// those members. For tests only.
void TestSeam_UseMonitorWindowCalls(const MonitorWindowCalls* calls);
