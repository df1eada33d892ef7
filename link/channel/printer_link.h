// The command channel through the printer driver's language monitor: a
// named shared LinkBlock, its guard mutex, and a one-byte RAW job that asks
// the monitor to serve the block. One implementation for both programs.
#pragma once

#include <cstddef>
#include <cstdint>

#include "link/channel/block_exchange.h"
#include "link/channel/link_block.h"

// Creates or opens the named mapping once per process, allocates LinkCopy,
// maps the view and clears the shared block. 1 ready, 0 failed (also when
// the block's guard mutex cannot be taken to clear it).
int OpenPrinterLink();

// Clears LinkCopy (idle, no data, pending), posts it, and starts the
// connection job for `printerName` on its own thread (not waited for).
// False when the channel is closed or the guard mutex could not be taken:
// then no job is started and the conversation's requests fail at once.
bool AttachLink(const char* printerName);

// One request: LinkSend with `length` bytes of `data`, or LinkReceive with
// none. Returns 1 (done), 0 (failed, no outcome within LinkAnswerTimeoutMs,
// or the guard mutex lost in this conversation), or `length` unchanged for
// any other status the monitor writes. A stale write-back of an earlier
// request is never taken for this request's outcome. *end (when given)
// tells how the request ended.
unsigned LinkExchange(std::uint32_t code, const void* data, unsigned length, ExchangeEnd* end = nullptr);

// Posts LinkEnd; does not wait. Posts nothing once the guard mutex was lost
// in this conversation.
void DetachLink();

// Unmaps the view, frees LinkCopy, closes the mapping (at exit).
void ClosePrinterLink();

// The program's private copy of the block: after a LinkReceive the answer is
// the first `length` bytes of its data. Null while the channel is closed.
LinkBlock* LinkCopy();

// Copies `size` bytes under the named guard mutex. False when the mutex
// cannot be created or not be taken within LinkGuardTimeoutMs: nothing is
// copied.
bool CopyLinkBlock(void* destination, const void* source, std::size_t size, const char* mutexName);

// Submits the RAW job "tzrahWindow-VerodoRared" (one CAN byte) to the
// printer through the spooler seam (link/channel/spooler_calls.h);
// `printerName` is a heap copy the thread frees. Exit code 0.
unsigned long __stdcall ConnectionJob(void* printerName);

// Appends to "c:\veldra6.log" when that file exists; never creates it.
void AppendToLog(const void* bytes, std::size_t length);
