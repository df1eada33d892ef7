// Being written: the outputs land with their print and file code.
#include "panel/consumables/consumables_reports.h"

void PrintConsumablesReport() {}
void PrintErrorLog() {}
void SaveConsumablesReport() {}
