// Shared by the choice dialog and the checks (link/choice only): the
// messages through the panel's ChoiceUi, and one printer's spooler record
// read into fixed fields.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "link/channel/spooler_printers.h"
#include "link/choice/choice_texts.h"
#include "link/choice/port_rules.h"
#include "link/choice/printer_readiness.h"

// Shows `message` through the panel's ChoiceUi (or a plain system box).
void ShowChoiceMessage(HWND owner, const ChoiceMessage& message);
// The row icon for `icon`; null when the panel gives none.
HICON ChoiceRowIcon(ChoiceIcon icon);
// The owner of the checks' messages (the main window), or null.
HWND ChoiceMessageOwner();

// What the checks need of a printer's level-2 record, copied out of the
// spooler's block (names cut at 255 bytes).
struct PrinterRecord {
    char portName[PrinterNameSize];
    char driverName[PrinterNameSize];
    std::uint32_t attributes;
    std::uint32_t status;
    bool hasSeparator;
    int jobs;
};

// Opens printer `name` (no defaults), reads its level-2 record and closes it
// again. RecordRead with *record filled; RecordNoPrinter when it cannot be
// opened; RecordUnreadable when the spooler does not deliver the record;
// RecordNoMemory when no block of the size it asks for can be had.
int ReadPrinterRecord(const char* name, PrinterRecord* record);
