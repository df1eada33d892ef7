// Pages shown one at a time in a tab control's display area: the settings
// container's four setting pages and the consumables detail window's two.
#pragma once

#include <windows.h>

// The tab control's display area in `container`'s client coordinates: below
// the tab row, inside the tab's border.
RECT TabPageArea(HWND container, HWND tabControl);

// Puts a freshly made page over `area`, filling it (the templates are as
// wide as the area but may be shorter: no strip of the tab control shows
// below the page), above the tab control so that the tab control never
// paints over it, and shows it; the tooltips are rebuilt first, so that they
// know the new page's controls.
void ShowTabPage(HWND page, const RECT& area);
