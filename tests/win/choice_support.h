// The printer choice driven as a user would: the dialog runs modally on the
// test's thread while a script on another thread reads its list, picks a
// row and presses its buttons; the message boxes it shows are read and
// answered (box_watcher.h). A scripted spooler shows what Wine's cannot
// (paused printers, queued jobs, failures, lists that change between calls).
#pragma once

#include <windows.h>
#include <winspool.h>

#include <functional>
#include <string>
#include <vector>

#include "link/choice/printer_choice.h"
#include "tests/win/box_watcher.h"
#include "tests/win/wait_until.h"

// --- the dialog ---------------------------------------------------------

struct ChoiceRow {
    std::string name;
    std::string port;
    int image;
};

// Runs RunPrinterChoice and, once the dialog shows, `script` on a thread of
// its own. A dialog the script leaves open is cancelled after a moment.
struct ChoiceRun {
    PrinterChoiceResult result = PrinterChoiceFailed;
    bool shown = false;
    bool scriptLeftItOpen = false;
};
ChoiceRun RunChoice(const std::function<void(HWND dialog)>& script);

HWND ChoiceList(HWND dialog);
std::vector<ChoiceRow> ReadRows(HWND dialog);
int FindRow(const std::vector<ChoiceRow>& rows, const std::string& name);  // -1 when absent
void FocusRow(HWND dialog, int row);
int FocusedRow(HWND dialog);
void Press(HWND dialog, int id);  // posted: the dialog may answer with a message box
void DoubleClickRow(HWND dialog, int row);

// The pixels of image `index` of the list's image list drawn on white (empty
// when there is none), and the same for the panel's icon `iconId`.
std::string RowImage(HWND dialog, int index);
std::string PanelIconImage(int iconId);

// --- a scripted spooler -------------------------------------------------

struct FakePrinter {
    std::string name;
    std::string port;
    DWORD attributes = PRINTER_ATTRIBUTE_ENABLE_BIDI;
    std::string driver = "KOA koa2400Max-R(0mm)";
    DWORD status = 0;
    DWORD jobs = 0;
    std::string separator = "";
    bool nullFields = false;   // name, port and driver given as null pointers
    bool portOutside = false;  // the port pointer lies outside the spooler's block
};

struct FakeSpooler {
    std::vector<FakePrinter> printers;
    // Joins the list at the next enumeration that brings a whole buffer:
    // the list grew between the size query and the read.
    std::vector<FakePrinter> arriving;
    int enumFailures = 0;       // enumerations that fail first (-1: all)
    bool recordFails = false;   // GetPrinter fails
    DWORD recordClaim = 0;      // GetPrinter asks for this size (0: what it needs)
    int recordGrowths = 0;      // reads that find the record grown meanwhile
    int enumCalls = 0, opens = 0, closes = 0;
};

// Every spooler call of this process goes to `fake` (kept by the caller)
// from now on; null restores Wine's spooler.
void UseFakeSpooler(FakeSpooler* fake);
