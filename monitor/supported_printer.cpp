#include "monitor/supported_printer.h"

#include "link/channel/supported_drivers.h"
#include "monitor/printer_list.h"

SupportedPrinterSearch FindSupportedPrinter() {
    SpoolerPrinterList list;
    if (!ReadMonitorPrinterList(&list)) return PrinterListFailed;
    for (DWORD i = 0; i < list.Count(); ++i)
        if (IsSupportedDriver(list.Text(list.At(i).pDriverName))) return SupportedDriverFound;
    return NoSupportedDriver;
}
