// How a check of the printers ended, for its caller. The values are the
// ones the callers have always compared with.
#pragma once

enum CheckResult {
    CheckDone = 0,         // nothing to tell, or nothing more to do
    CheckToldUser = 1,     // a message said why the check stopped; the monitor goes on
    CheckEndsProgram = 2,  // a message was shown and the caller ends the program at once
};
