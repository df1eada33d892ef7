// The spooler's printer list as the status monitor reads it: asked for
// again after failures, and the program ends when it cannot be had.
#pragma once

#include "link/channel/spooler_printers.h"

// True with `list` read; false after its message (no memory for the list,
// or the spooler kept failing), and the program then ends.
bool ReadMonitorPrinterList(SpoolerPrinterList* list);
