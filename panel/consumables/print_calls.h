// The GDI printing calls of the consumables reports, behind one seam: the
// print dialog, the printer's text metrics, line widths and page size, the
// document, its pages and lines, and the device context's end.
//
// Wine's spooler hands a job to its port without its document name, and its
// printers cannot be given a short page or a failing page; tests put their
// own calls in place of these to see every document, page and line as the
// report drew it. What the dialog and the driver return is treated as
// untrusted (a copy count of 0, a font height of 0, an unknown page height).
#pragma once

#include <windows.h>
#include <commdlg.h>

struct PrintCalls {
    BOOL(WINAPI* printDlg)(LPPRINTDLGA dialog);
    BOOL(WINAPI* getTextMetrics)(HDC dc, LPTEXTMETRICA metrics);
    BOOL(WINAPI* getTextExtent)(HDC dc, LPCSTR text, int length, LPSIZE size);
    int(WINAPI* getDeviceCaps)(HDC dc, int index);
    int(WINAPI* startDoc)(HDC dc, const DOCINFOA* document);
    int(WINAPI* startPage)(HDC dc);
    BOOL(WINAPI* textOut)(HDC dc, int x, int y, LPCSTR text, int length);
    int(WINAPI* endPage)(HDC dc);
    int(WINAPI* endDoc)(HDC dc);
    int(WINAPI* abortDoc)(HDC dc);
    BOOL(WINAPI* deleteDC)(HDC dc);
};

// The calls in use: the system's own unless a test replaced them.
const PrintCalls& Printing();

// TEST SEAM: every printing call of the consumables reports goes through
// `calls` from now on (the record must outlive its use); null restores the
// system's calls. To replace only some calls, copy Printing() first and
// change those members. For tests only.
void TestSeam_UsePrintCalls(const PrintCalls* calls);
