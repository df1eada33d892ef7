// Reading from and writing to the printer. Both run on the user-interface
// thread and block it until the printer has answered or the channel failed.
#pragma once

#include <windows.h>

#include "panel/core/conversation.h"

// 1 success, 0 failure, -1 (ReadModelAndSettings only) another model answered.
// Message boxes are owned by `owner`.
int ReadFromPrinter(ReadKind kind, HWND owner);

// 1 success, 0 failure; the caller shows the no-answer message. -1: the
// settings were refused before anything was sent (a value outside its
// list; the user was told which item). `owner` is
// not used: the only message of its own (the LAN channel's) is owned by the
// main window.
int WriteToPrinter(WriteKind kind, HWND owner);

// At exit: when a conversation was left open, sends the recovery sequence
// over the chosen printer's channel and tells the user when it fails.
void CancelOpenConversationAtExit(HWND owner);

// Puts the factory values into CurrentSettings; no printer traffic.
void LoadFactoryDefaults();
