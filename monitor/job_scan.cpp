#include "monitor/job_scan.h"

#include <winspool.h>

#include "common/memory.h"
#include "link/channel/spooler_calls.h"

namespace {

// Job positions looked at before the job list counts as unreadable; a real
// queue never comes near it, a broken spooler answering "one more" would.
const DWORD kMaxJobPositions = 100000;
const DWORD kMaxJobRecord = 1024 * 1024;
// Times one position's record is read again into a larger block.
const int kJobRecordGrowths = 8;

// One job's record, in a block of its own.
class JobRecord {
public:
    JobRecord() = default;
    ~JobRecord() { Free(); }
    JobRecord(const JobRecord&) = delete;
    JobRecord& operator=(const JobRecord&) = delete;

    bool Allocate(DWORD size) {
        Free();
        long error = 0;
        bytes_ = static_cast<BYTE*>(AllocBlock(size, &error));
        size_ = bytes_ ? size : 0;
        return bytes_ != nullptr;
    }
    BYTE* Bytes() const { return bytes_; }
    DWORD Size() const { return size_; }

private:
    void Free() {
        if (bytes_) FreeBlock(bytes_);
        bytes_ = nullptr;
        size_ = 0;
    }
    BYTE* bytes_ = nullptr;
    DWORD size_ = 0;
};

bool IsPrinting(DWORD status) {
    return (status & JOB_STATUS_PRINTING) &&
           !(status & (JOB_STATUS_DELETED | JOB_STATUS_DELETING | JOB_STATUS_PRINTED));
}

}  // namespace

JobScan ScanForPrintingJob(HANDLE printer) {
    const SpoolerCalls& spooler = Spooler();
    JobRecord record;
    int growths = 0;  // for the current position
    for (DWORD position = 0; position < kMaxJobPositions;) {
        DWORD needed = 0;
        DWORD returned = 0;
        if (spooler.enumJobs(printer, position, 1, 1, record.Bytes(), record.Size(), &needed, &returned)) {
            if (returned == 0) return NoJobPrinting;
            if (record.Size() < sizeof(JOB_INFO_1A)) return JobListUnreadable;  // a job claimed but not delivered
            if (IsPrinting(reinterpret_cast<const JOB_INFO_1A*>(record.Bytes())->Status)) return JobPrinting;
            ++position;
            growths = 0;
            continue;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= record.Size() || needed > kMaxJobRecord ||
            ++growths > kJobRecordGrowths)
            return JobListUnreadable;
        if (!record.Allocate(needed)) return JobListUnreadable;
    }
    return JobListUnreadable;
}
