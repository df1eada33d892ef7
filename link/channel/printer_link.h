// The command channel through the printer driver's language monitor: a
// named shared LinkBlock, its guard mutex, and a one-byte RAW job that asks
// the monitor to serve the block. One implementation for both programs.
#pragma once

#include <cstddef>
#include <cstdint>

#include "link/channel/link_block.h"

// The longest the program waits for the language monitor to finish one
// request, or for the block's guard mutex. A real monitor ends every request
// itself within its port time-outs (tens of seconds at most); without this
// bound a driver installed without its monitor, or a monitor that died,
// would hang the program for ever. An expired wait counts as LinkFailed.
enum { LinkAnswerTimeoutMs = 60000 };

// Creates or opens the named mapping once per process, allocates LinkCopy,
// maps the view and clears the shared block. 1 ready, 0 failed.
int OpenPrinterLink();

// Clears LinkCopy (idle, no data, pending), posts it, and starts the
// connection job for `printerName` on its own thread (not waited for).
void AttachLink(const char* printerName);

// One request: LinkSend with `length` bytes of `data`, or LinkReceive with
// none. Returns 1 (done), 0 (failed, or no answer within the bound), or
// `length` unchanged for any other status the monitor writes. *timedOut
// (when given) tells whether the bound expired: the request then stays
// posted, and a monitor that serves it late writes its whole block back.
unsigned LinkExchange(std::uint32_t code, const void* data, unsigned length, bool* timedOut = nullptr);

// Posts LinkEnd; does not wait.
void DetachLink();

// Unmaps the view, frees LinkCopy, closes the mapping (at exit).
void ClosePrinterLink();

// The program's private copy of the block: after a LinkReceive the answer is
// the first `length` bytes of its data. Null while the channel is closed.
LinkBlock* LinkCopy();

// Copies `size` bytes under the named guard mutex. False when the mutex
// cannot be created or not be taken within the bound: nothing is copied.
bool CopyLinkBlock(void* destination, const void* source, std::size_t size, const char* mutexName);

// Submits the RAW job "tzrahWindow-VerodoRared" (one CAN byte) to the
// printer through the spooler seam (link/channel/spooler_calls.h);
// `printerName` is a heap copy the thread frees. Exit code 0.
unsigned long __stdcall ConnectionJob(void* printerName);

// Appends to "c:\veldra6.log" when that file exists; never creates it.
void AppendToLog(const void* bytes, std::size_t length);
