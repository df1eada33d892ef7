// The accelerator tables of the panel's windows, each in its slot: the one
// message loop offers every message to them in slot order before anything
// else sees it.
#pragma once

#include <windows.h>

// Accelerator slots, offered in this order. The main window's table is
// taken away while the consumables window is open (it brings its own).
enum AcceleratorSlot { AccelMain, AccelDetail, AccelCountersPage, AccelHeadPinPage, AccelConsumables, AccelSlotCount };

// Sets (or, with null, clears) a slot: the window the table translates for.
// The slot owns the table: a replaced or cleared table is destroyed.
void SetAcceleratorSlot(AcceleratorSlot slot, HWND window, HACCEL table);

// Whether a slot's table translated `msg` (then it must not be dispatched).
bool TranslateSlotAccelerators(MSG* msg);
