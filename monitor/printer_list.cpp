#include "monitor/printer_list.h"

#include "monitor/monitor_messages.h"
#include "monitor/resources/resource.h"

namespace {

// A spooler that is starting (at log-on) fails for a while: the list is
// asked for again 1 s apart, 60 times. A list that keeps growing between
// calls is not followed for ever (64 growths); its size is not bounded.
const PrinterListRules kListRules = {64, MAXDWORD, 60, 1000};

}  // namespace

bool ReadMonitorPrinterList(SpoolerPrinterList* list) {
    switch (list->Read(kListRules)) {
    case PrinterListRead:
        return true;
    case PrinterListNoMemory:
        ShowMonitorError(IDS_LIST_NO_MEMORY);
        return false;
    default:
        ShowMonitorError(IDS_LIST_FAILED);
        return false;
    }
}
