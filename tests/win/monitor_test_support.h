// The status monitor's test world: a supported printer as the default
// printer, the registry slot written as the language monitor would, the
// saved window position, and tzrawatch.exe started as a child and looked at
// from this process.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "tests/win/wait_until.h"

// "KOA Monitor LPT": driver "KOA koa2400Max-R(0mm)" on LPT1: (whose jobs
// land in a scratch file), bidirectional, the default printer. Once per run.
bool InstallMonitorPrinter(std::string* error);

// HKLM "SOFTWARE\KOA\tzraMonitor-msg\1".
bool CreateSlot();
bool DeleteSlot();
bool SetSlotText(const char* name, const std::string& value);
// Exactly these bytes as REG_SZ (no terminating zero added).
bool SetSlotRaw(const char* name, DWORD type, const std::string& bytes);
bool SetSlotByte(const char* name, unsigned char value);
bool DeleteSlotValue(const char* name);
// The value's bytes up to its first zero; "<missing>" when absent.
std::string SlotText(const char* name);
// A REG_BINARY value's bytes; "<missing>" when absent.
std::string SlotBytes(const char* name);

// The saved window position (HKCU "SOFTWARE\KOA\tzraMonitor-Status").
bool ReadSavedPosition(long* left, long* top);
void DeleteSavedPosition();
bool SavePosition(long left, long top);

// A control's text through WM_GETTEXT (another process's window); a
// caption is read with WindowText (tests/win/box_watcher.h).
std::string ControlText(HWND control);
// A control anywhere below `window` (the tab pages are dialogs of their own).
HWND FindControl(HWND window, int id);

// Any dialog window (class "#32770") of that process, visible or not;
// null if none.
HWND WindowOf(DWORD pid);

// The text of a message box that process shows, "" if none.
std::string MessageBoxTextOf(DWORD pid);

// The monitor as a child process; ended on the way out if it still runs.
class MonitorProgram {
public:
    MonitorProgram();
    ~MonitorProgram();
    MonitorProgram(const MonitorProgram&) = delete;
    MonitorProgram& operator=(const MonitorProgram&) = delete;

    bool started() const { return started_; }
    DWORD pid() const { return info_.dwProcessId; }
    // The monitor window (visible or not), waiting up to 10 s.
    HWND Window() const;
    // Exit code, or -1 when it still runs after `ms`.
    long WaitForExit(DWORD ms = 10000) const;
    bool Running() const;

private:
    PROCESS_INFORMATION info_ = {};
    bool started_ = false;
};

// The slot as a fresh start leaves it, the monitor started and its window
// found (minimised to the tray: code 0, DSP_MODE 2).
struct RunningMonitor {
    MonitorProgram program;
    HWND window = nullptr;
};
bool StartMonitor(RunningMonitor* monitor);

// The window shown (not minimised) / hidden in the tray.
bool IsShown(HWND window);
bool IsInTray(HWND window);
