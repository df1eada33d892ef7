// Placeholder until the printer choice is built.
#include "link/choice/printer_choice.h"

PrinterTarget CurrentTarget;
void SetChoiceUi(const ChoiceUi*) {}
int RunPrinterChoice(HINSTANCE, HWND) { return 2; }
bool ShowRefusalMessage(int, HWND) { return false; }
void ShowQueuedJobsMessage(HWND) {}
int RefreshPrinterState() { return 0; }
int CheckPrinterReady() { return 0; }
