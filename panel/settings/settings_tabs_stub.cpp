// Placeholder until the setting pages are built.
#include "panel/settings/settings_tabs.h"

HWND CreateSettingsTabs(HINSTANCE, HWND) { return nullptr; }
HWND SettingsTabsWindow() { return nullptr; }
HWND SettingsTabControl() { return nullptr; }
HWND SettingsReadButton() { return nullptr; }
HWND SettingsPageWindow() { return nullptr; }
int CurrentPageIndex() { return -1; }
HWND PageFirstControl() { return nullptr; }
HWND PageLastControl() { return nullptr; }
HWND AdjustFocusTarget(HWND window) { return window; }
