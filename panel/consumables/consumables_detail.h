// The consumables detail window (dialog 171, menu 173, accelerators 178):
// the counters and head pin pages on two tabs, the alarm history, update,
// the reports and close. Opened from the management window (command 1203).
#pragma once

#include <windows.h>

// Brings the detail window forward and focuses it when it is open.
// Otherwise checks the printer, reads the counters and the firmware version
// and, when both reads succeed, opens it owned by the main window, with its
// tooltips, in front and focused. A refused check brings `management`
// forward; a failed read opens nothing (the read has told the user).
void OpenConsumablesDetail(HWND management);
