#include "common/wait_cursor.h"

#include <windows.h>

void SetWaitCursor(int cursorId) { SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(cursorId))); }
