// Test printers in a Wine prefix: a driver entry, a printer on a port, and
// the Wine spooler's port-to-command mapping that delivers RAW jobs to a
// Unix command (for example "|cat >> /tmp/jobs.bin").
#pragma once

#include <string>

// Adds (or updates) printer `name` with driver `driver` on `port`. The driver
// is registered first with Wine's PostScript driver as its files. Returns
// false with a message in *error.
bool AddTestPrinter(const std::string& name, const std::string& driver, const std::string& port,
                    unsigned long attributes, std::string* error);

// Maps `port` to `command` in HKCU\Software\Wine\Printing\Spooler.
bool SetPortCommand(const std::string& port, const std::string& command, std::string* error);

bool DeleteTestPrinter(const std::string& name);

// Makes `name` the default printer (the profile's "device" entry, which
// Wine's SetDefaultPrinterA writes as "name,driver file,port").
bool SetDefaultTestPrinter(const std::string& name, std::string* error);
