// The consumables report, the error log and the text file from counter
// blocks of any content, a printer name of any bytes and length and a
// firmware version of any bytes: every line stays inside its buffer and
// terminated, the file keeps its 45 lines and its zero byte, no outside byte
// adds or ends a line, the counts stay in their columns, and the lines find
// a place on any page in a font that fits its width.
//
// Input: the counter blocks as stored (ConsumablesCounters, zero where the
// input is short), then the 12 bytes of the version record, then the name.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "fuzz_common.h"
#include "panel/core/consumables_report.h"
#include "panel/core/consumables_texts.h"

namespace {

bool EndsWith(const char* text, std::size_t length, const char* tail) {
    const std::size_t n = std::strlen(tail);
    return length >= n && std::memcmp(text + length - n, tail, n) == 0;
}

// No byte that would end a line or the text early.
void CheckNoBreaks(const char* text, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        FUZZ_CHECK(byte >= 0x20 && byte != 0x7F);
    }
}

void CheckPage(const ReportPage& page, int lines) {
    FUZZ_CHECK(page.lineCount == lines);
    for (int k = 0; k < page.lineCount; ++k) {
        FUZZ_CHECK(page.length[k] >= 0 && page.length[k] < ReportLineSize);
        FUZZ_CHECK(std::strlen(page.text[k]) == static_cast<std::size_t>(page.length[k]));
        CheckNoBreaks(page.text[k], static_cast<std::size_t>(page.length[k]));
    }
    FUZZ_CHECK(page.length[1] == 0);
}

// The "=" of every pin line in one column, and of every counter line in
// another, whatever the counts.
void CheckColumns(const ReportPage& page) {
    const char* pinEquals = std::strchr(page.text[2], '=');
    FUZZ_CHECK(pinEquals != nullptr);
    const std::ptrdiff_t pinColumn = pinEquals - page.text[2];
    for (int k = 2; k < 26; ++k) {
        FUZZ_CHECK(page.text[k][pinColumn] == '=');
        FUZZ_CHECK(page.length[k] == page.length[2]);  // ten places for every count
    }
    for (int k = 26; k < 31; ++k) FUZZ_CHECK(page.text[k][25] == '=');
}

void CheckFile(const char* file, std::size_t size, const char* name) {
    FUZZ_CHECK(size > 0 && size <= ReportFileSize && file[size - 1] == '\0');
    std::size_t lines = 0, start = 0;
    for (std::size_t i = 0; i + 1 < size; ++i) {
        if (file[i] != '\r') continue;
        FUZZ_CHECK(i + 1 < size - 1 && file[i + 1] == '\n');
        CheckNoBreaks(file + start, i - start);
        if (lines == 0) FUZZ_CHECK(EndsWith(file + start, i - start, ReportHeading));
        ++lines;
        start = i + 2;
        ++i;
    }
    FUZZ_CHECK(lines == ReportFileLines && start == size - 1);
    // Before the heading: the name's first bytes, at most 255, each itself
    // or a '?' in its place.
    const std::size_t namePart = std::strstr(file, "\r\n") - file - std::strlen(ReportHeading);
    FUZZ_CHECK(namePart <= ReportNameBytes);
    for (std::size_t i = 0; i < namePart; ++i) FUZZ_CHECK(file[i] == name[i] || file[i] == '?');
}

// The font shrinks only as far as the widest line needs, never below 1.
void CheckFontHeight(int height, int lineWidth, int pageWidth) {
    const int fitting = FittingReportFontHeight(height, lineWidth, pageWidth);
    const long long at = height < 1 ? 1 : height;
    FUZZ_CHECK(fitting >= 1 && fitting <= at);
    const long long room = static_cast<long long>(pageWidth) - ReportLeftMargin;
    if (pageWidth <= 0 || lineWidth <= room) FUZZ_CHECK(fitting == at);
    else if (fitting > 1) FUZZ_CHECK(static_cast<long long>(fitting) * lineWidth <= at * room);  // the scaled line fits
}

void CheckPlaces(const std::uint8_t* data, std::size_t size) {
    if (size < 12) return;
    int line, lineHeight, pageHeight;
    std::memcpy(&line, data, 4);
    std::memcpy(&lineHeight, data + 4, 4);
    std::memcpy(&pageHeight, data + 8, 4);
    CheckFontHeight(lineHeight, line, pageHeight);
    const ReportLinePlace place = PlaceReportLine(line, lineHeight, pageHeight);
    FUZZ_CHECK(place.page >= 0 && place.y > 0);
    const long long height = lineHeight < 1 ? 1 : lineHeight;
    // Where a page holds two line heights, every line ends inside it.
    if (pageHeight >= 2 * height) FUZZ_CHECK(place.y + height <= pageHeight);
    // Consecutive lines of the report keep their order (where the place
    // does not reach the largest y there is).
    if (line >= 1 && line < ConsumablesReportLines && (line + 1) * height < INT_MAX) {
        const ReportLinePlace next = PlaceReportLine(line + 1, lineHeight, pageHeight);
        FUZZ_CHECK(next.page > place.page || (next.page == place.page && next.y > place.y));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::unique_ptr<ConsumablesCounters> counters(new ConsumablesCounters());
    std::size_t at = size < sizeof *counters ? size : sizeof *counters;
    std::memcpy(counters.get(), data, at);
    // The version record as the program keeps it: 12 bytes, of which up to 7 are read.
    std::unique_ptr<unsigned char[]> version(new unsigned char[12]());
    const std::size_t versionBytes = size - at < 12 ? size - at : 12;
    std::memcpy(version.get(), data + at, versionBytes);
    at += versionBytes;
    // The name on the heap at exactly its size: terminated when short, and
    // 256 bytes of anything (no terminator needed) when long, as the
    // printer record holds it.
    const std::size_t nameBytes = size - at;
    const std::size_t nameSize = nameBytes < ReportNameBytes + 1 ? nameBytes + 1 : ReportNameBytes + 1;
    std::unique_ptr<char[]> name(new char[nameSize]());
    std::memcpy(name.get(), data + at, nameSize - (nameBytes < ReportNameBytes + 1 ? 1 : 0));

    std::unique_ptr<ReportPage> page(new ReportPage());
    BuildConsumablesReport(*counters, name.get(), page.get());
    CheckPage(*page, ConsumablesReportLines);
    CheckColumns(*page);
    FUZZ_CHECK(EndsWith(page->text[0], static_cast<std::size_t>(page->length[0]), ReportHeading));

    BuildErrorLogReport(*counters, name.get(), version.get(), page.get());
    CheckPage(*page, ErrorLogReportLines);

    std::unique_ptr<char[]> file(new char[ReportFileSize]);
    const std::size_t fileSize = BuildReportFile(*counters, name.get(), version.get(), file.get(), ReportFileSize);
    CheckFile(file.get(), fileSize, name.get());
    // A buffer one byte short gives nothing rather than a cut file.
    std::unique_ptr<char[]> shorter(new char[fileSize - 1]);
    FUZZ_CHECK(BuildReportFile(*counters, name.get(), version.get(), shorter.get(), fileSize - 1) == 0);

    CheckPlaces(data, size);
    return 0;
}
