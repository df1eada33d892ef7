#include "panel/shell/choice_ui.h"

#include <windows.h>

#include "link/choice/printer_choice.h"
#include "panel/records/panel_records.h"
#include "panel/resources/resource.h"
#include "panel/ui/show_message.h"

namespace {

int IconId(ChoiceIcon icon) {
    switch (icon) {
    case ChoiceIconError:
        return IDI_PRINTER_ERROR;
    case ChoiceIconInfo:
        return IDI_PRINTER_INFO;
    case ChoiceIconWarning:
        return IDI_PRINTER_WARNING;
    default:
        return IDI_PRINTER;
    }
}

void ShowChoiceBox(HWND owner, const char* text, ChoiceIcon icon) {
    ShowMessage(MB_USERICON, text, IconId(icon), owner);
}

// The 16x16 images of the icon resources, loaded once and kept until exit
// (the list copies them into its image list on every build).
HICON RowIconOf(ChoiceIcon icon) {
    static HICON loaded[ChoiceIconWarning + 1];
    const int index = static_cast<int>(icon);
    if (index < 0 || index > ChoiceIconWarning) return nullptr;
    if (!loaded[index])
        loaded[index] = static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IconId(icon)), IMAGE_ICON, 16, 16, 0));
    return loaded[index];
}

HWND MainWindowOwner() { return MainWindow; }

const ChoiceUi kPanelChoiceUi = {ShowChoiceBox, RowIconOf, MainWindowOwner};

}  // namespace

void ConnectPrinterChoice() { SetChoiceUi(&kPanelChoiceUi); }
