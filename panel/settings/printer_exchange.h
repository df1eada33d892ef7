// Reading from and writing to the printer. Both run on the user-interface
// thread and block it until the printer has answered or the channel failed.
#pragma once

#include <windows.h>

enum ReadKind : short {
    ReadSettings = 1,
    ReadCounters = 2,
    ReadVersion = 6,
    ReadModelAndSettings = 7,
};

enum WriteKind : short {
    WriteSettings = 1,
    ResetRibbonLife = 3,       // ESC e R6
    ResetPowerOnTime = 4,      // ESC e R3
    ResetThicknessCount = 5,   // ESC e R7
    ResetPlatenFeedCount = 6,  // ESC e R5
    ResetHeadPinCounter = 7,   // ESC e R8
    PrintSettingsList = 8,
};

// 1 success, 0 failure, -1 (ReadModelAndSettings only) another model answered.
// Message boxes are owned by `owner`.
int ReadFromPrinter(int kind, HWND owner);

// 1 success, 0 failure; the caller shows the no-answer message. `owner` is
// not used (no message of its own on this channel).
int WriteToPrinter(int kind, HWND owner);

// Puts the factory values into CurrentSettings; no printer traffic.
void LoadFactoryDefaults();
