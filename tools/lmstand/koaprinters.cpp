// Adds test printers to a Wine prefix, for the tests and the demo:
//   koaprinters add NAME DRIVER PORT [ATTRIBUTES]
//   koaprinters port PORT COMMAND        e.g. port LPT1: "|cat >> /tmp/jobs.bin"
//   koaprinters delete NAME
//   koaprinters default NAME             makes it the default printer
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/lmstand/test_printers.h"

int main(int argc, char** argv) {
    const std::string verb = argc > 1 ? argv[1] : "";
    std::string error;
    bool ok = false;
    if (verb == "add" && (argc == 5 || argc == 6)) {
        const unsigned long attributes = argc == 6 ? std::strtoul(argv[5], nullptr, 0) : 0x800;  // bidirectional
        ok = AddTestPrinter(argv[2], argv[3], argv[4], attributes, &error);
    } else if (verb == "port" && argc == 4) {
        ok = SetPortCommand(argv[2], argv[3], &error);
    } else if (verb == "default" && argc == 3) {
        ok = SetDefaultTestPrinter(argv[2], &error);
    } else if (verb == "delete" && argc == 3) {
        ok = DeleteTestPrinter(argv[2]);
        if (!ok) error = "no such printer";
    } else {
        std::fprintf(stderr, "usage: koaprinters add NAME DRIVER PORT [ATTRIBUTES] | port PORT COMMAND | default NAME"
                     " | delete NAME\n");
        return 2;
    }
    if (!ok) std::fprintf(stderr, "koaprinters: %s\n", error.c_str());
    return ok ? 0 : 1;
}
