#include "link/channel/spooler_calls.h"

namespace {

// The system's functions have exactly the seam's signatures, so the real
// record holds their addresses and adds no code of its own.
const SpoolerCalls kSystemSpooler = {
    EnumPrintersA, OpenPrinterA,   GetPrinterA,   EnumJobsA,         StartDocPrinterA,
    WritePrinter,  EndDocPrinter,  ClosePrinter,  GetProfileStringA,
};

// Read by the connection job's thread while a test may swap it.
const SpoolerCalls* volatile g_spooler = nullptr;

}  // namespace

const SpoolerCalls& Spooler() {
    const SpoolerCalls* calls = g_spooler;
    return calls ? *calls : kSystemSpooler;
}

void TestSeam_UseSpoolerCalls(const SpoolerCalls* calls) { g_spooler = calls; }
