// One row per command: its pre-flight check, its question, what it does and
// where the focus goes afterwards.
#include "panel/shell/main_commands.h"

#include "link/choice/printer_choice.h"
#include "panel/resources/resource.h"
#include "panel/settings/printer_exchange.h"
#include "panel/settings/settings_files.h"
#include "panel/settings/settings_tabs.h"
#include "panel/shell/main_window.h"
#include "panel/shell/show_message.h"
#include "panel/shell/tooltips.h"

namespace {

enum FocusAfter { FocusSaved, FocusAdjusted, FocusAdjustedAndKept };

struct MainCommand {
    int id;
    bool preflight;       // CheckPrinterReady first; a refusal ends the command
    UINT question;        // OK/Cancel question, 0 for none
    void (*action)(HWND mainWindow);
    bool tabsForward;     // bring the settings container forward afterwards
    FocusAfter focus;
};

void ShowNoAnswer(HWND owner) { ShowMessageId(MB_USERICON, IDS_NO_ANSWER, IDI_PRINTER_ERROR, owner); }

void ReadSettingsFromPrinter(HWND main) {
    if (ReadFromPrinter(ReadSettings, main) == 0) ShowNoAnswer(main);
}
void CommitSettings(HWND main) {
    if (WriteToPrinter(WriteSettings, main) == 0) ShowNoAnswer(main);
}
void PrintSettingsListOnPrinter(HWND main) {
    if (WriteToPrinter(PrintSettingsList, main) == 0) ShowNoAnswer(main);
}
void LoadFile(HWND) { LoadSettingsFile(); }
void SaveFile(HWND) { SaveSettingsFile(); }
void LoadFactory(HWND) { LoadFactoryDefaults(); }
void OpenHelp(HWND main) { OpenHelpFile(main); }

void ShowVersion(HWND main) {
    char caption[128], number[32], notice[256], text[512];
    LoadText(IDS_APP_CAPTION, caption, sizeof caption);
    LoadText(IDS_VERSION_NUMBER, number, sizeof number);
    LoadText(IDS_VERSION_NOTICE, notice, sizeof notice);
    wsprintfA(text, "%.127s  %.31s\n\n\n%.255s\n\n", caption, number, notice);
    ShowMessage(MB_USERICON, text, IDI_PRINTER, 0, main);
}

const MainCommand kCommands[] = {
    {IDM_SETTINGS_READ, true, IDS_CONFIRM_READ, ReadSettingsFromPrinter, true, FocusAdjustedAndKept},
    {IDM_FILE_OPEN, false, 0, LoadFile, false, FocusAdjusted},
    {IDM_FILE_SAVE, false, 0, SaveFile, false, FocusSaved},
    {IDM_SETTINGS_COMMIT, true, IDS_CONFIRM_COMMIT, CommitSettings, true, FocusSaved},
    {IDM_FILE_FACTORY, true, IDS_CONFIRM_FACTORY, LoadFactory, false, FocusAdjusted},
    {IDM_HELP_CONTENTS, false, 0, OpenHelp, true, FocusSaved},
    {IDM_HELP_VERSION, false, 0, ShowVersion, false, FocusSaved},
    {IDM_FILE_PRINT_LIST, true, IDS_CONFIRM_PRINT_LIST, PrintSettingsListOnPrinter, false, FocusSaved},
};

void RestoreFocus(FocusAfter focus) {
    if (focus == FocusSaved) {
        RestoreSavedFocus();
        return;
    }
    // A greyed list cannot take the focus back: the Read button stands in.
    const HWND target = AdjustFocusTarget(SavedFocus);
    if (focus == FocusAdjustedAndKept) SavedFocus = target;
    FocusWindow(target);
}

void Run(HWND main, const MainCommand& command) {
    RememberFocus();
    const bool go = (!command.preflight || CheckPrinterReady() == 0) &&
                    (!command.question || AskQuestion(main, command.question, MB_OKCANCEL) == IDOK);
    if (go) command.action(main);
    if (command.tabsForward && SettingsTabsWindow()) SetForegroundWindow(SettingsTabsWindow());
    RestoreFocus(command.focus);
}

// The consumables window comes with its own dialog; until it exists the
// command has nothing to open and its menu item is greyed.
void OpenConsumables(HWND) {}

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
