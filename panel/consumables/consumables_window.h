// The consumables management window (dialog 168, menu 169, accelerators
// 176): the head and ribbon wear gauges with their warnings, update, the
// ribbon reset, help, and the hidden way into the detail window
// (Ctrl+Alt+J). Modeless, owned by the main window, which it disables and
// whose accelerators it takes while it is open.
#pragma once

#include <windows.h>

// How command 40007 ended.
enum ConsumablesOpening {
    ConsumablesOpened,        // made, shown and in front, holding the keyboard
    ConsumablesNotReady,      // the pre-flight check refused (it told the user)
    ConsumablesReadFailed,    // the counters could not be read (the read told the user)
    ConsumablesNotCreated,    // the dialog could not be made; the warning was shown
};

// Brings the management window forward when it is open; false when it is not.
bool BringConsumablesWindowForward();

// Command 40007 when the window is not open: the pre-flight check, the
// setting page on screen collected, the counters read, then the window made
// (owned by `mainWindow`), its tooltips and shown. `savedFocus` is the main
// window's control that gets the focus back when the window closes.
ConsumablesOpening OpenConsumablesWindow(HWND mainWindow, HWND savedFocus);
