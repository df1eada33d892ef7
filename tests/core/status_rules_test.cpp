// The status monitor's table, texts, titles, icons and tick decisions. The
// literals here are code page 932 bytes, as in the program.
#include "monitor/core/status_rules.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

const std::string kRule = std::string(40, '-') + "\r\n";
const std::string kReplaceHead = "印字ヘッドを交換してください。\r\n";
const std::string kReplaceRibbon = "リボンを交換してください。\r\n";
const std::string kPrepareHead = "印字ヘッド交換準備をしてください。\r\n";
const std::string kPrepareRibbon = "リボン交換準備をしてください。\r\n";
const std::string kPrinterFault123 =
    "[0123 プリンター異常]\r\nプリンターで異常が発生しました。\r\nプリンターの状態を確認してください。";

std::string Text(int code, int headSpan = 0, int ribbonSpan = 0) {
    char buffer[4096];
    const std::size_t n = BuildStatusText(code, headSpan, ribbonSpan, buffer, sizeof buffer);
    EXPECT_EQ(n, std::strlen(buffer)) << code;
    return buffer;
}

std::string Title(int code) {
    char buffer[512];
    const std::size_t n = BuildStatusTitle(code, buffer, sizeof buffer);
    EXPECT_EQ(n, std::strlen(buffer)) << code;
    return buffer;
}

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// True when `text` walks as whole code page 932 characters to its end.
bool WholeCharacters(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size()) at += IsLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
    return at == text.size();
}

// The text as the user sees it: a fallback filled in with its own code.
std::string Shown(const StatusEntry& entry) {
    if (!entry.formatted) return entry.text;
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, entry.text, entry.code);
    return buffer;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n", from);
        lines.push_back(text.substr(from, end == std::string::npos ? std::string::npos : end - from));
        if (end == std::string::npos) return lines;
        from = end + 2;
    }
}

std::vector<const StatusEntry*> AllRows() {
    std::vector<const StatusEntry*> rows;
    for (int group = 0; group < StatusGroupCount; ++group) {
        const StatusGroup& g = StatusTableGroup(group);
        for (std::size_t row = 0; row < g.count; ++row) rows.push_back(&g.rows[row]);
    }
    return rows;
}

bool StartsWith(const std::string& text, const std::string& head) { return text.compare(0, head.size(), head) == 0; }

// The last character of `text`, walked from its start.
std::string LastCharacter(const std::string& text) {
    std::size_t at = 0, last = 0;
    while (at < text.size()) {
        last = at;
        at += IsLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
    }
    return text.substr(last);
}

std::string Code4(int code) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04d", code);
    return digits;
}

// ---- the table and its groups ---------------------------------------------

TEST(StatusTable, EveryGroupEndsInItsFallbackAndOnlyThere) {
    for (int group = 0; group < StatusGroupCount; ++group) {
        const StatusGroup& g = StatusTableGroup(group);
        ASSERT_GE(g.count, 1u) << group;
        const StatusEntry& fallback = g.rows[g.count - 1];
        EXPECT_EQ(fallback.code, 9999) << group;
        EXPECT_TRUE(fallback.formatted) << group;
        EXPECT_FALSE(fallback.ignored) << group;
        EXPECT_EQ(fallback.icon, StatusIconError) << group;
        for (std::size_t row = 0; row + 1 < g.count; ++row) {
            EXPECT_NE(g.rows[row].code, 9999) << group;
            // Only 304 borrows a fallback's formatted text (it has none of its own).
            EXPECT_EQ(g.rows[row].formatted, g.rows[row].code == 304) << g.rows[row].code;
        }
    }
    EXPECT_EQ(StatusTableGroup(StatusGroupLink).count, 1u);
    EXPECT_EQ(&StatusTableGroup(-1), &StatusTableGroup(StatusGroupSystem));
    EXPECT_EQ(&StatusTableGroup(StatusGroupCount), &StatusTableGroup(StatusGroupSystem));
}

TEST(StatusTable, EveryRowIsFoundByItsOwnCodeInItsOwnGroup) {
    for (int group = 0; group < StatusGroupCount; ++group) {
        const StatusGroup& g = StatusTableGroup(group);
        for (std::size_t row = 0; row + 1 < g.count; ++row) {
            const StatusEntry& entry = g.rows[row];
            EXPECT_EQ(StatusGroupFor(entry.code), group) << entry.code;
            EXPECT_EQ(&FindStatusEntry(entry.code), &entry) << entry.code;
        }
    }
}

TEST(StatusTable, CodeRangesChooseTheirGroups) {
    const struct {
        int code;
        StatusGroupId group;
    } cases[] = {
        {-32768, StatusGroupBelow300}, {-1, StatusGroupBelow300}, {0, StatusGroupBelow300},
        {299, StatusGroupBelow300},    {300, StatusGroup300},     {399, StatusGroup300},
        {400, StatusGroup400},         {499, StatusGroup400},     {500, StatusGroup500},
        {599, StatusGroup500},         {600, StatusGroupSystem},  {699, StatusGroupSystem},
        {700, StatusGroup700},         {799, StatusGroup700},     {800, StatusGroupSystem},
        {1519, StatusGroupSystem},     {1520, StatusGroupLink},   {1599, StatusGroupLink},
        {1600, StatusGroupSystem},     {9999, StatusGroupSystem}, {32767, StatusGroupSystem},
    };
    for (const auto& c : cases) EXPECT_EQ(StatusGroupFor(c.code), c.group) << c.code;
}

// Every code finds its own row or, when its group has none, the group's
// fallback; never a row of another code.
TEST(StatusTable, CodesWithoutARowFindTheirGroupsFallback) {
    for (int code = -33000; code <= 33000; ++code) {
        const StatusEntry& entry = FindStatusEntry(code);
        const StatusGroup& group = StatusTableGroup(StatusGroupFor(code));
        if (entry.code == code && code != 9999) continue;
        ASSERT_EQ(&entry, &group.rows[group.count - 1]) << code;
        for (std::size_t row = 0; row + 1 < group.count; ++row) ASSERT_NE(group.rows[row].code, code);
    }
}

TEST(StatusTable, NegativeCodesShowThePrinterFault) {
    const StatusGroup& low = StatusTableGroup(StatusGroupBelow300);
    for (int code : {-1, -5, -300, -32768}) EXPECT_EQ(&FindStatusEntry(code), &low.rows[low.count - 1]) << code;
    EXPECT_TRUE(StartsWith(Text(-5), "[-005 プリンター異常]\r\n"));
    // The title rule skips the bracket, finds no digits and drops the sign.
    EXPECT_EQ(Title(-5), "005 プリンター異常");
}

TEST(StatusTable, NineThousandNineHundredNinetyNineIsTheSystemFallback) {
    const StatusGroup& system = StatusTableGroup(StatusGroupSystem);
    EXPECT_EQ(&FindStatusEntry(9999), &system.rows[system.count - 1]);
    EXPECT_EQ(Text(9999),
              "[9999 システムエラー]\r\nシステムエラーが発生しました。\r\n"
              "いったん印刷を終了し、再度印刷を行ってください。");
    EXPECT_EQ(Title(9999), "システムエラー");
}

// 304 has no text of its own; the printer fault names the code as it is,
// with the icon of its group.
TEST(StatusTable, Code304ShowsThePrinterFaultWithItsOwnCode) {
    const StatusEntry& entry = FindStatusEntry(304);
    EXPECT_EQ(entry.code, 304);
    EXPECT_EQ(entry.icon, StatusIconWarning);
    EXPECT_FALSE(entry.ignored);
    EXPECT_TRUE(StartsWith(Text(304), "[0304 プリンター異常]\r\n"));
    EXPECT_EQ(Title(304), "プリンター異常");
    EXPECT_EQ(TrayIconFor(304), StatusIconWarning);
    EXPECT_EQ(FindStatusEntry(305).code, 305);
}

// ---- the layout of every text -----------------------------------------------

TEST(StatusTexts, OnlyFallbacksHoldOneConversionForTheCode) {
    for (const StatusEntry* entry : AllRows()) {
        const std::string text = entry->text;
        if (!entry->formatted) {
            EXPECT_EQ(text.find('%'), std::string::npos) << entry->code;
            continue;
        }
        const std::size_t at = text.find('%');
        ASSERT_NE(at, std::string::npos);
        EXPECT_TRUE(text.compare(at, 4, "%04d") == 0 || text.compare(at, 3, "%4d") == 0) << text;
        EXPECT_EQ(text.find('%', at + 1), std::string::npos) << text;
        EXPECT_EQ(at, 1u) << text;
    }
}

TEST(StatusTexts, TheTitleLineNamesTheRowsOwnCode) {
    for (const StatusEntry* entry : AllRows()) {
        const std::vector<std::string> lines = Lines(Shown(*entry));
        const std::string& title = lines[0];
        ASSERT_GE(title.size(), 3u) << entry->code;
        EXPECT_EQ(title.front(), '[') << entry->code;
        EXPECT_EQ(title.back(), ']') << entry->code;
        if (entry->code == 100) {
            EXPECT_EQ(title, "[情報取得中]");
            continue;
        }
        EXPECT_EQ(title.substr(0, 6), "[" + Code4(entry->code) + " ") << title;
        EXPECT_GT(title.size(), 7u) << title;
    }
}

TEST(StatusTexts, EveryLineKeepsTheLayout) {
    for (const StatusEntry* entry : AllRows()) {
        const std::string text = Shown(*entry);
        SCOPED_TRACE(text);
        EXPECT_TRUE(WholeCharacters(text));
        for (std::size_t i = 0; i < text.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(text[i]);
            if (IsLeadByte(c)) {
                ++i;
                continue;
            }
            EXPECT_TRUE(c >= 0x20 || c == '\r' || c == '\n') << "control byte at " << i;
            if (c == '\r') {
                EXPECT_EQ(text[i + 1], '\n') << "\\r alone at " << i;
            }
            if (c == '\n') {
                EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "\\n alone at " << i;
            }
        }
        const std::vector<std::string> lines = Lines(text);
        bool inBullet = false;
        for (std::size_t n = 0; n < lines.size(); ++n) {
            const std::string& line = lines[n];
            EXPECT_LE(line.size(), 48u) << line;
            if (line.empty()) {
                // Only as a spacer between lines, never at the end.
                EXPECT_LT(n + 1, lines.size());
                inBullet = false;
                continue;
            }
            EXPECT_NE(LastCharacter(line), " ") << line;
            EXPECT_NE(LastCharacter(line), "　") << line;
            std::size_t blanks = 0;
            while (blanks < line.size() && line[blanks] == ' ') ++blanks;
            if (blanks == 0) {
                inBullet = false;
                continue;
            }
            // Four blanks indent a continuation; an item marked "・" inside a
            // step continues two blanks further in.
            if (blanks == 6) {
                EXPECT_TRUE(inBullet) << line;
            } else {
                EXPECT_EQ(blanks, 4u) << line;
            }
            if (line.compare(0, 6, "    ・") == 0) inBullet = true;
        }
    }
}

// Steps are numbered １．, ２．, ... in order, under "《操作手順》".
TEST(StatusTexts, StepsAreNumberedInOrderUnderTheirHeading) {
    const char* const digits[] = {"１．", "２．", "３．", "４．", "５．", "６．", "７．", "８．", "９．"};
    int texts = 0;
    for (const StatusEntry* entry : AllRows()) {
        const std::vector<std::string> lines = Lines(Shown(*entry));
        int next = 0;
        bool heading = false;
        for (const std::string& line : lines) {
            if (line == "《操作手順》") {
                EXPECT_FALSE(heading) << entry->code;
                EXPECT_EQ(next, 0) << entry->code;
                heading = true;
            }
            for (int d = 0; d < 9; ++d) {
                if (line.compare(0, 4, digits[d]) != 0) continue;
                EXPECT_TRUE(heading) << entry->code;
                EXPECT_EQ(d, next) << entry->code << ": " << line;
                next = d + 1;
            }
        }
        if (heading) {
            EXPECT_GE(next, 1) << entry->code;
            ++texts;
        }
    }
    EXPECT_GT(texts, 30);
}

TEST(StatusTexts, ReservedRowsAreTitlesAloneAndIgnored) {
    int reserved = 0;
    for (const StatusEntry* entry : AllRows()) {
        const std::string text = Shown(*entry);
        const bool isReserved = text == "[" + Code4(entry->code) + " リザーブ]";
        if (text.find("リザーブ") != std::string::npos) {
            EXPECT_TRUE(isReserved) << text;
        }
        if (isReserved) {
            ++reserved;
            EXPECT_TRUE(entry->ignored) << entry->code;
        }
    }
    EXPECT_EQ(reserved, 5);
}

// Besides the reserved rows only "用紙カット待ち" keeps the display as it is.
TEST(StatusTexts, OffPaperCutAfterOfflineIsIgnored) {
    EXPECT_TRUE(FindStatusEntry(315).ignored);
    EXPECT_FALSE(FindStatusEntry(300).ignored);
    EXPECT_EQ(Title(315), "用紙カット待ち");
    int ignored = 0;
    for (const StatusEntry* entry : AllRows()) ignored += entry->ignored;
    EXPECT_EQ(ignored, 6);
}

// A row shows the icon that the tray shows for its code.
TEST(StatusTexts, RowIconsAgreeWithTheTrayIcon) {
    for (const StatusEntry* entry : AllRows()) {
        if (entry->code == 9999 || entry->ignored) continue;
        EXPECT_EQ(entry->icon, TrayIconFor(entry->code)) << entry->code;
    }
}

// Severe codes have rows that say what to do, with an error or alarm icon.
TEST(StatusTexts, SevereCodesHaveTextsOfTheirOwn) {
    for (int code = -1000; code <= 2000; ++code) {
        if (!IsSevereCode(code)) continue;
        const StatusEntry& entry = FindStatusEntry(code);
        EXPECT_EQ(entry.code, code);
        EXPECT_FALSE(entry.ignored) << code;
        EXPECT_TRUE(entry.icon == StatusIconError || entry.icon == StatusIconAlarm) << code;
        EXPECT_NE(std::string(entry.text).find("《操作手順》"), std::string::npos) << code;
    }
}

// ---- the edge cases of the display -----------------------------------------

TEST(StatusEdgeCases, LinkFailuresShowTheFilledInCommunicationError) {
    const StatusEntry& entry = FindStatusEntry(1550);
    EXPECT_EQ(entry.icon, StatusIconError);
    EXPECT_TRUE(entry.formatted);
    EXPECT_EQ(Text(1550),
              "[1550 通信エラー]\r\nプリンターとの通信が異常となりました。\r\n"
              "プリンターの電源を再投入してください。");
    EXPECT_EQ(Title(1550), "通信エラー");
    for (int code = 1520; code <= 1599; ++code) EXPECT_EQ(&FindStatusEntry(code), &entry) << code;
    EXPECT_NE(&FindStatusEntry(1519), &entry);
    EXPECT_NE(&FindStatusEntry(1600), &entry);
}

TEST(StatusEdgeCases, Code600ShowsTheSystemErrorWithABlankBeforeItsDigits) {
    EXPECT_EQ(FindStatusEntry(600).icon, StatusIconError);
    EXPECT_EQ(Text(600),
              "[ 600 システムエラー]\r\nシステムエラーが発生しました。\r\n"
              "いったん印刷を終了し、再度印刷を行ってください。");
    EXPECT_EQ(Title(600), "600 システムエラー");
    EXPECT_EQ(Title(1501), "システムエラー");
}

TEST(StatusEdgeCases, Code123ShowsThePrinterFaultFilledIn) {
    EXPECT_EQ(FindStatusEntry(123).icon, StatusIconError);
    EXPECT_EQ(Text(123), kPrinterFault123);
    EXPECT_EQ(TrayIconFor(123), StatusIconError);
    EXPECT_EQ(Title(123), "プリンター異常");
}

TEST(StatusEdgeCases, Code150ShowsThePrinterFaultWithTheInformationIcon) {
    EXPECT_TRUE(StartsWith(Text(150), "[0150 プリンター異常]\r\n"));
    EXPECT_EQ(FindStatusEntry(150).icon, StatusIconError);
    EXPECT_EQ(TrayIconFor(150), StatusIconInfo);
    EXPECT_EQ(Title(150), "ワーニング...");
}

TEST(StatusEdgeCases, WearTextsAndTheStartUpTextsCarryNoNotes) {
    for (int code : {100, 201, 202, 203, 204, 1500})
        for (int span : {90, 100}) {
            EXPECT_EQ(Text(code, span, span), Text(code)) << code;
            EXPECT_EQ(Text(code, span, span).find(kRule), std::string::npos) << code;
        }
    EXPECT_TRUE(StartsWith(Text(201, 100, 0), "[0201 印字ヘッド交換準備]\r\n"));
}

TEST(StatusNotes, ComeInTheirOrderWithOneRule) {
    EXPECT_EQ(Text(402, 100, 100), kReplaceHead + kReplaceRibbon + kRule + Text(402));
    EXPECT_EQ(Text(402, 90, 100), kReplaceRibbon + kPrepareHead + kRule + Text(402));
    EXPECT_EQ(Text(402, 100, 90), kReplaceHead + kPrepareRibbon + kRule + Text(402));
    EXPECT_EQ(Text(402, 90, 90), kPrepareHead + kPrepareRibbon + kRule + Text(402));
    EXPECT_EQ(Text(0, 0, 90), kPrepareRibbon + kRule + "[0000 印刷可能]");
    EXPECT_EQ(Text(1550, 0, 100), kReplaceRibbon + kRule + Text(1550));
    for (int span : {0, 1, 89, 91, 99, 101, 255, -90}) EXPECT_EQ(Text(402, span, span), Text(402)) << span;
}

TEST(StatusNotes, PrepareAndReplaceLists) {
    char buffer[64];
    const std::size_t n = BuildPrepareList(90, 90, buffer, sizeof buffer);
    EXPECT_EQ(n, std::strlen(buffer));
    EXPECT_STREQ(buffer, "印字ヘッド\r\nリボン\r\n");
    BuildPrepareList(100, 90, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "リボン\r\n");
    BuildPrepareList(90, 100, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "印字ヘッド\r\n");
    EXPECT_EQ(BuildPrepareList(0, 0, buffer, sizeof buffer), 0u);
    EXPECT_STREQ(buffer, "");
    BuildReplaceList(100, 100, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "印字ヘッド\r\nリボン\r\n");
    BuildReplaceList(90, 100, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "リボン\r\n");
    BuildReplaceList(100, 0, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "印字ヘッド\r\n");
    EXPECT_EQ(BuildReplaceList(90, 90, buffer, sizeof buffer), 0u);
    EXPECT_STREQ(buffer, "");
}

// ---- titles -------------------------------------------------------------------

// Titles that do not come from the title line (the others are checked row by
// row below; 150 is among the edge cases).
TEST(StatusTitle, FixedTitles) {
    EXPECT_EQ(Title(0), "印刷可能...");
    EXPECT_EQ(Title(2), "印刷中...");
    EXPECT_EQ(Title(100), "情報取得中...");
}

// Every row's title is its title line between the code and the bracket.
TEST(StatusTitle, EveryRowsTitleComesFromItsTitleLine) {
    for (const StatusEntry* entry : AllRows()) {
        const int code = entry->code;
        if (code == 0 || code == 2 || code == 100 || code == 9999 || entry->formatted) continue;
        const std::string line = Lines(entry->text)[0];
        EXPECT_EQ("[" + Code4(code) + " " + Title(code) + "]", line);
    }
}

// The tray tip holds 63 characters: every title fits.
TEST(StatusTitle, EveryTitleFitsTheTrayTip) {
    for (int code = -1000; code <= 2000; ++code) EXPECT_LE(Title(code).size(), 63u) << code;
}

// ---- bounded output -------------------------------------------------------------

enum Builder { StatusTextOf, TitleOf, PrepareOf, ReplaceOf };

std::size_t Build(Builder builder, int code, int head, int ribbon, char* buffer, std::size_t size) {
    switch (builder) {
    case StatusTextOf: return BuildStatusText(code, head, ribbon, buffer, size);
    case TitleOf: return BuildStatusTitle(code, buffer, size);
    case PrepareOf: return BuildPrepareList(head, ribbon, buffer, size);
    case ReplaceOf: return BuildReplaceList(head, ribbon, buffer, size);
    }
    return 0;
}

// At every size: terminated, never past size - 1, a prefix of the whole
// text that stops between characters and loses at most one byte of room.
TEST(StatusCut, SmallBuffersCutBetweenCharactersAndTerminate) {
    for (Builder builder : {StatusTextOf, TitleOf, PrepareOf, ReplaceOf})
        for (int code : {0, 2, 100, 123, 204, 300, 402, 600, 711, 1500, 1550, -5})
            for (const auto& span : {std::make_pair(0, 0), {100, 0}, {90, 100}, {100, 90}, {90, 90}}) {
                std::vector<char> whole(4096);
                Build(builder, code, span.first, span.second, whole.data(), whole.size());
                const std::string full = whole.data();
                for (std::size_t size = 0; size <= full.size() + 2; ++size) {
                    std::vector<char> buffer(size + 1, 'X');
                    const std::size_t n = Build(builder, code, span.first, span.second, buffer.data(), size);
                    ASSERT_EQ(buffer[size], 'X') << "written past the end at size " << size;
                    if (size == 0) {
                        ASSERT_EQ(n, 0u);
                        continue;
                    }
                    ASSERT_LE(n, size - 1);
                    ASSERT_EQ(buffer[n], '\0');
                    const std::string got(buffer.data());
                    ASSERT_EQ(got.size(), n);
                    ASSERT_EQ(full.compare(0, n, got), 0) << size;
                    ASSERT_TRUE(WholeCharacters(got)) << code << " at size " << size;
                    const std::size_t room = size - 1 < full.size() ? size - 1 : full.size();
                    ASSERT_GE(n + 1, room) << code << " at size " << size;
                }
            }
}

TEST(StatusCut, NoBufferWritesNothing) {
    EXPECT_EQ(BuildStatusText(300, 100, 100, nullptr, 0), 0u);
    EXPECT_EQ(BuildStatusText(300, 100, 100, nullptr, 100), 0u);
    EXPECT_EQ(BuildStatusTitle(300, nullptr, 100), 0u);
    EXPECT_EQ(BuildPrepareList(90, 90, nullptr, 100), 0u);
    EXPECT_EQ(BuildReplaceList(100, 100, nullptr, 100), 0u);
    char one = 'X';
    EXPECT_EQ(BuildStatusTitle(300, &one, 1), 0u);
    EXPECT_EQ(one, '\0');
}

// ---- ERR_CODE -----------------------------------------------------------------------

int Parse(const std::string& text) { return ParseStatusCode(text.data(), text.size()); }

TEST(StatusCodeParse, LeadingDigitsAsTheCLibraryReadsThem) {
    EXPECT_EQ(Parse("0300"), 300);
    EXPECT_EQ(Parse("300"), 300);
    EXPECT_EQ(Parse("0000"), 0);
    EXPECT_EQ(Parse(""), 0);
    EXPECT_EQ(Parse("abc"), 0);
    EXPECT_EQ(Parse("  "), 0);
    EXPECT_EQ(Parse(" \t1550x"), 1550);
    EXPECT_EQ(Parse("+7"), 7);
    EXPECT_EQ(Parse("-12"), -12);
    EXPECT_EQ(Parse("- 12"), 0);
    EXPECT_EQ(Parse("12 34"), 12);
    EXPECT_EQ(Parse(std::string(300, '0') + "402"), 402);
    EXPECT_EQ(Parse(std::string(300, ' ') + "402"), 402);
}

TEST(StatusCodeParse, HugeValuesClampToSixteenBits) {
    EXPECT_EQ(Parse("32767"), 32767);
    EXPECT_EQ(Parse("32768"), 32767);
    EXPECT_EQ(Parse("99999999999999999999"), 32767);
    EXPECT_EQ(Parse("-32768"), -32768);
    EXPECT_EQ(Parse("-32769"), -32768);
    EXPECT_EQ(Parse("-99999999999999999999"), -32768);
}

// No NUL needed: reading stops at `size`, or earlier at a NUL.
TEST(StatusCodeParse, ReadsNoFurtherThanItsSize) {
    const std::vector<char> digits = {'3', '0', '4'};
    EXPECT_EQ(ParseStatusCode(digits.data(), digits.size()), 304);
    EXPECT_EQ(ParseStatusCode(digits.data(), 2), 30);
    EXPECT_EQ(ParseStatusCode(digits.data(), 0), 0);
    EXPECT_EQ(ParseStatusCode("30\0" "4", 4), 30);
    EXPECT_EQ(ParseStatusCode(nullptr, 10), 0);
}

// ---- buttons and the tray icon ------------------------------------------------------

TEST(StatusCodes, SevereCodes) {
    for (int code : {402, 403, 404, 406, 407, 408, 409, 700, 702, 705, 707, 710, 715, 1500})
        EXPECT_TRUE(IsSevereCode(code)) << code;
    for (int code : {0, 2, 100, 201, 300, 318, 400, 401, 405, 410, 500, 600, 701, 706, 716, 1499, 1501, 1550, 1900})
        EXPECT_FALSE(IsSevereCode(code)) << code;
}

TEST(StatusCodes, TrayIcons) {
    for (int code : {0, 2}) EXPECT_EQ(TrayIconFor(code), StatusIconReady) << code;
    for (int code : {100, 150, 201, 204}) EXPECT_EQ(TrayIconFor(code), StatusIconInfo) << code;
    for (int code : {300, 304, 315, 318}) EXPECT_EQ(TrayIconFor(code), StatusIconWarning) << code;
    for (int code : {700, 702, 705, 707, 715}) EXPECT_EQ(TrayIconFor(code), StatusIconAlarm) << code;
    for (int code : {-1, 1, 3, 99, 101, 149, 151, 200, 205, 299, 319, 402, 500, 600, 701, 706, 716, 1500, 1550})
        EXPECT_EQ(TrayIconFor(code), StatusIconError) << code;
}

TEST(StatusCodes, RibbonResetOnlyWhilePrintableOrWearIsReported) {
    for (int code : {0, 201, 202, 203, 204}) EXPECT_TRUE(RibbonResetAllowed(code)) << code;
    for (int code : {-1, 1, 2, 100, 150, 200, 205, 300, 409, 1500}) EXPECT_FALSE(RibbonResetAllowed(code)) << code;
}

// ---- pop-up and flashing -------------------------------------------------------------

TEST(StatusPopUp, OnlyInDisplayModeTwo) {
    for (int mode : {0, 1, 3, -2}) {
        const PopUpDecision d = DecidePopUp(mode, 300, 0);
        EXPECT_FALSE(d.popUp || d.minimise) << mode;
        const PopUpDecision back = DecidePopUp(mode, 0, 300);
        EXPECT_FALSE(back.popUp || back.minimise) << mode;
    }
}

TEST(StatusPopUp, NewErrorsPopUpAndClearedOnesGoBackToTheTray) {
    const struct {
        int current, previous;
        bool popUp, minimise;
    } cases[] = {
        {300, 0, true, false},   {300, 300, false, false}, {301, 300, true, false}, {402, 1500, true, false},
        {0, 300, false, true},   {299, 300, false, true},  {2, 402, false, true},   {0, 0, false, false},
        {150, 100, false, false}, {299, 299, false, false}, {300, 299, true, false},
    };
    for (const auto& c : cases) {
        const PopUpDecision d = DecidePopUp(2, c.current, c.previous);
        EXPECT_EQ(d.popUp, c.popUp) << c.current << " after " << c.previous;
        EXPECT_EQ(d.minimise, c.minimise) << c.current << " after " << c.previous;
    }
}

struct Tick {
    unsigned char state;
    FlashAction action;
};

Tick Flash(unsigned char state, bool enabled, int current, int previous, bool foreground) {
    Tick tick = {0, FlashNothing};
    tick.state = NextFlashState(state, enabled, current, previous, foreground, &tick.action);
    return tick;
}

// A new error in the background: the caption flashes every tick until the
// window is activated or the error goes.
TEST(StatusFlash, ANewErrorFlashesUntilActivated) {
    Tick t = Flash(0, true, 300, 0, false);
    EXPECT_EQ(t.state, 0x11);
    EXPECT_EQ(t.action, FlashOnce);
    t = Flash(t.state, true, 300, 300, false);
    EXPECT_EQ(t.state, 0x11);
    EXPECT_EQ(t.action, FlashOnce);
    t = Flash(t.state, true, 300, 300, true);
    EXPECT_EQ(t.state, 0);
    EXPECT_EQ(t.action, FlashStop);
    t = Flash(t.state, true, 300, 300, false);
    EXPECT_EQ(t.state, 0);
    EXPECT_EQ(t.action, FlashNothing);
}

TEST(StatusFlash, StopsWhenTheErrorGoes) {
    Tick t = Flash(0x11, true, 0, 300, false);
    EXPECT_EQ(t.state, 0);
    EXPECT_EQ(t.action, FlashStop);
    t = Flash(0x01, true, 2, 402, false);
    EXPECT_EQ(t.state, 0);
    EXPECT_EQ(t.action, FlashNothing);
}

TEST(StatusFlash, ANewErrorInTheForegroundDoesNotFlash) {
    const Tick t = Flash(0, true, 402, 300, true);
    EXPECT_EQ(t.state, 0);
    EXPECT_EQ(t.action, FlashStop);
}

TEST(StatusFlash, WithoutTheFlagAFlashingCaptionStops) {
    Tick t = Flash(0x11, false, 300, 0, false);
    EXPECT_EQ(t.state, 0);
    EXPECT_EQ(t.action, FlashStop);
    t = Flash(0x01, false, 300, 0, false);
    EXPECT_EQ(t.state, 0);
    EXPECT_EQ(t.action, FlashNothing);
    t = Flash(0, false, 300, 0, false);
    EXPECT_EQ(t.state, 0);
    EXPECT_EQ(t.action, FlashNothing);
}

// Over every state byte and input: flashing once always leaves 0x11, a stop
// always leaves 0, and nothing happens only from a state that stays put.
TEST(StatusFlash, EveryStateAndInput) {
    const int codes[][2] = {{300, 0}, {300, 300}, {0, 300}, {0, 0}, {299, 300}, {301, 300}, {150, 2}};
    for (int state = 0; state < 256; ++state) {
        // The tick only ever leaves 0, 0x11 or a state it does not act on.
        const bool reachable = state == 0 || state == 0x01 || state == 0x10 || state == 0x11;
        for (bool enabled : {false, true})
            for (const auto& c : codes)
                for (bool foreground : {false, true}) {
                    const Tick t = Flash(static_cast<unsigned char>(state), enabled, c[0], c[1], foreground);
                    SCOPED_TRACE(testing::Message() << state << " " << enabled << " " << c[0] << "/" << c[1] << " "
                                                    << foreground);
                    if (t.action == FlashOnce) {
                        EXPECT_EQ(t.state, 0x11);
                        EXPECT_FALSE(foreground);
                    } else if (t.action == FlashStop) {
                        EXPECT_EQ(t.state, 0);
                    } else {
                        EXPECT_NE(t.state, 0x01);
                        EXPECT_NE(t.state, 0x10);
                        EXPECT_NE(t.state, 0x11);
                    }
                    if (!enabled) {
                        EXPECT_NE(t.action, FlashOnce);
                    }
                    if (reachable && enabled && c[0] >= 300 && c[0] != c[1]) {
                        EXPECT_NE(t.action, FlashNothing);
                    }
                }
    }
    // No place for the action: the state moves all the same.
    EXPECT_EQ(NextFlashState(0, true, 300, 0, false, nullptr), 0x11);
}

}  // namespace
