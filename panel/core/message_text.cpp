#include "panel/core/message_text.h"

#include <cstring>

#include "common/cp932_text.h"

namespace {

const char kValueErrorHead[] = "プリンターから以下の項目において\n規定外のデータを読み取りました。\n\n";
const char kOutOfListHead[] = "以下の項目の設定値が正しくありません。\n\n";
const char kOutOfListTail[] = "\n\n設定値を選択し直してから、再度確定してください。";
const char kValueErrorTail[] = "\n\n他のアプリケーションからの印刷が無いことを確認し、\nプリンターの電源を再投入して下さい。";

// Appends `text` at `*length`, never past size - 1; keeps the NUL in place.
// Returns false when `text` had to be cut: nothing may follow a cut.
bool Append(char* buffer, std::size_t size, std::size_t* length, const char* text) {
    const std::size_t n = Cp932CutLength(text, size - 1 - *length);
    std::memcpy(buffer + *length, text, n);
    *length += n;
    buffer[*length] = '\0';
    return text[n] == '\0';
}

}  // namespace

std::size_t BuildMessageText(MessageCode code, const char* callerText, char* buffer, std::size_t size) {
    if (!buffer || size == 0) return 0;
    buffer[0] = '\0';
    std::size_t length = 0;
    const int item = FindSettingByValueErrorCode(code);
    if (item < 0) {
        Append(buffer, size, &length, callerText ? callerText : "");
        return length;
    }
    if (Append(buffer, size, &length, kValueErrorHead) && Append(buffer, size, &length, SettingTitle(item)))
        Append(buffer, size, &length, kValueErrorTail);
    return length;
}

std::size_t BuildOutOfListText(int item, char* buffer, std::size_t size) {
    if (!buffer || size == 0) return 0;
    buffer[0] = '\0';
    std::size_t length = 0;
    const char* title = SettingTitle(item);
    if (!title) return 0;
    if (Append(buffer, size, &length, kOutOfListHead) && Append(buffer, size, &length, title))
        Append(buffer, size, &length, kOutOfListTail);
    return length;
}
