// One row per command: its pre-flight check, its question, what it does and
// where the focus goes afterwards.
#include "panel/shell/main_commands.h"

#include "panel/consumables/consumables_window.h"
#include "panel/resources/resource.h"
#include "panel/settings/settings_commands.h"
#include "panel/settings/settings_files.h"
#include "panel/settings/settings_tabs.h"
#include "panel/ui/help_file.h"
#include "panel/shell/main_window.h"
#include "panel/ui/show_message.h"

namespace {

enum FocusAfter { FocusSaved, FocusAdjusted, FocusAdjustedAndKept };

struct MainCommand {
    int id;
    const CommandSteps* steps;  // the printer's commands share theirs with the container's buttons
    bool tabsForward;           // bring the settings container forward afterwards
    FocusAfter focus;
};

void LoadFile(HWND) { LoadSettingsFile(); }
void SaveFile(HWND) { SaveSettingsFile(); }
void OpenHelp(HWND main) { OpenHelpFile(main); }

void ShowVersion(HWND main) {
    char caption[AppCaptionSize], number[32], notice[256], text[512];
    LoadAppCaption(caption);
    LoadText(IDS_VERSION_NUMBER, number, sizeof number);
    LoadText(IDS_VERSION_NOTICE, notice, sizeof notice);
    wsprintfA(text, "%.127s  %.31s\n\n\n%.255s\n\n", caption, number, notice);
    ShowMessage(MB_USERICON, text, IDI_PRINTER, main);
}

// Commands that ask nothing first.
const CommandSteps kLoadFile = {false, 0, LoadFile};
const CommandSteps kSaveFile = {false, 0, SaveFile};
const CommandSteps kOpenHelp = {false, 0, OpenHelp};
const CommandSteps kShowVersion = {false, 0, ShowVersion};

const MainCommand kCommands[] = {
    {IDM_SETTINGS_READ, &ReadSettingsSteps, true, FocusAdjustedAndKept},
    {IDM_FILE_OPEN, &kLoadFile, false, FocusAdjusted},
    {IDM_FILE_SAVE, &kSaveFile, false, FocusSaved},
    {IDM_SETTINGS_COMMIT, &CommitSettingsSteps, true, FocusSaved},
    {IDM_FILE_FACTORY, &FactoryDefaultsSteps, false, FocusAdjusted},
    {IDM_HELP_CONTENTS, &kOpenHelp, true, FocusSaved},
    {IDM_HELP_VERSION, &kShowVersion, false, FocusSaved},
    {IDM_FILE_PRINT_LIST, &PrintSettingsListSteps, false, FocusSaved},
};

void RestoreFocus(FocusAfter focus) {
    if (focus == FocusSaved)
        RestoreSavedFocus();
    else
        RestoreAdjustedFocus(focus == FocusAdjustedAndKept);
}

void Run(HWND main, const MainCommand& command) {
    RememberFocus();
    RunCommandSteps(*command.steps, main);
    if (command.tabsForward && SettingsTabsWindow()) SetForegroundWindow(SettingsTabsWindow());
    RestoreFocus(command.focus);
}

// Command 40007. An open window is only brought forward: the focus is
// its, and the main window's saved focus must not become one of its
// controls.
void OpenConsumables(HWND main) {
    if (BringConsumablesWindowForward()) return;
    RememberFocus();
    switch (OpenConsumablesWindow(main, SavedFocus())) {
        case ConsumablesOpened:      // it holds the keyboard; the focus comes back here when it closes
        case ConsumablesNotCreated:  // the warning leaves the focus where it is
            return;
        case ConsumablesNotReady:
        case ConsumablesReadFailed:
            RestoreSavedFocus();
            return;
    }
}

}  // namespace

bool RunMainCommand(HWND main, int id) {
    if (id == IDM_FILE_EXIT) {
        SendMessageA(main, WM_CLOSE, 0, 0);
        return true;
    }
    if (id == IDM_TOOLS_SUPPLIES) {
        OpenConsumables(main);
        return true;
    }
    for (const MainCommand& command : kCommands) {
        if (command.id == id) {
            Run(main, command);
            return true;
        }
    }
    return false;
}
