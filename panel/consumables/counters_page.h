// The counters page (dialog 172) of the consumables detail window: the five
// general counts and the four clear buttons.
#pragma once

#include <windows.h>

// Creates the page, hidden, as a child of the detail window (null when it
// could not be made).
HWND CreateCountersPage(HINSTANCE instance, HWND detail);
