// What the status monitor does to the spooler and the printer itself: the
// supported printers, the default printer's checks with the status refresh
// (dummy job) or the ribbon reset, and the print-cancel request.
#pragma once

#include "monitor/monitor_state.h"

// Told when no installed printer has a supported driver (at start-up and
// by the default printer's checks).
extern const char NoSupportedPrinterText[];

// At start-up: 1 when an installed printer has a supported driver, 0 when
// none has; 2 when the printers could not be listed (its message was shown).
int FindSupportedPrinter();

// The checks of the default printer. 0 done, 1 a message was shown and
// nothing more is to happen, 2 fatal: the caller ends the program at once.
// Returns 0 at once while another check runs (state->checkRunning); the
// caller clears that guard afterwards, whatever the result.
int CheckDefaultPrinter(HWND window, MonitorState* state, bool ribbonReset);

// The ribbon reset button: asks, checks and resets (owner: the consumables
// page). 2 when the program must end at once, else 0.
int ResetRibbonFromMonitor(HWND page, HWND window, MonitorState* state);

// Print cancel: posts LM_JOB_CANCEL "RQ_CANCEL" and waits (about 10 s at
// most) for the language monitor to clear DOC_NAME. True when the request
// was posted (the caller then minimises the window to the tray), false when
// the slot could not be opened or written.
bool RequestPrintCancel(MonitorState* state);
