// The default printer as every check of the status monitor begins with it:
// listed with a supported driver, on a port the monitor accepts, opened,
// and in a spooler state that lets it work. Each failure has its message.
#pragma once

#include "link/channel/spooler_printers.h"
#include "monitor/check_result.h"
#include "monitor/monitor_state.h"

// False while another check runs (a check's message box lets the monitor's
// messages through); else marks a check running. The caller clears
// state->checkRunning afterwards, whatever the check's result.
bool BeginPrinterCheck(MonitorState* state);

// Why the default printer is wanted: only the status refresh records a
// spooler state that stops it as status 0.
enum DefaultPrinterUse { ForStatusRefresh, ForRibbonReset };

struct DefaultPrinter {
    SpoolerPrinterList list;  // `name` points into it
    char* name = nullptr;
    SpoolerPrinter printer;
};

// True with `target` found and its printer open; otherwise false after the
// message that says why, with `*result` CheckToldUser or CheckEndsProgram.
bool OpenDefaultPrinter(MonitorState* state, DefaultPrinterUse use, DefaultPrinter* target, CheckResult* result);

// ERR_CODE written by the checks themselves; a slot that cannot be opened
// is left as it is.
void WriteErrorCode(MonitorState* state, const char* code);
