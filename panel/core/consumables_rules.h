// What the consumables windows make of the counters: the two wear levels and
// their warnings, the colour of each count, the alarm texts. Portable: the
// windows only carry the results onto the screen.
#pragma once

#include <cstddef>
#include <cstdint>

#include "panel/core/conversation.h"
#include "panel/core/counters.h"

enum {
    HeadPinCount = 24,
    AlarmHistoryCount = 7,
    WearWarningLevel = 90,   // from here the warning is shown in red
    WearReplaceLevel = 100,
    HeadWearDivisor = 6000000,
    RibbonWearDivisor = 1500,
};

// The most worn pin (1-24; the lowest number on equal counts) and the head's
// wear level: its count / 6,000,000. A head that has struck at all shows at
// least 1, as the ribbon does, so that a gauge at 0 means an unused head.
struct HeadWear {
    int pin;
    std::uint32_t count;
    int level;
};
HeadWear HeadWearOf(const ConsumablesCounters& counters);

// Ribbon count / 1,500, at least 1 for a non-zero count. Above 100 is
// returned as it is (a gauge shows it full).
int RibbonWearLevel(std::uint32_t ribbonCount);

// The warning under each gauge: " " below 90, the prepare text to 99, the
// replace text from 100.
const char* HeadWearText(int level);
const char* RibbonWearText(int level);
inline bool WearTextInRed(int level) { return level >= WearWarningLevel; }

// Counts as stored in the blocks (host order after a complete answer).
std::uint32_t HeadPinValue(const ConsumablesCounters& counters, int pin);  // 0 outside 1-24
std::uint32_t AlarmCode(const ConsumablesCounters& counters, int entry);   // entry 1-7, else 0

// The five counts of the counters page, in the order of the page's table.
enum CounterField {
    FieldPrintedLines,
    FieldRibbonLife,
    FieldPowerOnTime,
    FieldThicknessCount,
    FieldPlatenFeeds,
    CounterFieldCount
};

struct CounterFieldRule {
    CounterField field;
    int valueControl;   // where the count is shown
    int clearButton;    // 0: no reset (the printed lines)
    WriteKind reset;    // sent by the clear button
    std::uint32_t divisor;  // count / divisor of 90 or more paints the field red
};

// One row per count, FieldPrintedLines first.
const CounterFieldRule* CounterFieldRules();
const CounterFieldRule* FindCounterRuleByButton(int clearButton);

// The block that holds a field's count (every one holds it at offset 4).
unsigned char* CounterBlock(ConsumablesCounters& counters, CounterField field);
std::uint32_t CounterFieldValue(const ConsumablesCounters& counters, CounterField field);

// The detail window's two pages and their buttons in tab order: the
// counters page's clear buttons in the order of its rows, the head pin
// page's one. The tooltips and the Tab key both take them from here.
enum DetailPageIndex { DetailCountersPage, DetailHeadPinPage, DetailPageCount };
enum { DetailPageButtonsMax = CounterFieldCount };
// Writes at most `capacity` ids into `ids`; returns how many were written
// (0 for a page that does not exist).
int DetailPageButtons(int page, int* ids, int capacity);

// Red (true) or cyan background of a count on the pages.
bool CounterFieldRed(std::uint32_t count, std::uint32_t divisor);
inline bool HeadPinRed(std::uint32_t count) { return CounterFieldRed(count, HeadWearDivisor); }

// After the printer accepted a reset: the count it cleared is 0 here too
// (all 24 pins for the head); no read follows.
void ZeroAfterReset(ConsumablesCounters& counters, WriteKind reset);

// The text of one alarm code ("エラー無し" only for 00).
const char* AlarmText(std::uint32_t code);

// "エラーログ\r\n" and the seven lines " ｱﾗｰﾑ履歴%d <text>\r\n" into `buffer`,
// always NUL-terminated and cut at `size`. Returns the length written.
std::size_t BuildAlarmHistoryText(const ConsumablesCounters& counters, char* buffer, std::size_t size);
