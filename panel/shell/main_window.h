// The main window: a fixed-size frame around the settings container, the
// first-run sequence (printer choice and first read), the menu commands and
// the orderly exit.
#pragma once

#include <windows.h>

// Creates and shows the main window, chooses the printer and reads it.
// 1: run the message loop; 0: the program must end.
int CreateMainWindow(HINSTANCE instance, int showCommand);

// Registers the window class "veldra6".
bool RegisterMainWindowClass(HINSTANCE instance);

// The window that had the focus when the user last left the main window or
// started a command is kept, and the focus goes back there afterwards.
// RememberFocus keeps the focused window, if any.
void RememberFocus();
void RestoreSavedFocus();
HWND SavedFocus();
// The same, but the Read button in place of a kept list that has been
// greyed meanwhile; with `keep`, the window focused becomes the one kept.
void RestoreAdjustedFocus(bool keep);
// Focuses `window` if it still exists.
void FocusWindow(HWND window);
