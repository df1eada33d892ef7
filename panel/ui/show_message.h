// The program's message boxes and texts: every box carries the program's
// caption, every text comes from its string table.
#pragma once

#include <windows.h>

// The module that holds the program's resources: the main window's, or this
// executable's before the main window exists.
HINSTANCE ProgramInstance();

// A string of the program's string table (empty when missing).
const char* LoadText(UINT id, char* buffer, int size);

// The program's caption (IDS_APP_CAPTION), the title of its main window and
// of every box it shows.
enum { AppCaptionSize = 128 };
const char* LoadAppCaption(char (&caption)[AppCaptionSize]);

// A message box with the program's caption and one of its printer icons
// (160, 181, 182, 183); `text` is cut, never inside a double-byte
// character, to 1023 bytes. Returns the button pressed.
int ShowMessage(UINT style, const char* text, int iconId, HWND owner);

// The same with a text from the string table.
int ShowMessageId(UINT style, UINT textId, int iconId, HWND owner);

// The warning that a window could not be made: system-modal, stop icon,
// the program caption, owned by `owner` (null for none).
void ShowResourceWarning(HWND owner);

// A plain question box with the program caption and the question icon,
// owned by `owner`: `buttons` (MB_OKCANCEL, MB_YESNOCANCEL, ...) and the
// text `textId`. Returns the button pressed.
int AskQuestion(HWND owner, UINT textId, UINT buttons);
