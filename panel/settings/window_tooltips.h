// The tooltips of the windows open now: the settings container with its
// page on screen and the consumables windows, gathered here and handed to
// RebuildTooltips (panel/ui/tooltips.h).
#pragma once

// (Re)creates the tooltip window and registers the controls that exist now:
// the container's buttons, the labels of the page on screen, the
// consumables windows' controls while they are open. Called whenever one of
// them opens or shows another page.
void CreateTooltips();
