// The one message loop of the remote panel: accelerator tables first, then
// the dialog manager of each nested window, in a fixed order.
#pragma once

#include <windows.h>

// Accelerator slots, offered in this order. The main window's table is
// taken away while the consumables window is open (it brings its own).
enum AcceleratorSlot { AccelMain, AccelDetail, AccelCountersPage, AccelHeadPinPage, AccelConsumables, AccelSlotCount };

// Sets (or, with null, clears) a slot: the window the table translates for.
// The slot owns the table: a replaced or cleared table is destroyed.
void SetAcceleratorSlot(AcceleratorSlot slot, HWND window, HACCEL table);

// The consumables windows, as they come and go; null while closed.
struct ConsumablesWindowSet {
    HWND window;        // dialog 168
    HWND detail;        // the detail window
    HWND detailTabs;    // its tab control
    HWND countersPage;  // its counters page
    HWND headPinPage;   // its head-pin page
};
extern ConsumablesWindowSet ConsumablesWindows;

// Whether the loop's own steps handled `msg` (then it must not be dispatched).
bool PreTranslatePanelMessage(MSG* msg);

// Runs until WM_QUIT; returns its code.
int RunMessageLoop();
