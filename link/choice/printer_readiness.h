// The checks before a command that reaches the printer, without telling
// anyone: the printer's spooler record read again and judged. The remote
// panel shows a message for what these find (CheckPrinterReady,
// printer_choice.h); the console tool reports it as a line of text. The
// header needs no platform headers; the functions read Wine's or Windows'
// spooler through the spooler seam (link/channel/spooler_calls.h).
#pragma once

#include "link/choice/printer_target.h"

// What the checks before a command found; only PrinterReady lets the
// command go on.
enum PrinterReadiness {
    PrinterReady = 0,             // the printer may take commands
    PrinterJobsQueued = 1,        // jobs wait in its queue
    PrinterDeleted = 2,           // the spooler no longer knows it
    PrinterStateUnreadable = 4,
    PrinterCheckOutOfMemory = 8,
    PrinterRefused = 16,          // port or state refused: target's ConnectionKind says why
};

// Results of the record reads below.
enum { RecordRead = 0, RecordNoPrinter = 1, RecordUnreadable = 2, RecordNoMemory = 4 };

// Re-reads `target`'s spooler record: RecordRead (QueuedJobs, PortName and
// ConnectionKind fresh), RecordNoPrinter (ConnectionKind becomes 16),
// RecordUnreadable or RecordNoMemory (nothing changed).
int RefreshTargetState(PrinterTarget* target);

// RefreshTargetState, then the verdict: a printer that cannot be opened is
// PrinterDeleted; a spooler or LAN printer with jobs queued is
// PrinterJobsQueued; any refusal code is PrinterRefused.
PrinterReadiness JudgePrinterReady(PrinterTarget* target);

// Printer `name` as the printer choice would list it: name, port and driver
// (cut at 255 bytes), the model of its driver, its ConnectionKind (0 for an
// unsupported driver, as in the choice) and its queued jobs. Returns one of
// the record results; *target is filled only on RecordRead. A name of
// PrinterNameSize bytes or more names no printer (a cut name could name
// another).
int ReadPrinterTarget(const char* name, PrinterTarget* target);
