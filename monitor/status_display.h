// One cycle of the status monitor: the registry slot read and the status
// shown (text, icon, title, buttons) for the code it holds.
#pragma once

#include <windows.h>

#include "monitor/monitor_state.h"

enum { CycleFailed = 0, CycleDone = 1, CycleEnd = 2 };

// Opens the slot, reads it, shows the status and closes the slot again.
// CycleFailed when a value cannot be read, CycleEnd when the slot is gone
// or CAL_MODE is "1".
int PollStatus(HWND window, MonitorState* state);

// Shows the status of `code` (the slot open). An ignored code puts the
// previous code back and changes nothing. 0 when a value cannot be read.
int ShowStatus(HWND window, MonitorState* state, int code);
