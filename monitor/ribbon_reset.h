// The ribbon reset of the consumables page: the question, the default
// printer's checks, and ESC e R6 through the command channel under the
// mutex that keeps the monitor off the channel while another holder has it.
#pragma once

#include <windows.h>

#include "monitor/check_result.h"
#include "monitor/monitor_state.h"

// Asks (owner: the consumables page), checks and resets; the outcome's
// message is owned by `window`. CheckEndsProgram when the program must end
// at once, else CheckDone. Clears state->checkRunning before it returns.
CheckResult ResetRibbonFromMonitor(HWND page, HWND window, MonitorState* state);
