#include "monitor/monitor_messages.h"

#include "monitor/resources/resource.h"

namespace {

// The longest message is a few hundred bytes in code page 932.
const int kTextSize = 1024;
const int kCaptionSize = 64;

const UINT kModalInFront = MB_TASKMODAL | MB_SETFOREGROUND;

// A text of the program's string table; empty when it is missing.
void LoadMonitorText(UINT id, char* buffer, int size) {
    if (!LoadStringA(GetModuleHandleA(nullptr), id, buffer, size)) buffer[0] = '\0';
}

}  // namespace

void ShowMonitorError(UINT textId) {
    char caption[kCaptionSize];
    char text[kTextSize];
    LoadMonitorText(IDS_MONITOR_CAPTION, caption, sizeof caption);
    LoadMonitorText(textId, text, sizeof text);
    MessageBoxA(nullptr, text, caption, MB_OK | MB_ICONERROR | kModalInFront);
}

bool AskMonitorQuestion(HWND owner, UINT textId) {
    char caption[kCaptionSize];
    char text[kTextSize];
    LoadMonitorText(IDS_MONITOR_CAPTION, caption, sizeof caption);
    LoadMonitorText(textId, text, sizeof text);
    return MessageBoxA(owner, text, caption, MB_OKCANCEL | MB_ICONQUESTION | kModalInFront) == IDOK;
}

void ShowMonitorOutcome(HWND owner, HINSTANCE instance, UINT textId, int icon) {
    char caption[kCaptionSize];
    char text[kTextSize];
    LoadMonitorText(IDS_MONITOR_CAPTION, caption, sizeof caption);
    LoadMonitorText(textId, text, sizeof text);
    MSGBOXPARAMSA box = {};
    box.cbSize = sizeof box;
    box.hwndOwner = owner;
    box.hInstance = instance;
    box.lpszText = text;
    box.lpszCaption = caption;
    box.dwStyle = MB_OK | MB_USERICON | kModalInFront;
    box.lpszIcon = MAKEINTRESOURCEA(icon);
    MessageBoxIndirectA(&box);
}
