// Tooltips of the settings and consumables windows, and the help file.
#pragma once

#include <windows.h>

// (Re)creates the tooltip window and registers the controls that exist now:
// the container's buttons, the labels of the page on screen, the
// consumables windows' controls while they are open.
void CreateTooltips();

// Opens StartDirectory\VELDRA6.CHM at its default topic (hhctrl.ocx is
// loaded at run time; missing help shows nothing).
void OpenHelpFile(HWND owner);
// Closes every help window (when the main window is destroyed).
void CloseAllHelp();
