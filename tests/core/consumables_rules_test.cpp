// The consumables windows' rules: wear levels at their boundaries, the
// warnings, the colours of the counts, the alarm texts, the local zeroing
// after a reset.
#include "panel/core/consumables_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

void Store(unsigned char* block, int offset, std::uint32_t value) { std::memcpy(block + offset, &value, 4); }

ConsumablesCounters WithPins(std::initializer_list<std::pair<int, std::uint32_t>> pins) {
    ConsumablesCounters c = {};
    for (const auto& pin : pins) Store(c.headPins, 4 + 4 * (pin.first - 1), pin.second);
    return c;
}

TEST(WearLevel, RibbonBoundaries) {
    EXPECT_EQ(RibbonWearLevel(0), 0);
    EXPECT_EQ(RibbonWearLevel(1), 1);  // a used ribbon never shows 0
    EXPECT_EQ(RibbonWearLevel(1499), 1);
    EXPECT_EQ(RibbonWearLevel(134999), 89);
    EXPECT_EQ(RibbonWearLevel(135000), 90);
    EXPECT_EQ(RibbonWearLevel(150000), 100);
    EXPECT_EQ(RibbonWearLevel(200000), 133);  // the gauge shows it full
    EXPECT_EQ(RibbonWearLevel(4294967295u), 2863311);
}

TEST(WearLevel, RibbonTextsAndColourFollowTheLevel) {
    EXPECT_STREQ(RibbonWearText(RibbonWearLevel(134999)), " ");
    EXPECT_FALSE(WearTextInRed(RibbonWearLevel(134999)));
    EXPECT_STREQ(RibbonWearText(RibbonWearLevel(135000)), "\nリボン交換準備をしてください。");
    EXPECT_TRUE(WearTextInRed(RibbonWearLevel(135000)));
    EXPECT_STREQ(RibbonWearText(99), "\nリボン交換準備をしてください。");
    EXPECT_STREQ(RibbonWearText(RibbonWearLevel(150000)), "\nリボン交換をしてください。");
    EXPECT_STREQ(RibbonWearText(RibbonWearLevel(200000)), "\nリボン交換をしてください。");
}

TEST(WearLevel, HeadTakesTheMostWornPinAndTheLowestOnTies) {
    HeadWear wear = HeadWearOf(WithPins({{3, 7}, {17, 540000000}, {24, 539999999}}));
    EXPECT_EQ(wear.pin, 17);
    EXPECT_EQ(wear.level, 90);
    EXPECT_STREQ(HeadWearText(wear.level), "\nヘッド交換準備をしてください。");
    EXPECT_TRUE(WearTextInRed(wear.level));

    wear = HeadWearOf(WithPins({{5, 600000000}, {2, 600000000}, {9, 600000000}}));
    EXPECT_EQ(wear.pin, 2);
    EXPECT_EQ(wear.level, 100);
    EXPECT_STREQ(HeadWearText(wear.level), "ヘッド交換をしてください。\n保守員へ連絡してください。");

    wear = HeadWearOf(WithPins({{24, 4294967295u}}));
    EXPECT_EQ(wear.pin, 24);
    EXPECT_EQ(wear.level, 715);

    wear = HeadWearOf(WithPins({{1, 539999999}}));
    EXPECT_EQ(wear.level, 89);
    EXPECT_STREQ(HeadWearText(wear.level), " ");
    EXPECT_FALSE(WearTextInRed(wear.level));
}

TEST(WearLevel, AHeadThatHasStruckShowsAtLeastOne) {
    EXPECT_EQ(HeadWearOf(WithPins({})).level, 0);
    EXPECT_EQ(HeadWearOf(WithPins({})).pin, 1);
    EXPECT_EQ(HeadWearOf(WithPins({{12, 1}})).level, 1);
    EXPECT_EQ(HeadWearOf(WithPins({{24, 5999999}})).level, 1);
    EXPECT_EQ(HeadWearOf(WithPins({{24, 6000000}})).level, 1);
    EXPECT_EQ(HeadWearOf(WithPins({{24, 12000000}})).level, 2);
}

TEST(CounterColour, RedFromNinetyTimesTheDivisor) {
    // The page's divisors, each one below and at its red threshold.
    const struct { CounterField field; std::uint32_t turnsRed; } cases[] = {
        {FieldPrintedLines, 6750000}, {FieldRibbonLife, 13500000}, {FieldPowerOnTime, 11250},
        {FieldThicknessCount, 270000}, {FieldPlatenFeeds, 6750000},
    };
    for (const auto& c : cases) {
        const CounterFieldRule& rule = CounterFieldRules()[c.field];
        ASSERT_EQ(rule.field, c.field);
        EXPECT_FALSE(CounterFieldRed(c.turnsRed - 1, rule.divisor)) << c.field;
        EXPECT_TRUE(CounterFieldRed(c.turnsRed, rule.divisor)) << c.field;
        EXPECT_TRUE(CounterFieldRed(4294967295u, rule.divisor)) << c.field;
    }
    // The ribbon's page divisor is not the gauge's: 200,000 is a full gauge on cyan.
    EXPECT_FALSE(CounterFieldRed(200000, CounterFieldRules()[FieldRibbonLife].divisor));
    EXPECT_FALSE(HeadPinRed(539999999));
    EXPECT_TRUE(HeadPinRed(540000000));
    EXPECT_FALSE(CounterFieldRed(5, 0));
}

TEST(CounterReset, EachButtonClearsItsOwnCountOnly) {
    ConsumablesCounters c = {};
    for (int f = 0; f < CounterFieldCount; ++f) Store(CounterBlock(c, CounterField(f)), 4, 1000 + f);
    for (int pin = 1; pin <= HeadPinCount; ++pin) Store(c.headPins, 4 + 4 * (pin - 1), pin);

    int resets = 0;
    for (int f = 0; f < CounterFieldCount; ++f) {
        const CounterFieldRule& rule = CounterFieldRules()[f];
        if (!rule.clearButton) continue;  // the printed lines have no reset
        ++resets;
        ASSERT_EQ(FindCounterRuleByButton(rule.clearButton), &rule);
        ConsumablesCounters after = c;
        ZeroAfterReset(after, rule.reset);
        for (int g = 0; g < CounterFieldCount; ++g)
            EXPECT_EQ(CounterFieldValue(after, CounterField(g)), g == f ? 0u : 1000u + g) << f << " " << g;
        EXPECT_EQ(std::memcmp(after.headPins, c.headPins, sizeof c.headPins), 0);
    }
    EXPECT_EQ(resets, 4);
    EXPECT_EQ(FindCounterRuleByButton(0), nullptr);

    ConsumablesCounters after = c;
    ZeroAfterReset(after, ResetHeadPinCounter);
    for (int pin = 1; pin <= HeadPinCount; ++pin) EXPECT_EQ(HeadPinValue(after, pin), 0u);
    EXPECT_EQ(after.headPins[0], c.headPins[0]);  // the record's header stays
    for (int g = 0; g < CounterFieldCount; ++g) EXPECT_EQ(CounterFieldValue(after, CounterField(g)), 1000u + g);
}

TEST(DetailPages, ButtonsInTabOrderPerPage) {
    int ids[DetailPageButtonsMax] = {};
    ASSERT_EQ(DetailPageButtons(DetailCountersPage, ids, DetailPageButtonsMax), 4);
    EXPECT_EQ(ids[0], 1217);  // ribbon life first, platen line feeds last
    EXPECT_EQ(ids[1], 1218);
    EXPECT_EQ(ids[2], 1219);
    EXPECT_EQ(ids[3], 1220);
    ASSERT_EQ(DetailPageButtons(DetailHeadPinPage, ids, DetailPageButtonsMax), 1);
    EXPECT_EQ(ids[0], 1221);
    EXPECT_EQ(DetailPageButtons(DetailPageCount, ids, DetailPageButtonsMax), 0);
    EXPECT_EQ(DetailPageButtons(-1, ids, DetailPageButtonsMax), 0);
    // A short list takes what fits, never more.
    int two[3] = {0, 0, -7};
    EXPECT_EQ(DetailPageButtons(DetailCountersPage, two, 2), 2);
    EXPECT_EQ(two[1], 1218);
    EXPECT_EQ(two[2], -7);
    EXPECT_EQ(DetailPageButtons(DetailCountersPage, nullptr, 4), 0);
}

TEST(AlarmText, CodesAndTheirNames) {
    EXPECT_STREQ(AlarmText(0x00), "エラー無し");
    EXPECT_STREQ(AlarmText(0x3F), "未定義エラー");
    EXPECT_STREQ(AlarmText(0x40), "ASFモータ異常");
    EXPECT_STREQ(AlarmText(0x47), "SPモータ異常");
    EXPECT_STREQ(AlarmText(0x48), "未定義エラー");
    EXPECT_STREQ(AlarmText(0x50), "ROM/RAMアラーム");
    EXPECT_STREQ(AlarmText(0x55), "LRESアラーム");
    EXPECT_STREQ(AlarmText(0x56), "ファンアラーム");
    EXPECT_STREQ(AlarmText(0x57), "ファンアラーム");
    EXPECT_STREQ(AlarmText(0x58), "未定義エラー");
    EXPECT_STREQ(AlarmText(0xFF), "未定義エラー");
}

TEST(AlarmHistory, SevenLinesHistoryOneFirst) {
    ConsumablesCounters c = {};
    const unsigned char codes[7] = {0x41, 0x00, 0x48, 0x58, 0x3F, 0x52, 0xFF};
    std::memcpy(c.alarmHistory + 4, codes, 7);
    char text[512];
    const std::size_t n = BuildAlarmHistoryText(c, text, sizeof text);
    EXPECT_EQ(n, std::strlen(text));
    EXPECT_EQ(std::string(text),
              "エラーログ\r\n"
              " ｱﾗｰﾑ履歴1 リボンモータ異常\r\n"
              " ｱﾗｰﾑ履歴2 エラー無し\r\n"
              " ｱﾗｰﾑ履歴3 未定義エラー\r\n"
              " ｱﾗｰﾑ履歴4 未定義エラー\r\n"
              " ｱﾗｰﾑ履歴5 未定義エラー\r\n"
              " ｱﾗｰﾑ履歴6 イージーセットアラーム\r\n"
              " ｱﾗｰﾑ履歴7 未定義エラー\r\n");
}

TEST(AlarmHistory, AShortBufferEndsOnAWholeCharacter) {
    ConsumablesCounters c = {};
    char full[512];
    const std::size_t whole = BuildAlarmHistoryText(c, full, sizeof full);
    for (std::size_t size = 1; size <= whole + 1; ++size) {
        std::string buffer(size + 8, '#');
        const std::size_t n = BuildAlarmHistoryText(c, &buffer[0], size);
        ASSERT_LT(n, size);
        EXPECT_EQ(buffer[n], '\0');
        EXPECT_EQ(buffer[size], '#') << "wrote past " << size;
        EXPECT_EQ(std::string(buffer.c_str()), std::string(full, n));
        // The cut never leaves a lead byte without its trail byte.
        std::size_t at = 0;
        while (at < n) {
            const unsigned char b = static_cast<unsigned char>(buffer[at]);
            at += ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) ? 2 : 1;
        }
        EXPECT_EQ(at, n) << size;
    }
    EXPECT_EQ(BuildAlarmHistoryText(c, nullptr, 10), 0u);
}

}  // namespace
