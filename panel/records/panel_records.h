// Process-wide records of the remote panel: the settings and consumables
// records, allocated zero-filled at start-up and kept until exit, and the
// windows that every part of the panel may need to find (the main window,
// the consumables windows while they are open). The bottom of the panel's
// Win32 modules: it knows the portable core and nothing else of the panel.
#pragma once

#include <cstdint>

#include "link/choice/printer_choice.h"  // CurrentTarget, the chosen printer
#include "panel/core/counters.h"
#include "panel/core/setting_items.h"

struct HWND__;
typedef HWND__* HWND;

extern SettingsRecord* CurrentSettings;     // shown, edited, written, saved
extern SettingsRecord* ReceivedSettings;    // parse scratch of a settings answer
extern ConsumablesCounters* Counters;       // answer records of the consumables query
extern std::uint32_t* DetectedModel;        // ModelCode of the connected printer; 0 until known
extern unsigned char* PrinterVersion;       // 12 bytes; firmware version text in bytes 0-6

extern bool CancelPending;                  // an exchange was left open: repair it first
extern HWND MainWindow;                     // owner of the progress window; null before it exists

// The consumables windows, as they come and go; null while closed.
struct ConsumablesWindowSet {
    HWND window;        // dialog 168
    HWND detail;        // the detail window
    HWND detailTabs;    // its tab control
    HWND countersPage;  // its counters page
    HWND headPinPage;   // its head-pin page
};
extern ConsumablesWindowSet ConsumablesWindows;

// Allocates every record above zero-filled. False (and nothing kept) when
// memory runs out.
bool AllocateGlobals();

// Frees the records and closes the printer channel.
void ReleaseGlobals();
