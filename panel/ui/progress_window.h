#pragma once

#include <windows.h>

// The small modeless window shown while the printer is busy (dialog 177,
// no procedure of its own, owned by the main window), with one text line
// from the string table. It is not serviced during the exchange.
HWND CreateProgressWindow(UINT textId);
void DestroyProgressWindow(HWND* window);
