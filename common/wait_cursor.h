#pragma once

enum { CursorArrow = 32512, CursorHourglass = 32514 };

// Shows a standard system cursor: the hourglass while an exchange runs,
// the arrow afterwards.
void SetWaitCursor(int cursorId);
