// Placeholder until the settings files are built.
#include "panel/settings/settings_files.h"

void LoadSettingsFile() {}
void SaveSettingsFile() {}
void LoadTempSettings() {}
bool SaveTempSettings() { return true; }
