// The checks before every command that reaches the printer, as the remote
// panel runs them on the chosen printer: the verdict of JudgePrinterReady
// (printer_readiness.cpp) and the message that tells the user what to
// change when the printer cannot take commands.
#include <windows.h>

#include "link/choice/choice_internal.h"
#include "link/choice/printer_choice.h"

PrinterTarget CurrentTarget;

namespace {

const ChoiceUi* g_ui = nullptr;

UINT SystemIconStyle(ChoiceIcon icon) {
    switch (icon) {
    case ChoiceIconError:
        return MB_ICONERROR;
    case ChoiceIconWarning:
        return MB_ICONWARNING;
    case ChoiceIconInfo:
        return MB_ICONINFORMATION;
    default:
        return 0;
    }
}

}  // namespace

void SetChoiceUi(const ChoiceUi* ui) { g_ui = ui; }

void ShowChoiceMessage(HWND owner, const ChoiceMessage& message) {
    if (!message.text) return;
    if (g_ui && g_ui->showMessage) {
        g_ui->showMessage(owner, message.text, message.icon);
        return;
    }
    MessageBoxA(owner, message.text, ChoiceCaption, MB_OK | SystemIconStyle(message.icon));
}

HICON ChoiceRowIcon(ChoiceIcon icon) { return g_ui && g_ui->rowIcon ? g_ui->rowIcon(icon) : nullptr; }

HWND ChoiceMessageOwner() { return g_ui && g_ui->messageOwner ? g_ui->messageOwner() : nullptr; }

int RefreshPrinterState() { return RefreshTargetState(&CurrentTarget); }

PrinterReadiness CheckPrinterReady() {
    const PrinterReadiness readiness = JudgePrinterReady(&CurrentTarget);
    const HWND owner = ChoiceMessageOwner();
    switch (readiness) {
    case PrinterDeleted:
        ShowChoiceMessage(owner, PrinterDeletedMessage);
        break;
    case PrinterJobsQueued:
        ShowQueuedJobsMessage(owner);
        break;
    case PrinterRefused:
        ShowRefusalMessage(CurrentTarget.ConnectionKind, owner);
        break;
    default:  // ready, or a state that cannot be read: nothing to tell
        break;
    }
    return readiness;
}

bool ShowRefusalMessage(int connectionKind, HWND owner) {
    const ChoiceMessage message = RefusalMessage(connectionKind);
    if (!message.text) return false;
    ShowChoiceMessage(owner, message);
    return true;
}

void ShowQueuedJobsMessage(HWND owner) { ShowChoiceMessage(owner, QueuedJobsMessage); }
