// The one message loop of the remote panel: accelerator tables first, then
// the dialog manager of each nested window, in a fixed order.
#pragma once

#include <windows.h>

// Whether the loop's own steps handled `msg` (then it must not be dispatched).
bool PreTranslatePanelMessage(MSG* msg);

// Runs until WM_QUIT; returns its code.
int RunMessageLoop();
