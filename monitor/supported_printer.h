// At start-up: is any installed printer one of the supported drivers?
#pragma once

enum SupportedPrinterSearch {
    NoSupportedDriver = 0,
    SupportedDriverFound = 1,
    PrinterListFailed = 2,  // the printers could not be listed (its message was shown)
};

SupportedPrinterSearch FindSupportedPrinter();
