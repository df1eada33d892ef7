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

// TEST SEAM: every write into a settings file or the temporary settings
// file goes through `write` (WriteFile's contract: true when the call
// succeeded, *written the bytes that went out), so that tests can make a
// write fail part-way as a full disk or a lost network share would; null
// restores WriteFile. For tests only.
typedef bool (*SettingsFileWrite)(void* file, const void* bytes, unsigned long count, unsigned long* written);
void TestSeam_UseSettingsFileWrite(SettingsFileWrite write);
