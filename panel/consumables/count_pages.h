// The two pages of the consumables detail window: the counters page (dialog
// 172: the five general counts and four clear buttons) and the head pin page
// (dialog 174: the 24 pin counts and one clear button for all of them). One
// page class serves both; each page is described by a row of its own.
#pragma once

#include <windows.h>

// Create the page, hidden, as a child of the detail window (null when it
// could not be made).
HWND CreateCountersPage(HINSTANCE instance, HWND detail);
HWND CreateHeadPinPage(HINSTANCE instance, HWND detail);
