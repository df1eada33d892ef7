// The panel's side of the printer choice: its messages and row icons come
// from the panel's resources.
#pragma once

// Hands the printer choice and the checks the panel's message boxes (owned
// by the main window), printer icons and row icons. Called once at start-up,
// before the choice dialog runs.
void ConnectPrinterChoice();
