#include "monitor/status_refresh.h"

#include "common/timing.h"
#include "link/channel/link_block.h"
#include "link/channel/spooler_calls.h"
#include "monitor/default_printer.h"
#include "monitor/job_scan.h"
#include "monitor/monitor_messages.h"
#include "monitor/resources/resource.h"

namespace {

// The status code that shows "[情報取得中]" until the language monitor
// writes the fresh state.
const short kCodeFetching = 100;

const DWORD kStatusRefreshPauseMs = 2000;

}  // namespace

CheckResult RefreshPrinterStatus(MonitorState* state) {
    if (!BeginPrinterCheck(state)) return CheckDone;
    DefaultPrinter target;
    CheckResult result = CheckDone;
    if (!OpenDefaultPrinter(state, ForStatusRefresh, &target, &result)) return result;

    const SpoolerCalls& spooler = Spooler();
    const HANDLE printer = target.printer.Handle();
    const JobScan jobs = ScanForPrintingJob(printer);
    if (jobs == JobListUnreadable) {
        ShowMonitorError(IDS_JOBS_FAILED);
        return CheckEndsProgram;
    }
    const bool dummyJob = jobs == NoJobPrinting;
    if (dummyJob) {
        DOC_INFO_1A doc = {};
        doc.pDocName = const_cast<char*>(DummyJobName);
        doc.pOutputFile = nullptr;
        doc.pDatatype = const_cast<char*>("RAW");
        if (!spooler.startDocPrinter(printer, 1, reinterpret_cast<LPBYTE>(&doc))) {
            ShowMonitorError(IDS_START_DOC_FAILED);
            return CheckEndsProgram;
        }
    }
    state->currentCode = kCodeFetching;
    state->previousCode = kCodeFetching;
    WriteErrorCode(state, "100");
    if (dummyJob) {
        BYTE zeros[DummyJobLength] = {};
        DWORD written = 0;
        spooler.writePrinter(printer, zeros, sizeof zeros, &written);
        spooler.endDocPrinter(printer);
    }
    // Nothing more goes to the printer: it is closed before the pause.
    target.printer.Close();
    FixedWait(kStatusRefreshPauseMs);
    return CheckDone;
}
