#include "panel/ui/show_message.h"

#include "common/cp932_text.h"
#include "panel/records/panel_records.h"
#include "panel/resources/resource.h"

HINSTANCE ProgramInstance() {
    if (MainWindow) return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(MainWindow, GWLP_HINSTANCE));
    return GetModuleHandleA(nullptr);
}

const char* LoadText(UINT id, char* buffer, int size) {
    if (LoadStringA(ProgramInstance(), id, buffer, size) <= 0) buffer[0] = '\0';
    return buffer;
}

const char* LoadAppCaption(char (&caption)[AppCaptionSize]) {
    return LoadText(IDS_APP_CAPTION, caption, sizeof caption);
}

int ShowMessage(UINT style, const char* text, int iconId, HWND owner) {
    char message[1024];
    CopyCp932(message, sizeof message, text);
    char caption[AppCaptionSize];
    MSGBOXPARAMSA params = {};
    params.cbSize = sizeof params;
    params.hwndOwner = owner;
    params.hInstance = ProgramInstance();
    params.lpszText = message;
    params.lpszCaption = LoadAppCaption(caption);
    params.dwStyle = style;
    params.lpszIcon = MAKEINTRESOURCEA(iconId);
    return MessageBoxIndirectA(&params);
}

int AskQuestion(HWND owner, UINT textId, UINT buttons) {
    char caption[AppCaptionSize], text[512];
    LoadAppCaption(caption);
    LoadText(textId, text, sizeof text);
    return MessageBoxA(owner, text, caption, buttons | MB_ICONQUESTION);
}

int ShowMessageId(UINT style, UINT textId, int iconId, HWND owner) {
    char text[1024];
    return ShowMessage(style, LoadText(textId, text, sizeof text), iconId, owner);
}

void ShowResourceWarning(HWND owner) {
    char text[256], caption[AppCaptionSize];
    MessageBoxA(owner, LoadText(IDS_RESOURCES_LOW, text, sizeof text), LoadAppCaption(caption),
                MB_OK | MB_ICONHAND | MB_SYSTEMMODAL);
}
