// The main window's menu and accelerator commands.
#pragma once

#include <windows.h>

// Carries out command `id`; false when the id is none of the main window's.
bool RunMainCommand(HWND mainWindow, int id);
