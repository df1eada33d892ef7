// The detail window's three outputs as bytes: the consumables report and the
// error log as printed lines, and both together as the text file. Built from
// the counters and two texts that come from outside: the printer's name
// (from the spooler) and its firmware version (from the printer). Neither is
// trusted: each is read up to its bound only, cut between whole characters
// (code page 932), and a control byte in it prints as '?', so that no name
// or version can add a line to the file or end one early.
//
// Portable: the Win32 side draws the lines or writes the bytes as they are.
#pragma once

#include <cstddef>

#include "panel/core/counters.h"

enum {
    ReportNameBytes = 255,      // the most of a printer name that is read
    ReportVersionBytes = 7,     // the most of the firmware version that is read
    ReportLineSize = 320,       // the longest line (name and heading) and its NUL
    ConsumablesReportLines = 31,
    ErrorLogReportLines = 9,
    ReportFileLines = 45,
    // Every line of the file at its longest with its CR LF, and the zero byte.
    ReportFileSize = ReportFileLines * (ReportLineSize + 1) + 1,
    ReportLeftMargin = 20,      // x of every printed line, in device units
};

// The lines of one printed report: line k (from 1) is text[k - 1], length[k - 1]
// bytes, NUL-terminated; an empty line has length 0 and is not drawn.
struct ReportPage {
    int lineCount;
    char text[ConsumablesReportLines][ReportLineSize];
    int length[ConsumablesReportLines];
};

// The consumables report: the name and its heading, an empty line, the 24
// pins, the five general counts (31 lines).
void BuildConsumablesReport(const ConsumablesCounters& counters, const char* printerName, ReportPage* page);

// The error log: the name, the heading and the version, an empty line, the
// seven alarm entries (9 lines). `version` is read up to 7 bytes or a NUL.
void BuildErrorLogReport(const ConsumablesCounters& counters, const char* printerName,
                         const unsigned char* version, ReportPage* page);

// The text file: both reports in the file's own spacing, each line ended by
// CR LF, followed by one zero byte. Returns the bytes put into `buffer`,
// the zero byte included; 0 (and nothing usable) when `size` is too small,
// which ReportFileSize never is.
std::size_t BuildReportFile(const ConsumablesCounters& counters, const char* printerName,
                            const unsigned char* version, char* buffer, std::size_t size);

// Where printed line `line` (from 1) goes when a line is `lineHeight` device
// units high and the printable area `pageHeight`: the page (from 0) and the
// line's y on it. Line k of a page is drawn at y = k * lineHeight; a line that
// would reach below the area starts the next page at the first line's place.
// A page that holds no line at all still takes one, and an unknown height (0
// or less) puts every line on the first page.
struct ReportLinePlace {
    int page;
    int y;
};
ReportLinePlace PlaceReportLine(int line, int lineHeight, int pageHeight);

// The font height at which the report's widest line, `lineWidth` device
// units long at font height `height`, fits the printable width `pageWidth`
// from x = ReportLeftMargin: `height` itself when it fits or when the width
// is unknown (0 or less), else the height scaled down in proportion (at
// least 1). A printer whose own font is large would otherwise lose the end
// of the error log's first line (the firmware version) past the page's edge.
int FittingReportFontHeight(int height, int lineWidth, int pageWidth);
