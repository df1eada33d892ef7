// The help file: StartDirectory\VELDRA6.CHM, shown by the help system
// loaded at run time.
#pragma once

#include <windows.h>

// Opens StartDirectory\VELDRA6.CHM at its default topic (hhctrl.ocx is
// loaded at run time; missing help shows nothing).
void OpenHelpFile(HWND owner);
// Closes every help window (when the main window is destroyed).
void CloseAllHelp();
