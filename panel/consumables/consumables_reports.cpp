// The consumables report and the error log on the printer the user picks,
// one document per copy; both in a text file through the Save As dialog.
// The lines and the file's bytes come from panel/core/consumables_report.
#include "panel/consumables/consumables_reports.h"

#include <windows.h>
#include <commdlg.h>

#include <cstddef>

#include "common/wait_cursor.h"
#include "panel/consumables/print_calls.h"
#include "panel/core/consumables_report.h"
#include "panel/records/panel_records.h"
#include "panel/resources/resource.h"
#include "panel/ui/show_message.h"

namespace {

// One description and its pattern; the literal's own NUL ends the list.
const char kFilter[] = "テキストファイル(*.txt)\0*.txt\0";
const char kDefaultExtension[] = "txt";
const char kFreshPrefix[] = "txt";  // GetTempFileNameA uses the first three characters

// The report's columns line up only in a fixed-pitch font, and its labels
// need Japanese glyphs. A printer's default font may have neither (a
// PostScript driver's draws code page 932 bytes as Latin letters), so a
// fixed-pitch Shift JIS font of the default font's height takes its place
// (lower only where the widest line would not fit the page's width).
const char kReportFontFace[] = "ＭＳ ゴシック";

FileWriteCall g_write = SystemFileWrite;

// Sets the print dialog's title (lCustData of the request) and leaves the
// rest to the dialog.
UINT_PTR CALLBACK PrintDialogHook(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG) return FALSE;
    const PRINTDLGA* request = reinterpret_cast<const PRINTDLGA*>(lParam);
    if (request && request->lCustData) SetWindowTextA(dialog, reinterpret_cast<const char*>(request->lCustData));
    return TRUE;  // the focus where the dialog puts it
}

struct ChosenPrinter {
    HDC dc;      // null: cancelled
    int copies;  // at least 1
};

ChosenPrinter AskForPrinter(UINT titleId) {
    char title[128];
    LoadText(titleId, title, sizeof title);
    PRINTDLGA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = ConsumablesWindows.detail;
    dialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE | PD_ENABLEPRINTHOOK;
    dialog.nCopies = 1;
    dialog.lpfnPrintHook = PrintDialogHook;
    dialog.lCustData = reinterpret_cast<LPARAM>(title);
    const BOOL chosen = Printing().printDlg(&dialog);
    // The dialog's copies of the printer's settings are ours to free; the
    // device context already holds what it needs of them.
    if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
    if (!chosen) return {nullptr, 0};
    return {dialog.hDC, dialog.nCopies > 0 ? static_cast<int>(dialog.nCopies) : 1};
}

// The report's font selected into the printer's context while it lives.
class ReportFont {
public:
    explicit ReportFont(HDC dc) : dc_(dc) {}
    ~ReportFont() { Release(); }
    ReportFont(const ReportFont&) = delete;
    ReportFont& operator=(const ReportFont&) = delete;

    // Selects the font at `height` in place of the one before; the
    // context's own font stays when no font can be made.
    void Select(int height) {
        HFONT font = CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                                 kReportFontFace);
        if (!font) return;
        HGDIOBJ before = SelectObject(dc_, font);
        if (!before) {
            DeleteObject(font);
            return;
        }
        if (!previous_) previous_ = before;
        if (font_) DeleteObject(font_);
        font_ = font;
    }

private:
    void Release() {
        if (previous_) SelectObject(dc_, previous_);
        if (font_) DeleteObject(font_);
    }

    HDC dc_;
    HFONT font_ = nullptr;
    HGDIOBJ previous_ = nullptr;  // the context's own font
};

// The width of the page's widest line in the context's font.
int WidestLine(HDC dc, const ReportPage& page) {
    int widest = 0;
    for (int line = 0; line < page.lineCount; ++line) {
        SIZE size = {};
        if (page.length[line] > 0 && Printing().getTextExtent(dc, page.text[line], page.length[line], &size) &&
            size.cx > widest)
            widest = size.cx;
    }
    return widest;
}

// Selects the report's font at the printer's own height, or lower where the
// widest line would run past the printable width; returns the line height,
// 0 when the printer gives no metrics.
int SelectFittingFont(HDC dc, const ReportPage& page, ReportFont& font) {
    const PrintCalls& gdi = Printing();
    TEXTMETRICA metrics = {};
    if (!gdi.getTextMetrics(dc, &metrics) || metrics.tmHeight <= 0) return 0;
    const int pageWidth = gdi.getDeviceCaps(dc, HORZRES);
    int height = metrics.tmHeight;
    font.Select(height);
    // A glyph's width follows its height only roughly: measure again after
    // each step (every step makes the font lower).
    for (int attempt = 0; attempt < 4; ++attempt) {
        const int fitting = FittingReportFontHeight(height, WidestLine(dc, page), pageWidth);
        if (fitting == height) break;
        height = fitting;
        font.Select(height);
    }
    TEXTMETRICA selected = {};
    return gdi.getTextMetrics(dc, &selected) && selected.tmHeight > 0 ? selected.tmHeight : height;
}

// One document named `name` holding `page`: line k at x = ReportLeftMargin
// and the y its place gives, a line that would reach below the printable
// area continuing on a new page of the same document. False when the
// printer refused the document or one of its pages or lines (the document
// is then abandoned).
bool PrintDocument(HDC dc, const char* name, const ReportPage& page, int lineHeight, int pageHeight) {
    const PrintCalls& gdi = Printing();
    DOCINFOA document = {};
    document.cbSize = sizeof document;
    document.lpszDocName = name;
    if (gdi.startDoc(dc, &document) <= 0) return false;
    bool ok = gdi.startPage(dc) > 0;
    int sheet = 0;
    for (int line = 1; ok && line <= page.lineCount; ++line) {
        const ReportLinePlace place = PlaceReportLine(line, lineHeight, pageHeight);
        if (place.page != sheet) {
            ok = gdi.endPage(dc) > 0 && gdi.startPage(dc) > 0;
            sheet = place.page;
        }
        const int length = page.length[line - 1];
        if (ok && length > 0) ok = gdi.textOut(dc, ReportLeftMargin, place.y, page.text[line - 1], length) != FALSE;
    }
    if (!ok || gdi.endPage(dc) <= 0) {
        gdi.abortDoc(dc);
        return false;
    }
    return gdi.endDoc(dc) > 0;
}

// The print dialog titled `titleId`, then one document named `documentId`
// per copy asked for, each holding the page that `build` fills.
void PrintReport(UINT titleId, UINT documentId, void (*build)(ReportPage* page)) {
    const ChosenPrinter printer = AskForPrinter(titleId);
    if (!printer.dc) return;
    SetWaitCursor(CursorHourglass);
    const PrintCalls& gdi = Printing();
    char name[128];
    LoadText(documentId, name, sizeof name);
    ReportPage page;
    build(&page);
    {
        ReportFont font(printer.dc);
        // Without the printer's metrics there is no line height to lay out by.
        const int lineHeight = SelectFittingFont(printer.dc, page, font);
        const int pageHeight = gdi.getDeviceCaps(printer.dc, VERTRES);
        for (int copy = 0; lineHeight > 0 && copy < printer.copies; ++copy)
            if (!PrintDocument(printer.dc, name, page, lineHeight, pageHeight)) break;
    }
    gdi.deleteDC(printer.dc);
    SetWaitCursor(CursorArrow);
}

void BuildReportPage(ReportPage* page) {
    BuildConsumablesReport(*Counters, CurrentTarget.PrinterName, page);
}

void BuildErrorLogPage(ReportPage* page) {
    BuildErrorLogReport(*Counters, CurrentTarget.PrinterName, PrinterVersion, page);
}

}  // namespace

void TestSeam_UseReportFileWrite(FileWriteCall write) { g_write = write ? write : SystemFileWrite; }

void PrintConsumablesReport() {
    if (!Counters) return;
    PrintReport(IDS_PRINT_REPORT_TITLE, IDS_REPORT_DOCUMENT, BuildReportPage);
}

void PrintErrorLog() {
    if (!Counters) return;
    PrintReport(IDS_PRINT_ERROR_LOG_TITLE, IDS_ERROR_LOG_DOCUMENT, BuildErrorLogPage);
}

void SaveConsumablesReport() {
    if (!Counters) return;
    // Assembled whole before anything is asked: the file is these bytes or
    // nothing.
    char file[ReportFileSize];
    const std::size_t size = BuildReportFile(*Counters, CurrentTarget.PrinterName, PrinterVersion, file, sizeof file);
    if (size == 0) return;
    const SaveAsRequest request = {
        {ConsumablesWindows.detail, IDS_SAVE_REPORT_TITLE, kFilter, kDefaultExtension},
        kFreshPrefix,
        IDS_REPORT_FILE_EXISTS,
        IDS_SETTINGS_FILE_LOCKED,  // the same write-protection message as the settings files'
        IDS_REPORT_FILE_UNWRITTEN,
        g_write,
    };
    RunSaveAs(request, file, static_cast<DWORD>(size));
}
