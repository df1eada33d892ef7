// How the status monitor starts: the Windows version and what it chooses,
// the printer checks before anything is shown, the single instance, the
// defaults of the registry slot and the display mode.
#pragma once

#include <windows.h>

#include "monitor/monitor_state.h"

enum WindowsFamily { Windows9x, WindowsNt4, Windows2000OrLater };

// What varies with the Windows version, one row per family.
struct MonitorSettings {
    WindowsFamily family;
    const char* instanceMutex;     // the single-instance mutex
    HKEY positionRoot;             // root of the saved window position
    REGSAM messageKeyAccess;       // "SOFTWARE\KOA\tzraMonitor-msg"
    REGSAM slotKeyAccess;          // its slot "1"
    bool checksPrinters;           // installed printers are looked at first
    bool checksSlotKey;            // the slot must exist before the start
};

// The family from GetVersionExA (extended record first, then the plain one).
// False when both fail or the platform is Win32s: the monitor ends.
bool QueryWindowsFamily(WindowsFamily* family);

const MonitorSettings& SettingsFor(WindowsFamily family);

// Copies the settings (and the channel's object names) into the record.
void ApplySettings(const MonitorSettings& settings, MonitorState* state);

// On the NT family: a supported printer must be installed and (from Windows
// 2000 on) the slot must exist; otherwise the user is told and the monitor
// ends. False when it must end.
bool CheckPrintersAtStart(const MonitorSettings& settings);

// The single-instance mutex, owned; null after 50 attempts 30 ms apart.
HANDLE TakeInstanceMutex(const char* name);

// Creates the slot where it is missing and writes its defaults.
bool WriteDefaultsAtStart(const MonitorSettings& settings);

// DSP_MODE, read once at start-up into state->displayMode.
bool ReadDisplayMode(MonitorState* state);

// On Windows NT 4.0: STS_RUN "0" tells that the monitor has ended.
void MarkMonitorEnded();
