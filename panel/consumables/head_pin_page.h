// The head pin page (dialog 174) of the consumables detail window: the 24
// pin counts and the one clear button for all of them.
#pragma once

#include <windows.h>

// Creates the page, hidden, as a child of the detail window (null when it
// could not be made).
HWND CreateHeadPinPage(HINSTANCE instance, HWND detail);
