// The main window: a fixed-size frame around the settings container, the
// first-run sequence (printer choice and first read), the menu commands and
// the orderly exit.
#pragma once

#include <windows.h>

// The window that had the focus when the user last left the main window or
// started a command; the focus goes back there afterwards.
extern HWND SavedFocus;

// Creates and shows the main window, chooses the printer and reads it.
// 1: run the message loop; 0: the program must end.
int CreateMainWindow(HINSTANCE instance, int showCommand);

// Registers the window class "veldra6".
bool RegisterMainWindowClass(HINSTANCE instance);

// The focused window, if any, into SavedFocus, and back.
void RememberFocus();
void RestoreSavedFocus();
// Focuses `window` if it still exists.
void FocusWindow(HWND window);
