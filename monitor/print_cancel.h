// Print cancel: the request to the language monitor through the slot.
#pragma once

#include "monitor/monitor_state.h"

// Posts LM_JOB_CANCEL "RQ_CANCEL" and waits (about 10 s at most) for the
// language monitor to clear DOC_NAME. True when the request was posted (the
// caller then minimises the window to the tray), false when the slot could
// not be opened or written.
bool RequestPrintCancel(MonitorState* state);
