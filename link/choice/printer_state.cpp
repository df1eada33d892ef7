// The checks before every command that reaches the printer: the chosen
// printer's spooler record read again, and the message that tells the user
// what to change when the printer cannot take commands.
#include <windows.h>
#include <winspool.h>

#include <climits>

#include "common/cp932_text.h"
#include "common/memory.h"
#include "link/channel/spooler_calls.h"
#include "link/channel/spooler_printers.h"
#include "link/choice/choice_internal.h"
#include "link/choice/printer_choice.h"

// The portable rules use their own copies of the spooler's bits.
static_assert(PortAttributeEnableBidi == PRINTER_ATTRIBUTE_ENABLE_BIDI, "bidirectional attribute");
static_assert(PortAttributeWorkOffline == PRINTER_ATTRIBUTE_WORK_OFFLINE, "work-offline attribute");
static_assert(PortStatusPaused == PRINTER_STATUS_PAUSED, "paused status");

PrinterTarget CurrentTarget;

namespace {

const ChoiceUi* g_ui = nullptr;

// A level-2 record is a few hundred bytes plus the device mode; a spooler
// that asks for more than this is not believed.
const DWORD kMaxRecordSize = 1024 * 1024;
// The record may grow between the size query and the read (another program
// changing the printer); it is asked for again this many times.
const int kRecordGrowths = 4;

UINT SystemIconStyle(ChoiceIcon icon) {
    switch (icon) {
    case ChoiceIconError:
        return MB_ICONERROR;
    case ChoiceIconWarning:
        return MB_ICONWARNING;
    case ChoiceIconInfo:
        return MB_ICONINFORMATION;
    default:
        return 0;
    }
}

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

void SetChoiceUi(const ChoiceUi* ui) { g_ui = ui; }

void ShowChoiceMessage(HWND owner, const ChoiceMessage& message) {
    if (!message.text) return;
    if (g_ui && g_ui->showMessage) {
        g_ui->showMessage(owner, message.text, message.icon);
        return;
    }
    MessageBoxA(owner, message.text, ChoiceCaption, MB_OK | SystemIconStyle(message.icon));
}

HICON ChoiceRowIcon(ChoiceIcon icon) { return g_ui && g_ui->rowIcon ? g_ui->rowIcon(icon) : nullptr; }

HWND ChoiceMessageOwner() { return g_ui && g_ui->messageOwner ? g_ui->messageOwner() : nullptr; }

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
    record->attributes = info->Attributes;
    record->status = info->Status;
    const char* separator = TextInBlock(info->pSepFile, block.bytes, block.size);
    record->hasSeparator = separator && separator[0] != '\0';
    record->jobs = info->cJobs > static_cast<DWORD>(INT_MAX) ? INT_MAX : static_cast<int>(info->cJobs);
    return RecordRead;
}

int RefreshPrinterState() {
    PrinterRecord record;
    const int result = ReadPrinterRecord(CurrentTarget.PrinterName, &record);
    if (result == RecordNoPrinter) CurrentTarget.ConnectionKind = RefuseOtherPort;
    if (result != RecordRead) return result;
    CurrentTarget.QueuedJobs = record.jobs;
    // The port as the spooler has it now: a printer moved to another port
    // since the choice is classified, and reached, by its new one.
    CopyCp932(CurrentTarget.PortName, sizeof CurrentTarget.PortName, record.portName);
    CurrentTarget.ConnectionKind =
        ClassifyPort(record.portName, record.attributes, record.status, record.hasSeparator ? "set" : nullptr);
    return 0;
}

PrinterReadiness CheckPrinterReady() {
    const HWND owner = ChoiceMessageOwner();
    switch (RefreshPrinterState()) {
    case RecordRead:
        break;
    case RecordNoPrinter:
        ShowChoiceMessage(owner, PrinterDeletedMessage);
        return PrinterDeleted;
    case RecordUnreadable:
        return PrinterStateUnreadable;
    default:
        return PrinterCheckOutOfMemory;
    }
    if (CurrentTarget.ConnectionKind == ConnectSpooler || CurrentTarget.ConnectionKind == ConnectLan) {
        if (CurrentTarget.QueuedJobs == 0) return PrinterReady;
        ShowQueuedJobsMessage(owner);
        return PrinterJobsQueued;
    }
    ShowRefusalMessage(CurrentTarget.ConnectionKind, owner);
    return PrinterRefused;
}

bool ShowRefusalMessage(int connectionKind, HWND owner) {
    const ChoiceMessage message = RefusalMessage(connectionKind);
    if (!message.text) return false;
    ShowChoiceMessage(owner, message);
    return true;
}

void ShowQueuedJobsMessage(HWND owner) { ShowChoiceMessage(owner, QueuedJobsMessage); }
