// What the status monitor shows for a status code: the status table with its
// group search and fallbacks, the status text with the life notes, the
// short title (tray tip), the icons, which codes are severe, and when the
// window pops up or flashes. Portable: no platform headers. All texts are
// code page 932 bytes.
#pragma once

#include <cstddef>
#include <cstdint>

// Icon resources of the status monitor.
enum StatusIcon {
    StatusIconReady = 199,    // printable, printing
    StatusIconInfo = 211,     // information, wear warnings
    StatusIconWarning = 212,  // offline, paper, operator action
    StatusIconError = 213,    // errors, fallbacks
    StatusIconAlarm = 226,    // hardware alarms
};

struct StatusEntry {
    std::int16_t code;   // 9999: the fallback row of a group
    std::uint16_t icon;  // StatusIcon
    bool formatted;      // the text holds one printf conversion for the code
    bool ignored;        // the code leaves the display as it is
    const char* text;    // title line, then description lines joined by "\r\n"
};

// The entry that `code` selects: its row in the group of the code's range,
// or that group's fallback. Never null.
const StatusEntry& FindStatusEntry(int code);

// The table as it is stored, one group per code range, each group's rows
// searched in order and ending in its fallback row (code 9999):
//   below 300 (negative codes too)  0, 2, 100, 201 to 204
//   300 to 399                      300 to 318 (no row for 304)
//   400 to 499                      400 to 409
//   500 to 599                      500
//   700 to 799                      700 to 715
//   1520 to 1599                    none: the fallback at once
//   any other code                  1500, 1900
enum StatusGroupId {
    StatusGroupBelow300,
    StatusGroup300,
    StatusGroup400,
    StatusGroup500,
    StatusGroup700,
    StatusGroupLink,
    StatusGroupSystem,
    StatusGroupCount
};
struct StatusGroup {
    const StatusEntry* rows;
    std::size_t count;  // the fallback row included, always last
};
// The group searched for `code`.
StatusGroupId StatusGroupFor(int code);
// A group of the table; an id out of range gives StatusGroupSystem.
const StatusGroup& StatusTableGroup(int group);

// The status code in ERR_CODE's text: its leading decimal digits (after
// optional blanks and a sign, as the C library reads numbers); a text
// without digits counts as 0. Bounded: never reads past `size` bytes and
// stops at a NUL. Values beyond 16 bits are clamped to the int16 range.
int ParseStatusCode(const char* text, std::size_t size);

// HEAD_SPAN / RIBBON_SPAN coding.
enum { LifeDueSoon = 90, LifeReplaceNow = 100 };

// Edit 1039 ("交換準備") and 1040 ("交換時期"): "印字ヘッド\r\n" for the head,
// then "リボン\r\n" for the ribbon, each when its span is 90 (prepare) or 100
// (replace). Terminated and cut like the status text; return the length.
std::size_t BuildPrepareList(int headSpan, int ribbonSpan, char* buffer, std::size_t size);
std::size_t BuildReplaceList(int headSpan, int ribbonSpan, char* buffer, std::size_t size);

// The whole status text of `code`: the life notes and their rule where they
// apply, then the entry's text (a formatted one filled in with the code).
// Always NUL-terminated, cut at `size` without splitting a double-byte
// character; returns the length written.
std::size_t BuildStatusText(int code, int headSpan, int ribbonSpan, char* buffer, std::size_t size);

// The short title of `code` (the tray tip): fixed texts for 0, 2, 100 and
// 150, otherwise taken from the title line of the entry's own text (filled
// in with the code): past the bracket, the digits after it and one more
// character, up to the closing bracket or the end of the line. So code 600,
// printed "[ 600 システムエラー]", gets "600 システムエラー". Terminated and
// cut like the status text; returns the length.
std::size_t BuildStatusTitle(int code, char* buffer, std::size_t size);

// A status code of 300 or more is an error: the window pops up and flashes
// for it, and shows itself at start when the display mode says so.
bool IsErrorCode(int code);
// Severe codes disable OK and make "印刷中止" the default button.
bool IsSevereCode(int code);
// The tray icon for the current code.
int TrayIconFor(int code);
// The ribbon reset button is enabled for these codes only.
bool RibbonResetAllowed(int code);

// What one timer tick decides from the display mode and the two codes.
struct PopUpDecision {
    bool popUp;     // a new error: show the window
    bool minimise;  // the error went away: back to the tray
};
PopUpDecision DecidePopUp(int displayMode, int currentCode, int previousCode);

// The flash state byte: FlashRequested (0x01) and Flashing (0x10).
enum { FlashRequested = 0x01, Flashing = 0x10 };
enum FlashAction { FlashNothing, FlashOnce, FlashStop };
// The next state and what to do with the caption this tick.
unsigned char NextFlashState(unsigned char state, bool flashEnabled, int currentCode, int previousCode,
                             bool isForeground, FlashAction* action);
