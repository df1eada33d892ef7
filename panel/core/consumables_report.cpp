#include "panel/core/consumables_report.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "common/cp932_text.h"
#include "panel/core/consumables_rules.h"
#include "panel/core/consumables_texts.h"

static_assert(sizeof ReportCounterTexts / sizeof ReportCounterTexts[0] == CounterFieldCount,
              "one report text per general count");

namespace {

// A second byte that makes a double-byte character with a lead byte.
bool IsCp932TrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFC && byte != 0x7F; }

bool IsControlByte(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }

// Appends to a fixed buffer, never past it: a piece that does not fit whole
// is left out and the line marked as cut.
class Line {
public:
    Line(char* buffer, std::size_t size) : buffer_(buffer), size_(size) {
        if (size_) buffer_[0] = '\0';
    }

    void Append(const char* text, std::size_t length) {
        if (cut_ || size_ == 0 || length > size_ - 1 - used_) {
            cut_ = true;
            return;
        }
        std::memcpy(buffer_ + used_, text, length);
        used_ += length;
        buffer_[used_] = '\0';
    }
    void Append(const char* text) { Append(text, std::strlen(text)); }

    // printf into the rest of the buffer; a result that does not fit whole
    // is taken back.
    template <typename... Args>
    void Format(const char* format, Args... args) {
        if (cut_ || size_ == 0) return;
        const std::size_t room = size_ - used_;
        const int n = std::snprintf(buffer_ + used_, room, format, args...);
        if (n < 0 || static_cast<std::size_t>(n) >= room) {
            buffer_[used_] = '\0';
            cut_ = true;
            return;
        }
        used_ += static_cast<std::size_t>(n);
    }

    // An outside text: at most `bound` bytes of it, up to a NUL, whole
    // characters only. A lead byte without its second byte ends the text
    // (it is the start of a character cut off by the bound); a lead byte
    // followed by a byte that cannot be its second, or a control byte, is
    // shown as '?'.
    void AppendOutside(const char* text, std::size_t bound) {
        if (!text) return;
        std::size_t at = 0;
        while (at < bound && text[at] != '\0') {
            const unsigned char byte = static_cast<unsigned char>(text[at]);
            if (IsCp932LeadByte(byte)) {
                if (at + 1 >= bound || text[at + 1] == '\0') break;
                if (IsCp932TrailByte(static_cast<unsigned char>(text[at + 1]))) {
                    Append(text + at, 2);
                    at += 2;
                    continue;
                }
                Append("?", 1);
            } else if (IsControlByte(byte)) {
                Append("?", 1);
            } else {
                Append(text + at, 1);
            }
            ++at;
        }
    }

    std::size_t used() const { return used_; }
    bool cut() const { return cut_; }

private:
    char* buffer_;
    std::size_t size_;
    std::size_t used_ = 0;
    bool cut_ = false;
};

unsigned long Count(std::uint32_t value) { return static_cast<unsigned long>(value); }

// The lines the two outputs share, each written by a function that takes
// the line to fill.
void HeadingLine(Line& line, const char* printerName, const char* heading) {
    line.AppendOutside(printerName, ReportNameBytes);
    line.Append(heading);
}

void ErrorLogHeadingLine(Line& line, const char* printerName, const unsigned char* version) {
    HeadingLine(line, printerName, ErrorLogHeading);
    line.AppendOutside(reinterpret_cast<const char*>(version), ReportVersionBytes);
}

void AlarmLine(Line& line, const ConsumablesCounters& counters, int entry) {
    line.Append(ReportAlarmLabel);
    line.Format("%d   ", entry);
    line.Append(AlarmText(AlarmCode(counters, entry)));
}

// On paper two blanks follow each "=", in the file one; the file's pin
// lines start one blank further right.
enum Spacing { OnPaper, InFile };

void PinLine(Line& line, const ConsumablesCounters& counters, int pin, Spacing spacing) {
    if (spacing == OnPaper) {
        line.Append(pin == 1 ? PrintedPinLabel : PrintedPinIndent);
        line.Format("#%02d =  %10lu", pin, Count(HeadPinValue(counters, pin)));
    } else {
        line.Append(pin == 1 ? FilePinLabel : FilePinIndent);
        line.Format("#%02d = %10lu", pin, Count(HeadPinValue(counters, pin)));
    }
    line.Append(PinUnit);
}

void CounterLine(Line& line, const ConsumablesCounters& counters, int field, Spacing spacing) {
    const ReportCounterText& text = ReportCounterTexts[field];
    line.Append(spacing == OnPaper ? text.printedLabel : text.fileLabel);
    line.Format("%10lu", Count(CounterFieldValue(counters, static_cast<CounterField>(field))));
    line.Append(text.unit);
}

// Lines of a printed page, filled in order.
class PageWriter {
public:
    explicit PageWriter(ReportPage* page) : page_(page) { std::memset(page_, 0, sizeof *page_); }
    Line Next() { return Line(page_->text[page_->lineCount], ReportLineSize); }
    void Done(const Line& line) { page_->length[page_->lineCount++] = static_cast<int>(line.used()); }
    void Empty() {
        Line line = Next();
        Done(line);
    }

private:
    ReportPage* page_;
};

}  // namespace

void BuildConsumablesReport(const ConsumablesCounters& counters, const char* printerName, ReportPage* page) {
    if (!page) return;
    PageWriter writer(page);
    Line heading = writer.Next();
    HeadingLine(heading, printerName, ReportHeading);
    writer.Done(heading);
    writer.Empty();
    for (int pin = 1; pin <= HeadPinCount; ++pin) {
        Line line = writer.Next();
        PinLine(line, counters, pin, OnPaper);
        writer.Done(line);
    }
    for (int field = 0; field < CounterFieldCount; ++field) {
        Line line = writer.Next();
        CounterLine(line, counters, field, OnPaper);
        writer.Done(line);
    }
}

void BuildErrorLogReport(const ConsumablesCounters& counters, const char* printerName,
                         const unsigned char* version, ReportPage* page) {
    if (!page) return;
    PageWriter writer(page);
    Line heading = writer.Next();
    ErrorLogHeadingLine(heading, printerName, version);
    writer.Done(heading);
    writer.Empty();
    for (int entry = 1; entry <= AlarmHistoryCount; ++entry) {
        Line line = writer.Next();
        AlarmLine(line, counters, entry);
        writer.Done(line);
    }
}

std::size_t BuildReportFile(const ConsumablesCounters& counters, const char* printerName,
                            const unsigned char* version, char* buffer, std::size_t size) {
    if (!buffer || size == 0) return 0;
    Line file(buffer, size);
    auto end = [&file] { file.Append("\r\n"); };
    HeadingLine(file, printerName, ReportHeading);
    end();
    end();
    for (int pin = 1; pin <= HeadPinCount; ++pin) {
        PinLine(file, counters, pin, InFile);
        end();
    }
    for (int field = 0; field < CounterFieldCount; ++field) {
        CounterLine(file, counters, field, InFile);
        end();
    }
    for (int blank = 32; blank <= 36; ++blank) end();
    ErrorLogHeadingLine(file, printerName, version);
    end();
    end();
    for (int entry = 1; entry <= AlarmHistoryCount; ++entry) {
        AlarmLine(file, counters, entry);
        end();
    }
    if (file.cut()) return 0;
    // The terminating zero after the last line belongs to the file.
    return file.used() + 1;
}

ReportLinePlace PlaceReportLine(int line, int lineHeight, int pageHeight) {
    if (lineHeight < 1) lineHeight = 1;
    if (line < 1) line = 1;
    // Line k of a page ends at (k + 1) * lineHeight.
    int perPage = pageHeight > 0 ? pageHeight / lineHeight - 1 : INT_MAX;
    if (perPage < 1) perPage = 1;
    const int page = (line - 1) / perPage;
    const int onPage = line - page * perPage;
    const long long y = static_cast<long long>(onPage) * lineHeight;
    return {page, y > INT_MAX ? INT_MAX : static_cast<int>(y)};
}

int FittingReportFontHeight(int height, int lineWidth, int pageWidth) {
    if (height < 1) height = 1;
    const long long room = static_cast<long long>(pageWidth) - ReportLeftMargin;
    if (pageWidth <= 0 || lineWidth <= room) return height;
    if (room < 1) return 1;
    const long long fitting = height * room / lineWidth;
    return fitting < 1 ? 1 : static_cast<int>(fitting);
}
