// Process-wide records of the remote panel, allocated zero-filled at
// start-up and kept until exit.
#pragma once

#include <cstdint>

#include "link/choice/printer_choice.h"  // CurrentTarget, the chosen printer
#include "panel/consumables/counters.h"
#include "panel/settings/setting_items.h"

struct HWND__;
typedef HWND__* HWND;

extern SettingsRecord* CurrentSettings;     // shown, edited, written, saved
extern SettingsRecord* ReceivedSettings;    // parse scratch of a settings answer
extern ConsumablesCounters* Counters;       // answer records of the consumables query
extern std::uint32_t* DetectedModel;        // ModelCode of the connected printer; 0 until known
extern unsigned char* PrinterVersion;       // 12 bytes; firmware version text in bytes 0-6

extern bool CancelPending;                  // an exchange was left open: repair it first
extern HWND MainWindow;                     // owner of the progress window; null before it exists

// Allocates every record above zero-filled. False (and nothing kept) when
// memory runs out.
bool AllocateGlobals();

// Frees the records and closes the printer channel.
void ReleaseGlobals();
