#include "monitor/ribbon_reset.h"

#include <cstring>

#include "common/handles.h"
#include "common/wait_cursor.h"
#include "link/channel/link_block.h"
#include "link/channel/object_names.h"
#include "link/channel/printer_link.h"
#include "monitor/default_printer.h"
#include "monitor/job_scan.h"
#include "monitor/monitor_messages.h"
#include "monitor/registry_slot.h"
#include "monitor/resources/resource.h"

namespace {

// The connection job's copy of the printer name (AttachLink).
const std::size_t kLinkPrinterNameSize = 256;

// ESC e R6 through the command channel. Never waits for the mutex: while
// another holder has the channel, the reset fails.
bool SendUnderMutex(const char* printerName, const MonitorState* state) {
    char name[kLinkPrinterNameSize];
    // A name the connection job could only carry cut would reach another
    // printer, or none.
    const char* end = static_cast<const char*>(std::memchr(printerName, '\0', sizeof name));
    if (!end) return false;
    const char* mutexName =
        state->disposablesMutexName ? state->disposablesMutexName : CurrentKernelObjectNames().disposablesMutex;
    const OwnedHandle mutex(CreateMutexA(nullptr, FALSE, mutexName));
    if (!mutex.Get()) return false;
    std::memcpy(name, printerName, static_cast<std::size_t>(end - printerName) + 1);
    const DWORD wait = WaitForSingleObject(mutex.Get(), 0);
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED) return false;
    bool sent = false;
    if (OpenPrinterLink()) {
        // A block that cannot be cleared reaches no printer.
        if (AttachLink(name)) {
            const CommandFrame reset = CounterResetCommand(6);
            sent = LinkExchange(LinkSend, reset.bytes, static_cast<unsigned>(reset.length)) != 0;
        }
        DetachLink();
        // The monitor keeps no channel state between resets.
        ClosePrinterLink();
    }
    ReleaseMutex(mutex.Get());
    return sent;
}

bool SendRibbonReset(const char* printerName, const MonitorState* state) {
    SetWaitCursor(CursorHourglass);
    const bool sent = SendUnderMutex(printerName, state);
    SetWaitCursor(CursorArrow);
    return sent;
}

// The checks, then the reset unless a job is printing (or the job list
// cannot be read).
CheckResult ResetRibbonOnDefaultPrinter(HWND window, MonitorState* state) {
    DefaultPrinter target;
    CheckResult result = CheckDone;
    if (!OpenDefaultPrinter(state, ForRibbonReset, &target, &result)) return result;
    const JobScan jobs = ScanForPrintingJob(target.printer.Handle());
    // The channel opens the printer itself.
    target.printer.Close();
    if (jobs != NoJobPrinting) {
        ShowMonitorOutcome(window, state->instance, IDS_RIBBON_SPOOL_BUSY, IDI_STATUS_WARNING);
    } else if (SendRibbonReset(target.name, state)) {
        OpenedSlot slot(state);
        if (slot.IsOpen()) {
            WriteSlotByte(state, "RIBBON_SPAN", 0);
            WriteSlotString(state, "ERR_CODE", "0");
        }
    } else {
        ShowMonitorOutcome(window, state->instance, IDS_RIBBON_NO_ANSWER, IDI_STATUS_ERROR);
    }
    return CheckDone;
}

}  // namespace

CheckResult ResetRibbonFromMonitor(HWND page, HWND window, MonitorState* state) {
    if (!AskMonitorQuestion(page, IDS_RIBBON_QUESTION)) return CheckDone;
    CheckResult result = CheckDone;
    if (BeginPrinterCheck(state)) result = ResetRibbonOnDefaultPrinter(window, state);
    state->checkRunning = false;
    return result == CheckEndsProgram ? CheckEndsProgram : CheckDone;
}
