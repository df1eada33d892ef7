#include "panel/core/consumables_rules.h"

#include <cstdio>
#include <cstring>

#include "common/cp932_text.h"
#include "panel/core/consumables_texts.h"
#include "panel/resources/resource.h"

namespace {

// Every counter block holds its data from its fifth byte on.
const int kDataOffset = 4;

const CounterFieldRule kCounterRules[CounterFieldCount] = {
    {FieldPrintedLines, IDC_PRINTED_LINES, 0, WriteKind(0), 75000},
    {FieldRibbonLife, IDC_RIBBON_LIFE, IDC_CLEAR_RIBBON, ResetRibbonLife, 150000},
    {FieldPowerOnTime, IDC_POWER_ON_TIME, IDC_CLEAR_POWER_ON, ResetPowerOnTime, 125},
    {FieldThicknessCount, IDC_THICKNESS_COUNT, IDC_CLEAR_THICKNESS, ResetThicknessCount, 3000},
    {FieldPlatenFeeds, IDC_PLATEN_FEEDS, IDC_CLEAR_PLATEN, ResetPlatenFeedCount, 75000},
};

const unsigned char* ConstBlock(const ConsumablesCounters& c, CounterField field) {
    switch (field) {
        case FieldPrintedLines: return c.printedLines;
        case FieldRibbonLife: return c.ribbonLife;
        case FieldPowerOnTime: return c.powerOnTime;
        case FieldThicknessCount: return c.thicknessCount;
        case FieldPlatenFeeds: return c.platenFeeds;
        default: return nullptr;
    }
}

void StoreZero(unsigned char* block, int offset) { std::memset(block + offset, 0, 4); }

const char* WearText(int level, const char* prepare, const char* replace) {
    if (level >= WearReplaceLevel) return replace;
    if (level >= WearWarningLevel) return prepare;
    return NoWearText;
}

}  // namespace

std::uint32_t HeadPinValue(const ConsumablesCounters& counters, int pin) {
    if (pin < 1 || pin > HeadPinCount) return 0;
    return CounterValue(counters.headPins, kDataOffset + 4 * (pin - 1));
}

HeadWear HeadWearOf(const ConsumablesCounters& counters) {
    HeadWear wear = {1, HeadPinValue(counters, 1), 0};
    for (int pin = 2; pin <= HeadPinCount; ++pin) {
        const std::uint32_t count = HeadPinValue(counters, pin);
        if (count > wear.count) wear = {pin, count, 0};
    }
    wear.level = static_cast<int>(wear.count / HeadWearDivisor);
    if (wear.level == 0 && wear.count != 0) wear.level = 1;
    return wear;
}

int RibbonWearLevel(std::uint32_t ribbonCount) {
    const int level = static_cast<int>(ribbonCount / RibbonWearDivisor);
    return level == 0 && ribbonCount != 0 ? 1 : level;
}

const char* HeadWearText(int level) { return WearText(level, HeadPrepareText, HeadReplaceText); }
const char* RibbonWearText(int level) { return WearText(level, RibbonPrepareText, RibbonReplaceText); }

std::uint32_t AlarmCode(const ConsumablesCounters& counters, int entry) {
    if (entry < 1 || entry > AlarmHistoryCount) return 0;
    return counters.alarmHistory[kDataOffset + entry - 1];
}

const CounterFieldRule* CounterFieldRules() { return kCounterRules; }

const CounterFieldRule* FindCounterRuleByButton(int clearButton) {
    if (clearButton == 0) return nullptr;
    for (const CounterFieldRule& rule : kCounterRules)
        if (rule.clearButton == clearButton) return &rule;
    return nullptr;
}

unsigned char* CounterBlock(ConsumablesCounters& counters, CounterField field) {
    return const_cast<unsigned char*>(ConstBlock(counters, field));
}

std::uint32_t CounterFieldValue(const ConsumablesCounters& counters, CounterField field) {
    const unsigned char* block = ConstBlock(counters, field);
    return block ? CounterValue(block, kDataOffset) : 0;
}

int DetailPageButtons(int page, int* ids, int capacity) {
    int count = 0;
    if (!ids || capacity <= 0) return 0;
    if (page == DetailHeadPinPage) {
        ids[count++] = IDC_CLEAR_HEAD_PINS;
    } else if (page == DetailCountersPage) {
        for (const CounterFieldRule& rule : kCounterRules)
            if (rule.clearButton != 0 && count < capacity) ids[count++] = rule.clearButton;
    }
    return count;
}

bool CounterFieldRed(std::uint32_t count, std::uint32_t divisor) {
    return divisor != 0 && count / divisor >= static_cast<std::uint32_t>(WearWarningLevel);
}

void ZeroAfterReset(ConsumablesCounters& counters, WriteKind reset) {
    if (reset == ResetHeadPinCounter) {
        for (int pin = 0; pin < HeadPinCount; ++pin) StoreZero(counters.headPins, kDataOffset + 4 * pin);
        return;
    }
    for (const CounterFieldRule& rule : kCounterRules)
        if (rule.clearButton != 0 && rule.reset == reset) StoreZero(CounterBlock(counters, rule.field), kDataOffset);
}

const char* AlarmText(std::uint32_t code) {
    if (code == 0) return NoAlarmText;
    if (code >= FirstAlarmCode && code <= LastAlarmCode) return AlarmTexts[code - FirstAlarmCode];
    return UndefinedAlarmText;
}

std::size_t BuildAlarmHistoryText(const ConsumablesCounters& counters, char* buffer, std::size_t size) {
    if (!buffer || size == 0) return 0;
    std::size_t used = 0;
    bool cut = false;
    // Piece by piece, cut where a character ends, so that a short buffer
    // holds a whole-character start of the text and nothing after the cut.
    auto append = [&](const char* text) {
        if (cut) return;
        const std::size_t length = Cp932CutLength(text, size - 1 - used);
        std::memcpy(buffer + used, text, length);
        used += length;
        cut = text[length] != '\0';
    };
    append(AlarmHistoryHeading);
    for (int entry = 1; entry <= AlarmHistoryCount; ++entry) {
        char number[8];
        std::snprintf(number, sizeof number, "%d ", entry);
        append(AlarmHistoryLabel);
        append(number);
        append(AlarmText(AlarmCode(counters, entry)));
        append("\r\n");
    }
    buffer[used] = '\0';
    return used;
}
