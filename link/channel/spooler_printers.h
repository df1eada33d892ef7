// The spooler's printers as both programs read them: the level-2 list, read
// again while it outgrows its block and, where the caller wants it, after
// other failures; an open printer's handle; and the text fields of a block
// the spooler filled, never taken on trust. Every call goes through
// Spooler() (spooler_calls.h).
#pragma once

#include <windows.h>
#include <winspool.h>

#include <cstddef>

// How a caller reads the list.
struct PrinterListRules {
    // Times the list is read again into a larger block when it has grown
    // between the size query and the read (printers being added meanwhile).
    int growths;
    // A list that asks for more bytes than this is not believed.
    DWORD maxBytes;
    // Times the list is asked for again after any other failure, and the
    // wait before each of those tries.
    int retries;
    DWORD retryPauseMs;
};

enum PrinterListResult {
    PrinterListRead = 0,
    PrinterListNoMemory = 1,   // no block of the size the spooler asked for
    PrinterListUnreadable = 2, // the spooler kept failing (or asked for too much)
};

// The spooler's level-2 list (local printers and connections) in a block of
// its own, freed with the holder. Empty unless Read() succeeded.
class SpoolerPrinterList {
public:
    SpoolerPrinterList() = default;
    ~SpoolerPrinterList() { Free(); }
    SpoolerPrinterList(const SpoolerPrinterList&) = delete;
    SpoolerPrinterList& operator=(const SpoolerPrinterList&) = delete;

    PrinterListResult Read(const PrinterListRules& rules);
    void Free();

    // The entries the spooler returned that lie wholly within the block.
    DWORD Count() const { return count_; }
    const PRINTER_INFO_2A& At(DWORD i) const { return reinterpret_cast<const PRINTER_INFO_2A*>(bytes_)[i]; }
    // A text field of an entry, or null unless it lies within the block and
    // ends there.
    const char* Text(const char* field) const;

private:
    BYTE* bytes_ = nullptr;
    DWORD size_ = 0;
    DWORD count_ = 0;
};

// A printer opened through the spooler seam, closed with the holder (or
// earlier, by Close(), where the printer must be let go before what follows).
class SpoolerPrinter {
public:
    SpoolerPrinter() = default;
    ~SpoolerPrinter() { Close(); }
    SpoolerPrinter(const SpoolerPrinter&) = delete;
    SpoolerPrinter& operator=(const SpoolerPrinter&) = delete;

    // Opens printer `name` with no defaults; false when the spooler refuses.
    bool Open(char* name);
    void Close();
    HANDLE Handle() const { return handle_; }

private:
    HANDLE handle_ = nullptr;
};

// A text field of a block the spooler filled: the text when it starts inside
// the block and ends there, else null.
const char* TextInBlock(const char* field, const BYTE* block, std::size_t size);
