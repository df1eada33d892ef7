#include "panel/shell/show_message.h"

#include "panel/resources/resource.h"
#include "panel/shell/message_text.h"
#include "panel/shell/panel_state.h"

namespace {

HINSTANCE ProgramInstance() {
    if (MainWindow) return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(MainWindow, GWLP_HINSTANCE));
    return GetModuleHandleA(nullptr);
}

}  // namespace

const char* LoadText(UINT id, char* buffer, int size) {
    if (LoadStringA(ProgramInstance(), id, buffer, size) <= 0) buffer[0] = '\0';
    return buffer;
}

int ShowMessage(UINT style, const char* text, int iconId, MessageCode code, HWND owner) {
    char message[1024];
    BuildMessageText(code, text, message, sizeof message);
    char caption[128];
    MSGBOXPARAMSA params = {};
    params.cbSize = sizeof params;
    params.hwndOwner = owner;
    params.hInstance = ProgramInstance();
    params.lpszText = message;
    params.lpszCaption = LoadText(IDS_APP_CAPTION, caption, sizeof caption);
    params.dwStyle = style;
    params.lpszIcon = MAKEINTRESOURCEA(iconId);
    return MessageBoxIndirectA(&params);
}

int AskQuestion(HWND owner, UINT textId, UINT buttons) {
    char caption[128], text[512];
    LoadText(IDS_APP_CAPTION, caption, sizeof caption);
    LoadText(textId, text, sizeof text);
    return MessageBoxA(owner, text, caption, buttons | MB_ICONQUESTION);
}

int ShowMessageId(UINT style, UINT textId, int iconId, HWND owner) {
    char text[1024];
    return ShowMessage(style, LoadText(textId, text, sizeof text), iconId, 0, owner);
}
