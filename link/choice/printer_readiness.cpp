// The checks before every command that reaches the printer, without any
// window: a printer's spooler record read (again) and judged.
#include "link/choice/printer_readiness.h"

#include <windows.h>
#include <winspool.h>

#include <climits>
#include <cstring>

#include "common/cp932_text.h"
#include "common/memory.h"
#include "link/channel/spooler_calls.h"
#include "link/channel/spooler_printers.h"
#include "link/channel/supported_drivers.h"
#include "link/choice/choice_internal.h"

// The portable rules use their own copies of the spooler's bits.
static_assert(PortAttributeEnableBidi == PRINTER_ATTRIBUTE_ENABLE_BIDI, "bidirectional attribute");
static_assert(PortAttributeWorkOffline == PRINTER_ATTRIBUTE_WORK_OFFLINE, "work-offline attribute");
static_assert(PortStatusPaused == PRINTER_STATUS_PAUSED, "paused status");

namespace {

// A level-2 record is a few hundred bytes plus the device mode; a spooler
// that asks for more than this is not believed.
const DWORD kMaxRecordSize = 1024 * 1024;
// The record may grow between the size query and the read (another program
// changing the printer); it is asked for again this many times.
const int kRecordGrowths = 4;

struct Block {
    BYTE* bytes = nullptr;
    DWORD size = 0;
    ~Block() { Free(); }
    void Free() {
        if (bytes) FreeBlock(bytes);
        bytes = nullptr;
        size = 0;
    }
    // At least a whole PRINTER_INFO_2A, zero-filled, so that a spooler that
    // claims less leaves null fields rather than bytes never written.
    bool Allocate(DWORD wanted) {
        Free();
        if (wanted < sizeof(PRINTER_INFO_2A)) wanted = sizeof(PRINTER_INFO_2A);
        long error = 0;
        bytes = static_cast<BYTE*>(AllocBlock(wanted, &error));
        if (bytes) size = wanted;
        return bytes != nullptr;
    }
};

}  // namespace

int ReadPrinterRecord(const char* name, PrinterRecord* record) {
    const SpoolerCalls& spooler = Spooler();
    char printerName[PrinterNameSize];
    CopyCp932(printerName, sizeof printerName, name);
    SpoolerPrinter printer;
    if (!printer.Open(printerName) || !printer.Handle()) return RecordNoPrinter;
    DWORD needed = 0;
    if (spooler.getPrinter(printer.Handle(), 2, nullptr, 0, &needed) || needed == 0) return RecordUnreadable;
    Block block;
    for (int growths = 0;; ++growths) {
        if (needed > kMaxRecordSize || !block.Allocate(needed)) return RecordNoMemory;
        DWORD more = 0;
        if (spooler.getPrinter(printer.Handle(), 2, block.bytes, block.size, &more)) break;
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || more <= block.size || growths >= kRecordGrowths)
            return RecordUnreadable;
        needed = more;
    }
    const PRINTER_INFO_2A* info = reinterpret_cast<const PRINTER_INFO_2A*>(block.bytes);
    CopyCp932(record->portName, sizeof record->portName, TextInBlock(info->pPortName, block.bytes, block.size));
    CopyCp932(record->driverName, sizeof record->driverName,
              TextInBlock(info->pDriverName, block.bytes, block.size));
    record->attributes = info->Attributes;
    record->status = info->Status;
    const char* separator = TextInBlock(info->pSepFile, block.bytes, block.size);
    record->hasSeparator = separator && separator[0] != '\0';
    record->jobs = info->cJobs > static_cast<DWORD>(INT_MAX) ? INT_MAX : static_cast<int>(info->cJobs);
    return RecordRead;
}

int RefreshTargetState(PrinterTarget* target) {
    PrinterRecord record;
    const int result = ReadPrinterRecord(target->PrinterName, &record);
    if (result == RecordNoPrinter) target->ConnectionKind = RefuseOtherPort;
    if (result != RecordRead) return result;
    target->QueuedJobs = record.jobs;
    // The port as the spooler has it now: a printer moved to another port
    // since the choice is classified, and reached, by its new one.
    CopyCp932(target->PortName, sizeof target->PortName, record.portName);
    target->ConnectionKind =
        ClassifyPort(record.portName, record.attributes, record.status, record.hasSeparator ? "set" : nullptr);
    return RecordRead;
}

PrinterReadiness JudgePrinterReady(PrinterTarget* target) {
    switch (RefreshTargetState(target)) {
    case RecordRead:
        break;
    case RecordNoPrinter:
        return PrinterDeleted;
    case RecordUnreadable:
        return PrinterStateUnreadable;
    default:
        return PrinterCheckOutOfMemory;
    }
    if (target->ConnectionKind == ConnectSpooler || target->ConnectionKind == ConnectLan)
        return target->QueuedJobs == 0 ? PrinterReady : PrinterJobsQueued;
    return PrinterRefused;
}

int ReadPrinterTarget(const char* name, PrinterTarget* target) {
    if (!name || std::strlen(name) >= PrinterNameSize) return RecordNoPrinter;
    PrinterRecord record;
    const int result = ReadPrinterRecord(name, &record);
    if (result != RecordRead) return result;
    std::memset(target, 0, sizeof *target);
    CopyCp932(target->PrinterName, sizeof target->PrinterName, name);
    CopyCp932(target->PortName, sizeof target->PortName, record.portName);
    CopyCp932(target->DriverName, sizeof target->DriverName, record.driverName);
    target->Model = ModelFromDriver(target->DriverName);
    target->QueuedJobs = record.jobs;
    // As in the choice: an unsupported driver's port is not looked at.
    target->ConnectionKind =
        target->Model == ModelUnsupported
            ? ConnectSpooler
            : ClassifyPort(record.portName, record.attributes, record.status, record.hasSeparator ? "set" : nullptr);
    return RecordRead;
}
