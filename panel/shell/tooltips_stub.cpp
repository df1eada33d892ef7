// Placeholder until the tooltips and help are built.
#include "panel/shell/tooltips.h"

void CreateTooltips() {}
void OpenHelpFile(HWND) {}
void CloseAllHelp() {}
