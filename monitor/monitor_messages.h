// The status monitor's message boxes: every text from its string table
// (monitor/resources), under the monitor's caption.
#pragma once

#include <windows.h>

// An error of the checks or of start-up: no owner, the system's error icon.
void ShowMonitorError(UINT textId);
// A question owned by `owner` with OK and Cancel; true when answered OK.
bool AskMonitorQuestion(HWND owner, UINT textId);
// An outcome owned by `owner` with one of the program's own icons
// (`icon`, a resource of `instance`).
void ShowMonitorOutcome(HWND owner, HINSTANCE instance, UINT textId, int icon);
