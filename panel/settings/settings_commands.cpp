#include "panel/settings/settings_commands.h"

#include "link/choice/printer_choice.h"
#include "panel/resources/resource.h"
#include "panel/exchange/printer_exchange.h"
#include "panel/ui/show_message.h"

namespace {

void ShowNoAnswer(HWND owner) { ShowMessageId(MB_USERICON, IDS_NO_ANSWER, IDI_PRINTER_ERROR, owner); }

void ReadSettingsFromPrinter(HWND owner) {
    if (ReadFromPrinter(ReadSettings, owner) == 0) ShowNoAnswer(owner);
}

void CommitSettings(HWND owner) {
    if (WriteToPrinter(WriteSettings, owner) == 0) ShowNoAnswer(owner);
}

void PrintSettingsListOnPrinter(HWND owner) {
    if (WriteToPrinter(PrintSettingsList, owner) == 0) ShowNoAnswer(owner);
}

void LoadFactory(HWND) { LoadFactoryDefaults(); }

}  // namespace

const CommandSteps ReadSettingsSteps = {true, IDS_CONFIRM_READ, ReadSettingsFromPrinter};
const CommandSteps CommitSettingsSteps = {true, IDS_CONFIRM_COMMIT, CommitSettings};
const CommandSteps PrintSettingsListSteps = {true, IDS_CONFIRM_PRINT_LIST, PrintSettingsListOnPrinter};
const CommandSteps FactoryDefaultsSteps = {true, IDS_CONFIRM_FACTORY, LoadFactory};

bool RunCommandSteps(const CommandSteps& steps, HWND owner) {
    const bool go = (!steps.preflight || CheckPrinterReady() == PrinterReady) &&
                    (!steps.question || AskQuestion(owner, steps.question, MB_OKCANCEL) == IDOK);
    if (go) steps.action(owner);
    return go;
}
