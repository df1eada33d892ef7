// The console tool's commands, apart from its entry point, so that tests
// run them with printers and output of their own.
#pragma once

#include <string>
#include <vector>

#include "console/console_texts.h"

class PrinterSystem;

// Where the tool's text goes: Out for results, Error for what went wrong.
// Each call is one or more whole lines, code page 932.
class ConsoleSink {
public:
    virtual ~ConsoleSink() = default;
    virtual void Out(const std::string& text) = 0;
    virtual void Error(const std::string& text) = 0;
};

// Runs the command `args` (without the program's name) and returns the exit
// status: 0 done, 1 differences or problems found (a printer that failed),
// 2 bad input (nothing was changed). `printers` null: the commands that
// reach printers are not in this build.
int RunVeldra6c(const std::vector<std::string>& args, ConsoleLanguage language, PrinterSystem* printers,
                ConsoleSink& sink);
