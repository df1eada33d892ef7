// Rewrites a control's text only when it differs, so that a status that
// stays the same costs no repainting every 500 ms.
#pragma once

#include <windows.h>

#include "monitor/monitor_state.h"

// True when the text was changed.
bool SetTextIfChanged(HWND control, const char* text, MonitorState* state);
