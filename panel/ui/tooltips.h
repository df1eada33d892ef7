// The windows whose controls get tooltips, and the one call that rebuilds
// the tooltip window for them. CreateTooltips() gathers the windows that
// are open now and hands them to RebuildTooltips; the tests hand in windows
// of their own.
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

// The settings container's part of the targets: the container, its page on
// screen and that page's index. The container sits above this module and
// hands the call over when it is made; without it there are no settings
// tools.
struct SettingsTooltipWindows {
    HWND container;
    HWND page;
    int pageIndex;
};
void SetSettingsTooltipSource(SettingsTooltipWindows (*source)());

// (Re)creates the tooltip window for what is open now: the container's
// buttons and the labels of its page on screen, and the consumables windows
// with the detail window's page on screen. Called whenever one of them opens
// or shows another page.
void CreateTooltips();
