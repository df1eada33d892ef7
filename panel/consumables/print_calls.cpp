#include "panel/consumables/print_calls.h"

namespace {

// The system's functions have exactly the seam's signatures, so the real
// record holds their addresses and adds no code of its own.
const PrintCalls kSystemPrinting = {
    PrintDlgA, GetTextMetricsA, GetTextExtentPoint32A, GetDeviceCaps, StartDocA,
    StartPage, TextOutA,        EndPage,               EndDoc,        AbortDoc,  DeleteDC,
};

const PrintCalls* g_printing = nullptr;

}  // namespace

const PrintCalls& Printing() { return g_printing ? *g_printing : kSystemPrinting; }

void TestSeam_UsePrintCalls(const PrintCalls* calls) { g_printing = calls; }
