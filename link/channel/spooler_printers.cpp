#include "link/channel/spooler_printers.h"

#include "common/memory.h"
#include "common/timing.h"
#include "link/channel/spooler_calls.h"

PrinterListResult SpoolerPrinterList::Read(const PrinterListRules& rules) {
    Free();
    const SpoolerCalls& spooler = Spooler();
    int growths = 0;
    int failures = 0;
    for (;;) {
        DWORD needed = 0;
        DWORD returned = 0;
        if (spooler.enumPrinters(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 2, bytes_, size_, &needed,
                                 &returned)) {
            // A count beyond the block would send readers past its end.
            const DWORD fits = size_ / sizeof(PRINTER_INFO_2A);
            count_ = returned < fits ? returned : fits;
            return PrinterListRead;
        }
        if (GetLastError() == ERROR_INSUFFICIENT_BUFFER && needed > size_ && needed <= rules.maxBytes &&
            growths < rules.growths) {
            ++growths;
            Free();
            long error = 0;
            bytes_ = static_cast<BYTE*>(AllocBlock(needed, &error));
            if (!bytes_) return PrinterListNoMemory;
            size_ = needed;
            continue;
        }
        if (failures >= rules.retries) {
            Free();
            return PrinterListUnreadable;
        }
        ++failures;
        FixedWait(rules.retryPauseMs);
    }
}

void SpoolerPrinterList::Free() {
    if (bytes_) FreeBlock(bytes_);
    bytes_ = nullptr;
    size_ = 0;
    count_ = 0;
}

const char* SpoolerPrinterList::Text(const char* field) const { return TextInBlock(field, bytes_, size_); }

bool SpoolerPrinter::Open(char* name) {
    Close();
    if (Spooler().openPrinter(name, &handle_, nullptr)) return true;
    handle_ = nullptr;  // whatever a failed call left there is no handle
    return false;
}

void SpoolerPrinter::Close() {
    if (handle_) Spooler().closePrinter(handle_);
    handle_ = nullptr;
}

const char* TextInBlock(const char* field, const BYTE* block, std::size_t size) {
    const BYTE* at = reinterpret_cast<const BYTE*>(field);
    if (!field || !block || at < block || at >= block + size) return nullptr;
    const std::size_t room = static_cast<std::size_t>(block + size - at);
    for (std::size_t n = 0; n < room; ++n)
        if (field[n] == '\0') return field;
    return nullptr;
}
