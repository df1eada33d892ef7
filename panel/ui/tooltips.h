// The windows whose controls get tooltips, and the one call that rebuilds
// the tooltip window for them. CreateTooltips()
// (panel/settings/window_tooltips.h) gathers the windows that are open now
// and hands them here; the tests hand in windows of their own.
#pragma once

#include <windows.h>

// Null for a window that is not open; a page index outside its range gives
// that window's page no tools.
struct TooltipTargets {
    HWND owner;            // the main window: owns the tooltip window, gets its notifications
    HWND settingsTabs;     // the settings container with its three buttons
    HWND settingsPage;     // the setting page on screen
    int settingsPageIndex; // 0 hardware, 1 cut sheets, 2 continuous forms, 3 other
    HWND consumables;      // the consumables window
    HWND detail;           // the consumables detail window
    HWND detailPage;       // the page of the detail window on screen
    int detailPageIndex;   // 0 counters, 1 head pins
};

// Destroys the tooltip window made before, creates a new one and adds one
// tool for every control of the targets that exists. Returns the new window
// (null when it could not be created).
HWND RebuildTooltips(const TooltipTargets& targets);

// The tooltip window now; null before the first build or when it is gone.
HWND CurrentTooltipWindow();
