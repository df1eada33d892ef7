// The commands that reach the printer, as one row each: the spooler check
// first, then the user's OK, then the action. The container's Read and
// Commit buttons and the main window's menu run the same rows, so that a
// command behaves alike wherever it is given.
#pragma once

#include <windows.h>

struct CommandSteps {
    bool preflight;                // CheckPrinterReady first; a refusal ends the command
    UINT question;                 // OK/Cancel question, 0 for none
    void (*action)(HWND owner);    // boxes owned by `owner`
};

// Read, Commit, the settings list printed by the printer and the factory
// values. A printer that does not answer a read or a write is told to the
// user ("no answer") by the action itself.
extern const CommandSteps ReadSettingsSteps;
extern const CommandSteps CommitSettingsSteps;
extern const CommandSteps PrintSettingsListSteps;
extern const CommandSteps FactoryDefaultsSteps;

// The check, the question and the action of `steps`, the boxes owned by
// `owner`; true when the action ran. Where the focus goes afterwards is the
// caller's: it knows where the command was given.
bool RunCommandSteps(const CommandSteps& steps, HWND owner);
