// The detail window's three outputs: the consumables report and the error
// log on paper, and both in one text file. Each works on the counters
// record, the chosen printer and the detail window that is open (its
// dialogs are owned by it).
#pragma once

#include "panel/ui/file_save.h"

void PrintConsumablesReport();  // 40017
void PrintErrorLog();           // 40018
void SaveConsumablesReport();   // 40019

// TEST SEAM: the text file's write goes through `write` (WriteFile's
// contract), so that tests can make it fail part-way as a full disk would;
// null restores WriteFile. The printing calls have their own seam
// (panel/consumables/print_calls.h). For tests only.
void TestSeam_UseReportFileWrite(FileWriteCall write);
