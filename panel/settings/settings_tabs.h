// SettingsTabs: the settings container (dialog 166) inside the main window,
// with its tab control, its three buttons and the one setting page on screen.
#pragma once

#include <windows.h>

// Creates the container as a modeless child of `mainWindow` (null when it
// could not be created).
HWND CreateSettingsTabs(HINSTANCE instance, HWND mainWindow);

// The container, its tab control, its Read button, the page on screen and
// that page's index (0..3); null or -1 when they do not exist.
HWND SettingsTabsWindow();
HWND SettingsTabControl();
HWND SettingsReadButton();
HWND SettingsPageWindow();
int CurrentPageIndex();

// First and last control of the shown page in tab order (null without a page).
HWND PageFirstControl();
HWND PageLastControl();

// The window to focus instead of `window`: the Read button for a greyed
// fine-adjustment list of the forms page, else `window` itself.
HWND AdjustFocusTarget(HWND window);
