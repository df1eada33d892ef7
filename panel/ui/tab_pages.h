// Pages shown one at a time in a tab control's display area: the settings
// container's four setting pages and the consumables detail window's two.
#pragma once

#include <windows.h>

// The top left corner of the tab control's display area, in `container`'s
// client coordinates: below the tab row, inside the tab's border. A page as
// wide as that area, placed there, leaves the border visible on both sides.
POINT TabPageOrigin(HWND container, HWND tabControl);

// Puts a freshly made page at `origin`, above the tab control so that the
// tab control never paints over it, and shows it; the tooltips are rebuilt
// first, so that they know the new page's controls.
void ShowTabPage(HWND page, POINT origin);
