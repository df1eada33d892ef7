// The detail window's three outputs: the consumables report and the error
// log on paper, and both in one text file. Each works on the counters
// record, the chosen printer and the detail window that is open (its
// dialogs are owned by it).
#pragma once

void PrintConsumablesReport();  // 40017
void PrintErrorLog();           // 40018
void SaveConsumablesReport();   // 40019
