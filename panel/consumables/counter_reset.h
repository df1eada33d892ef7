// A counter reset as the user gives it, from the pre-flight check to the
// window showing the result: the counters page's four clear buttons, the
// head pin page's one and the management window's ribbon reset.
#pragma once

#include <windows.h>

#include "panel/core/conversation.h"

// How a reset ended.
enum ResetEnd {
    ResetRefused,    // the pre-flight check refused (it told the user); nothing sent
    ResetCancelled,  // the question was not answered with OK; nothing sent
    ResetDone,       // the printer took the reset; the count is 0 here too
    ResetNoAnswer,   // the printer did not take it; the count is kept
};

// The question a page asks before `reset` (0 for a kind without one).
UINT PageResetQuestion(WriteKind reset);

// Checks the printer (a refusal brings `questionOwner` forward and ends
// there), asks `question` in a box owned by `questionOwner`, sends `reset`,
// zeroes the count in the records when the printer took it (no new read) or
// tells `window` that the printer did not answer, and then has `window`
// redraw itself from the records, after OK and Cancel alike.
ResetEnd RunCounterReset(WriteKind reset, UINT question, HWND questionOwner, HWND window);
