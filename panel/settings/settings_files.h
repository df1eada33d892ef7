// Settings files (*.vd6) and the temporary settings file: the raw 109
// bytes of CurrentSettings.
#pragma once

// The File menu's load and save, with their common dialogs and messages.
void LoadSettingsFile();
void SaveSettingsFile();

// CurrentSettings from DataDirectory\veldra6.ini (factory values for what
// it does not supply); no message.
void LoadTempSettings();
// CurrentSettings (the page on screen collected first) to the temporary
// file; false after a message when it could not be written.
bool SaveTempSettings();
