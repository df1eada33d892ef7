// The printer choice (dialog 184) and the spooler checks before every
// command that reaches the printer. Everything the spooler reports is
// untrusted: names are cut at 255 bytes, a failing enumeration is "no
// printers". Spooler calls go through Spooler() (link/channel/spooler_calls.h)
// so that tests can show states Wine's spooler cannot.
#pragma once

#include <windows.h>

#include "link/choice/choice_texts.h"  // ChoiceIcon
#include "link/choice/printer_readiness.h"
#include "link/choice/printer_target.h"

// The chosen printer: set by the choice dialog, refreshed by the checks.
extern PrinterTarget CurrentTarget;

// Where the choice's messages go. The panel shows them with its printer
// icons (link/ knows nothing of the panel's resources).
struct ChoiceUi {
    // A plain OK message box with the program caption and the icon.
    void (*showMessage)(HWND owner, const char* text, ChoiceIcon icon);
    // The 16x16 icon of a list row (PrinterIcon, PrinterInfoIcon, PrinterErrorIcon).
    // Stays the panel's: the dialog copies it into its image list.
    HICON (*rowIcon)(ChoiceIcon icon);
    // Owner of the messages of CheckPrinterReady (the main window).
    HWND (*messageOwner)();
};
// `ui` must outlive its use; null (or a null member) falls back to plain
// system message boxes, rows without icons and messages without an owner.
void SetChoiceUi(const ChoiceUi* ui);

// How the printer choice ended. The values are the dialog's own end codes.
enum PrinterChoiceResult {
    PrinterChoiceFailed = -1,   // the dialog could not be shown
    PrinterChosen = 1,          // CurrentTarget is the chosen printer's record
    PrinterChoiceCancelled = 2,
    NoSupportedPrinter = 3,     // no printer with a supported driver to offer
};

// Runs dialog 184 modally.
PrinterChoiceResult RunPrinterChoice(HINSTANCE instance, HWND owner);

// Shows the message of a refusal code (2..6, 16) with its icon; false for
// a code without a message.
bool ShowRefusalMessage(int connectionKind, HWND owner);
// The queued-jobs message.
void ShowQueuedJobsMessage(HWND owner);

// Re-reads CurrentTarget's spooler record: 0 read, 1 cannot be opened
// (ConnectionKind becomes 16), 2 record unreadable, 4 out of memory.
int RefreshPrinterState();

// Reads the chosen printer's state again and judges it (JudgePrinterReady,
// printer_readiness.h). Shows its own message where the user must act:
// queued jobs, a deleted printer, a refused port or state.
PrinterReadiness CheckPrinterReady();
