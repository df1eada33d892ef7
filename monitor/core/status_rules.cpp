#include "monitor/core/status_rules.h"

#include <cstdio>
#include <cstring>

#include "common/cp932_text.h"

namespace {

// Room for a fallback text filled in with any int: the longest is well
// under 200 bytes.
enum { FormattedRoom = 512 };

const char kHeadNoun[] = "印字ヘッド\r\n";
const char kRibbonNoun[] = "リボン\r\n";
const char kReplaceHeadNote[] = "印字ヘッドを交換してください。\r\n";
const char kReplaceRibbonNote[] = "リボンを交換してください。\r\n";
const char kPrepareHeadNote[] = "印字ヘッド交換準備をしてください。\r\n";
const char kPrepareRibbonNote[] = "リボン交換準備をしてください。\r\n";
const char kNotesRule[] = "----------------------------------------\r\n";

// Writes into a caller's buffer, never past size - 1, always terminated, and
// cut only between characters. Once a text had to be cut, nothing more is
// written: the text would go on after a gap.
class TextWriter {
public:
    TextWriter(char* buffer, std::size_t size) : buffer_(buffer), size_(buffer ? size : 0) {
        if (size_ > 0) buffer_[0] = '\0';
        full_ = size_ == 0;
    }

    // Appends the first `limit` bytes of `text` at most (up to its NUL).
    void Append(const char* text, std::size_t limit = static_cast<std::size_t>(-1)) {
        if (full_) return;
        std::size_t n = 0;
        for (;;) {
            const std::size_t step = Cp932CharLength(text + n);
            if (step == 0 || n + step > limit) break;
            if (length_ + n + step > size_ - 1) {
                full_ = true;
                break;
            }
            n += step;
        }
        std::memcpy(buffer_ + length_, text, n);
        length_ += n;
        buffer_[length_] = '\0';
    }

    std::size_t length() const { return length_; }

private:
    char* buffer_;
    std::size_t size_;
    std::size_t length_ = 0;
    bool full_ = false;
};

// The entry's text as shown: a formatted one filled in with the code.
const char* EntryText(const StatusEntry& entry, int code, char (&room)[FormattedRoom]) {
    if (!entry.formatted) return entry.text;
    const int n = std::snprintf(room, sizeof room, entry.text, code);
    // Never expected: a text that does not fit is dropped rather than shown
    // with half a character at its end.
    if (n < 0 || static_cast<std::size_t>(n) >= sizeof room) room[0] = '\0';
    return room;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool HasNoLifeNotes(int code) { return code == 100 || (code >= 201 && code <= 204) || code == 1500; }

}  // namespace

StatusGroupId StatusGroupFor(int code) {
    if (code < 300) return StatusGroupBelow300;
    if (code <= 399) return StatusGroup300;
    if (code <= 499) return StatusGroup400;
    if (code <= 599) return StatusGroup500;
    if (code >= 700 && code <= 799) return StatusGroup700;
    if (code >= 1520 && code <= 1599) return StatusGroupLink;
    return StatusGroupSystem;
}

const StatusEntry& FindStatusEntry(int code) {
    const StatusGroup& group = StatusTableGroup(StatusGroupFor(code));
    const std::size_t fallback = group.count - 1;
    for (std::size_t row = 0; row < fallback; ++row)
        if (group.rows[row].code == code) return group.rows[row];
    return group.rows[fallback];
}

int ParseStatusCode(const char* text, std::size_t size) {
    if (!text) return 0;
    std::size_t at = 0;
    while (at < size && IsBlank(text[at])) ++at;
    bool negative = false;
    if (at < size && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    // Grows no further once past the 16-bit range, so it cannot overflow.
    long value = 0;
    for (; at < size && text[at] >= '0' && text[at] <= '9'; ++at)
        if (value <= 32768) value = value * 10 + (text[at] - '0');
    if (negative) value = -value;
    if (value > 32767) return 32767;
    if (value < -32768) return -32768;
    return static_cast<int>(value);
}

std::size_t BuildPrepareList(int headSpan, int ribbonSpan, char* buffer, std::size_t size) {
    TextWriter out(buffer, size);
    if (headSpan == LifeDueSoon) out.Append(kHeadNoun);
    if (ribbonSpan == LifeDueSoon) out.Append(kRibbonNoun);
    return out.length();
}

std::size_t BuildReplaceList(int headSpan, int ribbonSpan, char* buffer, std::size_t size) {
    TextWriter out(buffer, size);
    if (headSpan == LifeReplaceNow) out.Append(kHeadNoun);
    if (ribbonSpan == LifeReplaceNow) out.Append(kRibbonNoun);
    return out.length();
}

std::size_t BuildStatusText(int code, int headSpan, int ribbonSpan, char* buffer, std::size_t size) {
    TextWriter out(buffer, size);
    // Wear is told where the text is about something else; the wear texts
    // themselves, the start-up text and the no-answer text stand alone.
    if (!HasNoLifeNotes(code)) {
        bool noted = false;
        const auto note = [&](bool when, const char* text) {
            if (!when) return;
            out.Append(text);
            noted = true;
        };
        note(headSpan == LifeReplaceNow, kReplaceHeadNote);
        note(ribbonSpan == LifeReplaceNow, kReplaceRibbonNote);
        note(headSpan == LifeDueSoon, kPrepareHeadNote);
        note(ribbonSpan == LifeDueSoon, kPrepareRibbonNote);
        if (noted) out.Append(kNotesRule);
    }
    char room[FormattedRoom];
    out.Append(EntryText(FindStatusEntry(code), code, room));
    return out.length();
}

std::size_t BuildStatusTitle(int code, char* buffer, std::size_t size) {
    TextWriter out(buffer, size);
    switch (code) {
    case 0: out.Append("印刷可能..."); return out.length();
    case 2: out.Append("印刷中..."); return out.length();
    case 100: out.Append("情報取得中..."); return out.length();
    case 150: out.Append("ワーニング..."); return out.length();
    default: break;
    }
    char room[FormattedRoom];
    const char* text = EntryText(FindStatusEntry(code), code, room);
    // "[0300 オフライン]": past the bracket, the code's digits and the blank
    // after them. A code printed with leading blanks has no digits right
    // after the bracket, so there the blank goes and the digits stay.
    if (*text == '[') ++text;
    while (*text >= '0' && *text <= '9') ++text;
    if (*text != '\r' && *text != '\n') text += Cp932CharLength(text);
    // Up to the closing bracket, else to the end of the title line; walked
    // by characters, since ']' may be the second byte of a double-byte one.
    std::size_t n = 0;
    for (;;) {
        const char c = text[n];
        if (c == ']' || c == '\r' || c == '\n') break;
        const std::size_t step = Cp932CharLength(text + n);
        if (step == 0) break;
        n += step;
    }
    out.Append(text, n);
    return out.length();
}

bool IsErrorCode(int code) { return code >= 300; }

bool IsSevereCode(int code) {
    return (code >= 402 && code <= 404) || (code >= 406 && code <= 409) || code == 700 ||
           (code >= 702 && code <= 705) || (code >= 707 && code <= 715) || code == 1500;
}

int TrayIconFor(int code) {
    if (code == 0 || code == 2) return StatusIconReady;
    if (code == 100 || code == 150 || (code >= 201 && code <= 204)) return StatusIconInfo;
    if (code >= 300 && code <= 318) return StatusIconWarning;
    if (code == 700 || (code >= 702 && code <= 705) || (code >= 707 && code <= 715)) return StatusIconAlarm;
    return StatusIconError;
}

bool RibbonResetAllowed(int code) { return code == 0 || (code >= 201 && code <= 204); }

PopUpDecision DecidePopUp(int displayMode, int currentCode, int previousCode) {
    PopUpDecision decision = {false, false};
    if (displayMode != 2) return decision;
    decision.popUp = IsErrorCode(currentCode) && currentCode != previousCode;
    decision.minimise = !IsErrorCode(currentCode) && IsErrorCode(previousCode);
    return decision;
}

unsigned char NextFlashState(unsigned char state, bool flashEnabled, int currentCode, int previousCode,
                             bool isForeground, FlashAction* action) {
    if (!flashEnabled)
        state &= Flashing;
    else if (IsErrorCode(currentCode) && currentCode != previousCode)
        state |= FlashRequested;
    else if (!IsErrorCode(currentCode) && IsErrorCode(previousCode))
        state &= Flashing;

    FlashAction next = FlashNothing;
    if ((state == FlashRequested || state == (FlashRequested | Flashing)) && !isForeground) {
        next = FlashOnce;
        state = FlashRequested | Flashing;
    } else if (state == FlashRequested || state == (FlashRequested | Flashing) || state == Flashing) {
        // Stopped: the caption goes back to normal.
        next = FlashStop;
        state = 0;
    }
    if (action) *action = next;
    return state;
}
