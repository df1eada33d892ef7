// What the printer choice and the checks before a command tell the user:
// the texts and which of the panel's printer icons goes with each. The
// texts are code page 932 bytes, as every text of the panel.
#pragma once

// The panel's printer icons, named by what they mean here: a printer that
// can be used, an unsupported one, one that is refused for now, a warning.
enum ChoiceIcon { ChoiceIconPrinter, ChoiceIconError, ChoiceIconInfo, ChoiceIconWarning };

struct ChoiceMessage {
    const char* text;
    ChoiceIcon icon;
};

// The message of a refusal code (2..6, 16): why the printer cannot take
// commands and what to change. Null text for any other code.
ChoiceMessage RefusalMessage(int connectionKind);

// Jobs are waiting in the printer's queue.
extern const ChoiceMessage QueuedJobsMessage;
// The chosen printer is no longer known to the spooler.
extern const ChoiceMessage PrinterDeletedMessage;
// OK was pressed with no printer in the list chosen.
extern const ChoiceMessage NotSelectedMessage;

// The caption of the choice dialog and of the fallback message boxes.
extern const char ChoiceCaption[];
// Titles of the list's two columns.
extern const char PrinterColumnTitle[];
extern const char PortColumnTitle[];

// The icon of a printer's row: usable (kind 0 or 1), a supported model that
// is refused for now, or an unsupported driver.
ChoiceIcon RowIcon(bool supported, int connectionKind);
