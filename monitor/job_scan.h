// Whether the printer is printing a job now: a printing job brings the
// language monitor a fresh status by itself, and the ribbon is not reset
// under one.
#pragma once

#include <windows.h>

enum JobScan {
    JobListUnreadable = -1,
    NoJobPrinting = 0,
    JobPrinting = 1,
};

// Walks the job list of the open printer one job at a time.
JobScan ScanForPrintingJob(HANDLE printer);
