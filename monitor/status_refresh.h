// The status refresh before the window shows from the tray: the default
// printer's checks, then a fresh status asked of the language monitor.
#pragma once

#include "monitor/check_result.h"
#include "monitor/monitor_state.h"

// Shows "[情報取得中]" (status 100) and sends the dummy job unless a job is
// printing (which brings a fresh status by itself), then pauses 2 s for the
// language monitor to write it. CheckDone at once while another check runs
// (state->checkRunning); the caller clears that guard afterwards, whatever
// the result.
CheckResult RefreshPrinterStatus(MonitorState* state);
