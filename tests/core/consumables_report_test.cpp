// The consumables report and the error log on paper and in the text file,
// built from a counters answer as the printer sends it: the lines and the
// file's bytes against texts written out by hand, the columns, and what the
// name and version from outside may and may not bring.
#include "panel/core/consumables_report.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "panel/core/counters.h"
#include "tests/core/consumables_report_expected.h"

namespace {

using namespace report_expected;

std::vector<std::string> Lines(const ReportPage& page) {
    std::vector<std::string> lines;
    for (int k = 0; k < page.lineCount; ++k) {
        EXPECT_EQ(std::strlen(page.text[k]), static_cast<std::size_t>(page.length[k])) << "line " << k + 1;
        lines.emplace_back(page.text[k], static_cast<std::size_t>(page.length[k]));
    }
    return lines;
}

std::string File(const ConsumablesCounters& counters, const char* name, const unsigned char* version) {
    std::vector<char> buffer(ReportFileSize);
    const std::size_t size = BuildReportFile(counters, name, version, buffer.data(), buffer.size());
    return std::string(buffer.data(), size);
}

TEST(ConsumablesReport, PrintedLinesAreTheHandWrittenReport) {
    ReportPage page;
    BuildConsumablesReport(Answered(), kName, &page);
    const std::vector<std::string> expected = ConsumablesLines();
    EXPECT_EQ(expected, Lines(page));
}

TEST(ConsumablesReport, PrintedErrorLogIsTheHandWrittenLog) {
    ReportPage page;
    BuildErrorLogReport(Answered(), kName, kVersion, &page);
    const std::vector<std::string> expected = ErrorLogLines();
    EXPECT_EQ(expected, Lines(page));
}

TEST(ConsumablesReport, TextFileIsTheHandWrittenFileWithItsZeroByte) {
    const std::string expected = FileBytes();
    EXPECT_EQ(expected, File(Answered(), kName, kVersion));
}

// The "=" signs and the numbers' last digits stand in one column per group,
// the widest count (ten digits) included; every counter label is 28 bytes.
TEST(ConsumablesReport, ColumnsLineUpWithTheWidestCount) {
    ReportPage page;
    BuildConsumablesReport(Answered(), kName, &page);
    const std::vector<std::string> lines = Lines(page);
    ASSERT_EQ(31u, lines.size());
    auto column = [](const std::string& line) { return line.find('='); };
    auto lastDigit = [](const std::string& line) { return line.find_last_of("0123456789"); };
    for (int k = 4; k <= 26; ++k) {
        EXPECT_EQ(column(lines[2]), column(lines[k - 1])) << "line " << k;
        EXPECT_EQ(lastDigit(lines[2]), lastDigit(lines[k - 1])) << "line " << k;
    }
    EXPECT_EQ(std::string::npos, lines[2].find(' ', column(lines[2]) + 3));  // ten digits leave no blank
    for (int k = 27; k <= 31; ++k) {
        EXPECT_EQ(25u, column(lines[k - 1])) << "line " << k;
        EXPECT_EQ(37u, lastDigit(lines[k - 1])) << "line " << k;  // 28-byte label, ten digits
    }

    // In the file: one blank after each "=", the pins one further right.
    const std::string file = File(Answered(), kName, kVersion);
    std::vector<std::string> fileLines;
    for (std::size_t at = 0, end; (end = file.find("\r\n", at)) != std::string::npos; at = end + 2)
        fileLines.push_back(file.substr(at, end - at));
    ASSERT_EQ(45u, fileLines.size());
    for (int k = 3; k <= 26; ++k) {
        EXPECT_EQ(column(lines[2]) + 1, column(fileLines[k - 1])) << "file line " << k;
        EXPECT_EQ(lastDigit(lines[2]), lastDigit(fileLines[k - 1])) << "file line " << k;
    }
    for (int k = 27; k <= 31; ++k) {
        EXPECT_EQ(26u, column(fileLines[k - 1])) << "file line " << k;
        EXPECT_EQ(37u, lastDigit(fileLines[k - 1])) << "file line " << k;
    }
}

// ---- the texts from outside -------------------------------------------------

std::string HeadingOf(const char* name, const unsigned char* version = nullptr) {
    ReportPage page;
    if (version) BuildErrorLogReport(ConsumablesCounters(), name, version, &page);
    else BuildConsumablesReport(ConsumablesCounters(), name, &page);
    return std::string(page.text[0], static_cast<std::size_t>(page.length[0]));
}

// A name of 256 bytes without its NUL within them: 255 are read, and a
// double-byte character across the bound is left out whole.
TEST(ConsumablesReportOutside, NameIsReadToItsBoundAndCutBetweenCharacters) {
    char name[256];
    std::memset(name, 'N', sizeof name);
    EXPECT_EQ(std::string(255, 'N') + "   消耗品情報", HeadingOf(name));
    name[254] = '\x8c';  // 経: its second byte would be the 256th
    name[255] = '\x6f';
    EXPECT_EQ(std::string(254, 'N') + "   消耗品情報", HeadingOf(name));
    name[253] = '\x8c';
    name[254] = '\x6f';
    EXPECT_EQ(std::string(253, 'N') + "経   消耗品情報", HeadingOf(name));
    EXPECT_EQ("   消耗品情報", HeadingOf(nullptr));
}

// Control bytes would end a line early or add one: they show as '?'. So does
// a lead byte whose next byte cannot finish it; the next byte stays itself.
TEST(ConsumablesReportOutside, ControlBytesAndBrokenCharactersShowAsQuestionMarks) {
    EXPECT_EQ("A?B?C?D?   消耗品情報", HeadingOf("A\rB\nC\x1b" "D\x7f"));
    EXPECT_EQ("??x   消耗品情報", HeadingOf("\x8c\x1f" "x"));
    const unsigned char version[12] = {'1', '\r', '\n', '2', 0, '9', '9'};
    EXPECT_EQ("P   エラーログ情報   ROM Ver 1??2", HeadingOf("P", version));
}

// Seven bytes at most; a NUL ends the version earlier; a double-byte
// character that would need an eighth byte is left out.
TEST(ConsumablesReportOutside, VersionIsSevenBytesAtMost) {
    const unsigned char full[12] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L'};
    EXPECT_EQ("P   エラーログ情報   ROM Ver ABCDEFG", HeadingOf("P", full));
    const unsigned char cut[12] = {'1', '.', '0', '0', ' ', ' ', 0x83, 0x41};
    EXPECT_EQ("P   エラーログ情報   ROM Ver 1.00  ", HeadingOf("P", cut));
    const unsigned char wide[12] = {'1', '.', '0', 0x83, 0x41, ' ', 'J'};  // "1.0ア J"
    EXPECT_EQ("P   エラーログ情報   ROM Ver 1.0ア J", HeadingOf("P", wide));
    const unsigned char empty[12] = {};
    EXPECT_EQ("P   エラーログ情報   ROM Ver ", HeadingOf("P", empty));
}

// The longest name and version still give the whole file, and a buffer one
// byte short of it gives nothing rather than a cut file.
TEST(ConsumablesReportOutside, FileNeedsItsWholeBuffer) {
    const std::string name(300, '\x82');  // lead bytes only: every pair is a character
    const unsigned char version[12] = {'V', 'V', 'V', 'V', 'V', 'V', 'V'};
    std::vector<char> buffer(ReportFileSize);
    const std::size_t size = BuildReportFile(Answered(), name.c_str(), version, buffer.data(), buffer.size());
    ASSERT_GT(size, 0u);
    EXPECT_EQ('\0', buffer[size - 1]);
    EXPECT_EQ(std::string(254, '\x82') + "   消耗品情報\r\n", std::string(buffer.data(), 254 + 13 + 2));
    EXPECT_EQ(0u, BuildReportFile(Answered(), name.c_str(), version, buffer.data(), size - 1));
    EXPECT_EQ(size, BuildReportFile(Answered(), name.c_str(), version, buffer.data(), size));
}

// ---- lines on pages ---------------------------------------------------------

TEST(ReportLinePlace, APageThatHoldsTheReportTakesItWhole) {
    // 300 dpi A4 with a 100-unit font: room for 32 lines below the first's place.
    for (int k = 1; k <= 31; ++k) {
        const ReportLinePlace place = PlaceReportLine(k, 100, 3300);
        EXPECT_EQ(0, place.page);
        EXPECT_EQ(k * 100, place.y);
    }
    EXPECT_EQ(3100, PlaceReportLine(31, 100, 3200).y);  // the last line ends on the area's edge
    EXPECT_EQ(1, PlaceReportLine(31, 100, 3199).page);
}

TEST(ReportLinePlace, AShortPageGoesOnAtTheTopOfTheNext) {
    // 1050 units hold lines 1 to 9 (the ninth ends at 1000).
    EXPECT_EQ(0, PlaceReportLine(9, 100, 1050).page);
    EXPECT_EQ(900, PlaceReportLine(9, 100, 1050).y);
    EXPECT_EQ(1, PlaceReportLine(10, 100, 1050).page);
    EXPECT_EQ(100, PlaceReportLine(10, 100, 1050).y);
    EXPECT_EQ(3, PlaceReportLine(31, 100, 1050).page);
    EXPECT_EQ(400, PlaceReportLine(31, 100, 1050).y);
}

TEST(ReportLinePlace, UnknownOrTinyPagesStillPlaceEveryLine) {
    EXPECT_EQ(0, PlaceReportLine(31, 100, 0).page);  // no size known: as the report always was
    EXPECT_EQ(3100, PlaceReportLine(31, 100, 0).y);
    EXPECT_EQ(30, PlaceReportLine(31, 100, 150).page);  // one line per page
    EXPECT_EQ(100, PlaceReportLine(31, 100, 150).y);
    EXPECT_EQ(31, PlaceReportLine(31, 0, -5).y);  // a height of 0 counts as 1
}

// ---- the font on a narrow page ---------------------------------------------

TEST(ReportFontHeight, ALineThatFitsKeepsThePrintersHeight) {
    EXPECT_EQ(100, FittingReportFontHeight(100, 2300, 2325));  // 20 + 2300 inside 2325
    EXPECT_EQ(100, FittingReportFontHeight(100, 2305, 2325));
    EXPECT_EQ(100, FittingReportFontHeight(100, 99999, 0));  // width unknown
}

TEST(ReportFontHeight, AWiderLineShrinksTheFontInProportion) {
    EXPECT_EQ(99, FittingReportFontHeight(100, 2306, 2325));
    EXPECT_EQ(79, FittingReportFontHeight(100, 2900, 2325));  // 100 * 2305 / 2900 = 79.5
    EXPECT_EQ(50, FittingReportFontHeight(100, 4610, 2325));
    EXPECT_EQ(1, FittingReportFontHeight(100, 2147483647, 2325));
    EXPECT_EQ(1, FittingReportFontHeight(100, 50, 15));  // no room right of the margin
    EXPECT_EQ(1, FittingReportFontHeight(0, 10, 5000));  // a height of 0 counts as 1
}

}  // namespace
