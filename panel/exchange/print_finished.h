#pragma once

#include <windows.h>

// Asks "印刷は終了しましたか？" with an animated printer until "はい".
void ShowPrintFinishedDialog(HWND owner);
