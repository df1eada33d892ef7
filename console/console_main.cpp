// veldra6c's entry point: the command line, this system's printers, and the
// terminal in the language its code page speaks.
#include <cstdio>
#include <string>
#include <vector>

#include "console/console_platform.h"
#include "console/veldra6c.h"

namespace {

class TerminalSink : public ConsoleSink {
public:
    void Out(const std::string& text) override {
        WriteOutput(stdout, text);
        std::fflush(stdout);  // each printer's line as soon as it is done
    }
    void Error(const std::string& text) override {
        WriteOutput(stderr, text);
        std::fflush(stderr);
    }
};

}  // namespace

int main(int argc, char** argv) {
    TerminalSink sink;
    const std::vector<std::string> args(argv + 1, argv + (argc > 1 ? argc : 1));
    return RunVeldra6c(args, OutputLanguage(), SystemPrinters(), sink);
}
