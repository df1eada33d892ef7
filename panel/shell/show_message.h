#pragma once

#include <windows.h>

#include "panel/settings/setting_items.h"

// A message box with the program's caption and one of its printer icons
// (160, 181, 182, 183). A value-error code (101..211) replaces `text` with
// that item's value-error message. Returns the button pressed.
int ShowMessage(UINT style, const char* text, int iconId, MessageCode code, HWND owner);

// The same with a text from the string table.
int ShowMessageId(UINT style, UINT textId, int iconId, HWND owner);

// A plain question box with the program caption and the question icon,
// owned by `owner`: `buttons` (MB_OKCANCEL, MB_YESNOCANCEL, ...) and the
// text `textId`. Returns the button pressed.
int AskQuestion(HWND owner, UINT textId, UINT buttons);

// A string of the program's string table (empty when missing).
const char* LoadText(UINT id, char* buffer, int size);
