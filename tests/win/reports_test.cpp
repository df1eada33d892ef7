// The detail window's three outputs, run in this process under a plain
// owner window standing in for the detail window: both printed reports
// through the printing seam (every document, page and line recorded with its
// place and its bytes), the text file through the real Save As dialog and
// message boxes, and both reports once through Wine's real GDI printing to a
// PostScript printer whose port writes to a file.
#include <windows.h>
#include <commdlg.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "panel/consumables/consumables_reports.h"
#include "panel/consumables/print_calls.h"
#include "panel/core/settings_file_rules.h"
#include "panel/records/folders.h"
#include "panel/records/panel_records.h"
#include "tests/core/consumables_report_expected.h"
#include "tests/win/dialog_driver.h"
#include "tests/win/wait_until.h"

namespace {

using namespace report_expected;

const char kCaption[] = "KOA koa2400Max-R/koa2600Max-R リモートパネル";
const char kReportTitle[] = "KOA koa2400Max-R/koa2600Max-R リモートパネル  消耗品情報印刷";
const char kReportDocument[] = "KOA koa2400Max-R/koa2600Max-R リモートパネル  消耗品情報";
const char kErrorLogTitle[] = "KOA koa2400Max-R/koa2600Max-R リモートパネル  エラーログ印刷";
const char kErrorLogDocument[] = "KOA koa2400Max-R/koa2600Max-R リモートパネル  エラーログ";
const char kSaveTitle[] = "消耗品情報及びエラーログをファイルへ保存";
const char kExists[] =
    "指定した名前の消耗品情報及びエラーログファイルは既に存在しています。\n\n消耗品情報及びエラーログを上書きしますか？";
const char kLocked[] =
    "既存の設定ファイルは上書き禁止になっています。\n\nファイルの属性を変更していただくか、他のファイルを選択してください。";
const char kUnwritten[] =
    "消耗品情報及びエラーログファイルの書き込みに失敗しました。\n\n"
    "消耗品情報及びエラーログは保存されていません。ディスクの空き容量などを確認してください。";
const DWORD kPrintFlags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE | PD_ENABLEPRINTHOOK;

// ---- the printing seam ------------------------------------------------------

struct Line {
    int x;
    int y;
    std::string text;
    std::string face;  // the font it was drawn in
    BYTE charset;
    LONG fontHeight;
};

struct Document {
    std::string name;
    std::vector<std::vector<Line>> pages;
    bool ended = false;
    bool aborted = false;
};

// What the printer does in a test, and what the report did with it.
struct Printer {
    // The script.
    BOOL choose = TRUE;
    WORD copies = 1;
    // The printer's own font is 60 high; any other font reports its cell
    // 10 lower than the height it was made with, so that a line height taken
    // from the wrong font shows. Every byte is half the font's height wide.
    int defaultFontHeight = 60;
    int reportLineHeight = 50;  // the report's font made at 60
    int pageHeight = 3300;
    int pageWidth = 2400;
    int refuseStartPage = 0;     // the n-th StartPage fails (0: none)
    BOOL metrics = TRUE;

    // Seen.
    int dialogs = 0;
    HWND owner = nullptr;
    DWORD flags = 0;
    std::string title;  // what the hook made of the dialog's title
    HDC dc = nullptr;
    HGDIOBJ ownFont = nullptr;  // the context's font as it came
    std::vector<Document> documents;
    int startPages = 0;
    int metricsCalls = 0;
    int deletes = 0;
    bool drawnAfterDelete = false;
};

Printer* g_printer = nullptr;

BOOL WINAPI FakePrintDlg(LPPRINTDLGA dialog) {
    Printer& p = *g_printer;
    ++p.dialogs;
    p.owner = dialog->hwndOwner;
    p.flags = dialog->Flags;
    // The hook gets the dialog's first message on a window of its own.
    HWND window = CreateWindowExA(0, "STATIC", "untitled", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if ((dialog->Flags & PD_ENABLEPRINTHOOK) && dialog->lpfnPrintHook)
        dialog->lpfnPrintHook(window, WM_INITDIALOG, 0, reinterpret_cast<LPARAM>(dialog));
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    p.title = title;
    DestroyWindow(window);
    if (!p.choose) return FALSE;
    // A real context, so that the report's font can be made and selected.
    p.dc = CreateCompatibleDC(nullptr);
    p.ownFont = GetCurrentObject(p.dc, OBJ_FONT);
    dialog->hDC = p.dc;
    dialog->nCopies = p.copies;
    dialog->hDevMode = GlobalAlloc(GMEM_MOVEABLE, 64);
    dialog->hDevNames = GlobalAlloc(GMEM_MOVEABLE, 64);
    return TRUE;
}

bool OurDc(HDC dc) { return g_printer->dc && dc == g_printer->dc && g_printer->deletes == 0; }

// The height of the selected font: the printer's own, or the one a font
// was made with.
LONG FontHeight(HDC dc) {
    if (GetCurrentObject(dc, OBJ_FONT) == g_printer->ownFont) return g_printer->defaultFontHeight;
    LOGFONTA font = {};
    GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
    return font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
}

BOOL WINAPI FakeGetTextMetrics(HDC dc, LPTEXTMETRICA metrics) {
    ++g_printer->metricsCalls;
    if (!OurDc(dc) || !g_printer->metrics) return FALSE;
    *metrics = TEXTMETRICA();
    const bool own = GetCurrentObject(dc, OBJ_FONT) == g_printer->ownFont;
    metrics->tmHeight = own ? g_printer->defaultFontHeight : FontHeight(dc) - 10;
    return TRUE;
}

BOOL WINAPI FakeGetTextExtent(HDC dc, LPCSTR, int length, LPSIZE size) {
    if (!OurDc(dc)) return FALSE;
    size->cx = length * (FontHeight(dc) / 2);
    size->cy = FontHeight(dc);
    return TRUE;
}

int WINAPI FakeGetDeviceCaps(HDC dc, int index) {
    if (index == VERTRES) return g_printer->pageHeight;
    if (index == HORZRES) return g_printer->pageWidth;
    return GetDeviceCaps(dc, index);
}

int WINAPI FakeStartDoc(HDC dc, const DOCINFOA* info) {
    if (!OurDc(dc)) return SP_ERROR;
    Document document;
    document.name = info && info->lpszDocName ? info->lpszDocName : "<none>";
    g_printer->documents.push_back(document);
    return static_cast<int>(g_printer->documents.size());
}

int WINAPI FakeStartPage(HDC dc) {
    if (!OurDc(dc) || g_printer->documents.empty()) return SP_ERROR;
    if (++g_printer->startPages == g_printer->refuseStartPage) return SP_ERROR;
    g_printer->documents.back().pages.emplace_back();
    return 1;
}

BOOL WINAPI FakeTextOut(HDC dc, int x, int y, LPCSTR text, int length) {
    if (!OurDc(dc)) g_printer->drawnAfterDelete = true;
    if (g_printer->documents.empty() || g_printer->documents.back().pages.empty()) return FALSE;
    LOGFONTA font = {};
    GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
    g_printer->documents.back().pages.back().push_back(
        {x, y, std::string(text, static_cast<std::size_t>(length)), font.lfFaceName, font.lfCharSet, font.lfHeight});
    return TRUE;
}

int WINAPI FakeEndPage(HDC dc) { return OurDc(dc) ? 1 : SP_ERROR; }

int WINAPI FakeEndDoc(HDC dc) {
    if (!OurDc(dc) || g_printer->documents.empty()) return SP_ERROR;
    g_printer->documents.back().ended = true;
    return 1;
}

int WINAPI FakeAbortDoc(HDC dc) {
    if (!OurDc(dc) || g_printer->documents.empty()) return SP_ERROR;
    g_printer->documents.back().aborted = true;
    return 1;
}

BOOL WINAPI FakeDeleteDC(HDC dc) {
    if (dc != g_printer->dc) return FALSE;
    ++g_printer->deletes;
    return DeleteDC(dc);
}

const PrintCalls kFakePrinting = {
    FakePrintDlg, FakeGetTextMetrics, FakeGetTextExtent, FakeGetDeviceCaps, FakeStartDoc, FakeStartPage,
    FakeTextOut,  FakeEndPage,        FakeEndDoc,        FakeAbortDoc,      FakeDeleteDC,
};

// ---- the fixture ------------------------------------------------------------

class Reports : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(AllocateGlobals());
        detail = CreateWindowExA(0, "STATIC", "reporttests detail", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(detail);
        MainWindow = detail;
        ConsumablesWindows.detail = detail;
    }

    void SetUp() override {
        *Counters = Answered();
        std::memcpy(PrinterVersion, kVersion, sizeof kVersion);
        ASSERT_TRUE(CopyPathWhole(CurrentTarget.PrinterName, sizeof CurrentTarget.PrinterName, kName));
        g_printer = &printer;
        TestSeam_UsePrintCalls(&kFakePrinting);

        folder = FreshDataFolder("koa-reporttests");
        ASSERT_FALSE(folder.empty());
    }

    void TearDown() override {
        TestSeam_UsePrintCalls(nullptr);
        TestSeam_UseReportFileWrite(nullptr);
        g_printer = nullptr;
        RemoveTree(folder);
    }

    // The file dialog with `name` typed and OK pressed, then the `after` steps.
    std::vector<Seen> Save(const std::string& name, std::vector<Step> after = {}) {
        after.insert(after.begin(), Step{kSaveTitle, IDOK, name});
        return Drive(after, SaveConsumablesReport);
    }

    static HWND detail;
    Printer printer;
    std::string folder;
};

HWND Reports::detail = nullptr;

// Every non-empty line of `expected` at x 20 and y = its number times the
// line height, in that order, drawn in the report's font.
void ExpectLines(const std::vector<Line>& drawn, const std::vector<std::string>& expected, int lineHeight,
                 int firstLine = 1) {
    std::vector<Line> wanted;
    for (std::size_t k = 0; k < expected.size(); ++k)
        if (!expected[k].empty())
            wanted.push_back({20, static_cast<int>(k + 1) * lineHeight, expected[k], "", 0, 0});
    ASSERT_EQ(wanted.size(), drawn.size());
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_EQ(wanted[i].text, drawn[i].text) << "line " << i + firstLine;
        EXPECT_EQ(wanted[i].x, drawn[i].x) << drawn[i].text;
        EXPECT_EQ(wanted[i].y, drawn[i].y) << drawn[i].text;
        EXPECT_EQ("ＭＳ ゴシック", drawn[i].face);
        EXPECT_EQ(SHIFTJIS_CHARSET, drawn[i].charset);
    }
}

// ---- printed reports --------------------------------------------------------

// Three copies asked for: three documents of one page each, every line in
// place and byte for byte the hand-written report, the widest count included.
TEST_F(Reports, ConsumablesReportIsOneDocumentPerCopyAsWrittenByHand) {
    printer.copies = 3;
    PrintConsumablesReport();
    EXPECT_EQ(1, printer.dialogs);
    EXPECT_EQ(detail, printer.owner);
    EXPECT_EQ(kPrintFlags, printer.flags);
    EXPECT_EQ(kReportTitle, printer.title);
    ASSERT_EQ(3u, printer.documents.size());
    for (const Document& document : printer.documents) {
        EXPECT_EQ(kReportDocument, document.name);
        EXPECT_TRUE(document.ended);
        EXPECT_FALSE(document.aborted);
        ASSERT_EQ(1u, document.pages.size());
        ExpectLines(document.pages[0], ConsumablesLines(), printer.reportLineHeight);
        // The report's font is made at the printer's own font height.
        EXPECT_EQ(printer.defaultFontHeight, document.pages[0].front().fontHeight);
    }
    EXPECT_EQ("  ヘッドピンカウンター #01 =  4294967295打", printer.documents[0].pages[0][1].text);
    EXPECT_EQ(1, printer.deletes);
    EXPECT_FALSE(printer.drawnAfterDelete);
}

TEST_F(Reports, ErrorLogIsItsOwnDocumentWithTheModelNamesOfTheOtherTitles) {
    PrintErrorLog();
    EXPECT_EQ(detail, printer.owner);
    EXPECT_EQ(kPrintFlags, printer.flags);
    EXPECT_EQ(kErrorLogTitle, printer.title);
    ASSERT_EQ(1u, printer.documents.size());
    EXPECT_EQ(kErrorLogDocument, printer.documents[0].name);
    EXPECT_TRUE(printer.documents[0].ended);
    ASSERT_EQ(1u, printer.documents[0].pages.size());
    ExpectLines(printer.documents[0].pages[0], ErrorLogLines(), printer.reportLineHeight);
    EXPECT_EQ(1, printer.deletes);
}

TEST_F(Reports, CancelledPrintDialogPrintsNothing) {
    printer.choose = FALSE;
    PrintConsumablesReport();
    PrintErrorLog();
    EXPECT_EQ(2, printer.dialogs);
    EXPECT_EQ(kErrorLogTitle, printer.title);
    EXPECT_TRUE(printer.documents.empty());
    EXPECT_EQ(0, printer.metricsCalls);
    EXPECT_EQ(0, printer.deletes);
}

// 850 units hold 16 lines below the first's place: lines 17 to 31 go on a
// second page of the same document, starting at the first line's place.
TEST_F(Reports, AShortPageContinuesOnASecondPageOfTheSameDocument) {
    printer.copies = 2;
    printer.pageHeight = 850;
    PrintConsumablesReport();
    ASSERT_EQ(2u, printer.documents.size());
    const std::vector<std::string> lines = ConsumablesLines();
    for (const Document& document : printer.documents) {
        EXPECT_TRUE(document.ended);
        ASSERT_EQ(2u, document.pages.size());
        ExpectLines(document.pages[0], {lines.begin(), lines.begin() + 16}, 50);
        ExpectLines(document.pages[1], {lines.begin() + 16, lines.end()}, 50, 17);
        for (const auto& page : document.pages)
            for (const Line& line : page) EXPECT_LE(line.y + 50, 850) << line.text;
    }
}

// A page the printer refuses abandons its document and the copies after it.
TEST_F(Reports, ARefusedPageAbandonsTheDocumentAndTheCopiesAfterIt) {
    printer.copies = 3;
    printer.pageHeight = 850;
    printer.refuseStartPage = 2;
    PrintConsumablesReport();
    ASSERT_EQ(1u, printer.documents.size());
    EXPECT_TRUE(printer.documents[0].aborted);
    EXPECT_FALSE(printer.documents[0].ended);
    EXPECT_EQ(1, printer.deletes);
}

// A page too narrow for the error log's first line at the printer's font
// height: the font is made lower until the line fits, and the lines are
// spaced by that font's height.
TEST_F(Reports, ANarrowPageGetsALowerFontSoTheWidestLineFits) {
    printer.pageWidth = 1000;  // 58 bytes at 30 units each would need 1760
    PrintErrorLog();
    ASSERT_EQ(1u, printer.documents.size());
    ASSERT_EQ(1u, printer.documents[0].pages.size());
    const std::vector<Line>& drawn = printer.documents[0].pages[0];
    ASSERT_FALSE(drawn.empty());
    const LONG height = drawn.front().fontHeight;
    EXPECT_LT(height, printer.defaultFontHeight);
    EXPECT_GE(height, printer.defaultFontHeight / 2);  // no lower than it must be
    ExpectLines(drawn, ErrorLogLines(), height - 10);
    for (const Line& line : drawn) {
        EXPECT_EQ(height, line.fontHeight);
        EXPECT_LE(20 + static_cast<LONG>(line.text.size()) * (height / 2), 1000) << line.text;
    }
}

// Without the printer's text metrics there is no line height: nothing is
// drawn, and the context is let go all the same.
TEST_F(Reports, WithoutTextMetricsNothingIsDrawn) {
    printer.metrics = FALSE;
    PrintErrorLog();
    EXPECT_TRUE(printer.documents.empty());
    EXPECT_EQ(1, printer.deletes);
}

// ---- the text file ----------------------------------------------------------

TEST_F(Reports, SavedFileIsTheHandWrittenFileByteForByte) {
    const auto seen = Save("report");  // the dialog adds the extension
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(kSaveTitle, seen[0].title);
    EXPECT_EQ(detail, seen[0].owner);
    EXPECT_EQ(folder, seen[0].folder);
    EXPECT_EQ("テキストファイル(*.txt)", seen[0].filter);
    EXPECT_FALSE(seen[0].readOnlyBox);
    EXPECT_EQ(FileBytes(), ReadFileBytes(folder + "\\report.txt"));
    EXPECT_EQ(std::vector<std::string>{"report.txt"}, FolderEntries(folder));  // nothing left beside it
}

// No asks for a name again, in an emptied dialog, and keeps the file; Yes
// replaces the whole (longer) file.
TEST_F(Reports, OverwriteAsksAgainOnNoAndReplacesTheWholeFileOnYes) {
    const std::string old(20000, 'x');
    WriteFileBytes(folder + "\\keep.txt", old);
    auto seen = Save("keep.txt", {{kCaption, IDNO}, {kSaveTitle, IDCANCEL}});
    ASSERT_EQ(3u, seen.size());
    EXPECT_EQ(kExists, seen[1].text);
    EXPECT_EQ(LoadIconA(nullptr, IDI_QUESTION), seen[1].icon);
    EXPECT_EQ(detail, seen[1].owner);
    EXPECT_EQ("", seen[2].name);
    EXPECT_EQ(old, ReadFileBytes(folder + "\\keep.txt"));

    seen = Save("keep.txt", {{kCaption, IDNO}, {kSaveTitle, IDOK, "keep.txt"}, {kCaption, IDYES}});
    ASSERT_EQ(4u, seen.size());
    EXPECT_EQ(kExists, seen[3].text);
    EXPECT_EQ(FileBytes(), ReadFileBytes(folder + "\\keep.txt"));
    EXPECT_EQ(std::vector<std::string>{"keep.txt"}, FolderEntries(folder));
}

TEST_F(Reports, ReadOnlyTargetGetsTheWriteProtectionMessageAndStaysAsItWas) {
    const std::string target = folder + "\\locked.txt";
    WriteFileBytes(target, "old");
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    const auto seen = Save("locked.txt", {{kCaption, IDYES}, {kCaption, IDOK}});
    ASSERT_EQ(3u, seen.size());
    EXPECT_EQ(kLocked, seen[2].text);
    EXPECT_EQ(LoadIconA(nullptr, IDI_HAND), seen[2].icon);
    EXPECT_EQ(detail, seen[2].owner);
    EXPECT_EQ("old", ReadFileBytes(target));
    EXPECT_TRUE(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(std::vector<std::string>{"locked.txt"}, FolderEntries(folder));
}

// Half the bytes go to the disk, then the disk is full.
bool FailHalfWay(void* file, const void* bytes, unsigned long count, unsigned long* written) {
    DWORD done = 0;
    WriteFile(static_cast<HANDLE>(file), bytes, count / 2, &done, nullptr);
    *written = done;
    SetLastError(ERROR_DISK_FULL);
    return false;
}

// A write failing half-way says so and leaves no file, or the old one whole.
TEST_F(Reports, AWriteFailingHalfWayLeavesNoFileOrTheOldOne) {
    TestSeam_UseReportFileWrite(FailHalfWay);
    auto seen = Save("new.txt", {{kCaption, IDOK}});
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ(kUnwritten, seen[1].text);
    EXPECT_EQ(LoadIconA(nullptr, IDI_HAND), seen[1].icon);
    EXPECT_EQ(detail, seen[1].owner);
    EXPECT_TRUE(FolderEntries(folder).empty());

    WriteFileBytes(folder + "\\keep.txt", "old report");
    seen = Save("keep.txt", {{kCaption, IDYES}, {kCaption, IDOK}});
    ASSERT_EQ(3u, seen.size());
    EXPECT_EQ(kUnwritten, seen[2].text);
    EXPECT_EQ("old report", ReadFileBytes(folder + "\\keep.txt"));
    EXPECT_EQ(std::vector<std::string>{"keep.txt"}, FolderEntries(folder));
}

// ---- printing for real ------------------------------------------------------

const char kRealPrinter[] = "KOA Report PostScript";
const char kRealDriver[] = "KOA Report PostScript Driver";
const char kRealPort[] = "LPT3:";
const char kPpdName[] = "koareport.ppd";

// An A4 PostScript printer at 300 dpi: enough for Wine's driver to give the
// page its size.
const char kPpd[] =
    "*PPD-Adobe: \"4.3\"\r\n"
    "*FormatVersion: \"4.3\"\r\n"
    "*FileVersion: \"1.0\"\r\n"
    "*LanguageVersion: English\r\n"
    "*LanguageEncoding: ISOLatin1\r\n"
    "*PCFileName: \"KOAREP.PPD\"\r\n"
    "*Manufacturer: \"KOA\"\r\n"
    "*Product: \"(KOA Report PostScript)\"\r\n"
    "*ModelName: \"KOA Report PostScript\"\r\n"
    "*ShortNickName: \"KOA Report PostScript\"\r\n"
    "*NickName: \"KOA Report PostScript\"\r\n"
    "*PSVersion: \"(3010.000) 0\"\r\n"
    "*LanguageLevel: \"3\"\r\n"
    "*ColorDevice: False\r\n"
    "*DefaultColorSpace: Gray\r\n"
    "*TTRasterizer: Type42\r\n"
    "*DefaultResolution: 300dpi\r\n"
    "*OpenUI *PageSize: PickOne\r\n"
    "*OrderDependency: 10 AnySetup *PageSize\r\n"
    "*DefaultPageSize: A4\r\n"
    "*PageSize A4/A4: \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice\"\r\n"
    "*CloseUI: *PageSize\r\n"
    "*OpenUI *PageRegion: PickOne\r\n"
    "*OrderDependency: 10 AnySetup *PageRegion\r\n"
    "*DefaultPageRegion: A4\r\n"
    "*PageRegion A4/A4: \"<</PageSize[595 842]/ImagingBBox null>>setpagedevice\"\r\n"
    "*CloseUI: *PageRegion\r\n"
    "*DefaultImageableArea: A4\r\n"
    "*ImageableArea A4/A4: \"18 18 577 824\"\r\n"
    "*DefaultPaperDimension: A4\r\n"
    "*PaperDimension A4/A4: \"595 842\"\r\n"
    "*DefaultFont: Courier\r\n"
    "*Font Courier: Standard \"(002.004S)\" Standard ROM\r\n";

// Where the port's jobs land: a folder of the build, seen by the port's
// command as a Unix path and by this program through Wine's Z: drive.
std::string JobsFolderUnix() { return KOA_REPORT_PRINT_DIR; }
std::string WindowsPath(std::string unixPath) {
    std::replace(unixPath.begin(), unixPath.end(), '/', '\\');
    return "Z:" + unixPath;
}

std::size_t CountOf(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
    return n;
}

// A document's name as the PostScript driver writes it in the job's title:
// a string with every byte outside printable ASCII in octal.
std::string PostScriptTitle(const std::string& name) {
    std::string title = "%%Title: (";
    for (unsigned char byte : name) {
        char octal[8];
        if (byte < 0x20 || byte >= 0x7F) std::snprintf(octal, sizeof octal, "\\%03o", byte);
        else std::snprintf(octal, sizeof octal, "%c", byte);
        title += octal;
    }
    return title + ")";
}

// The documents of a file of PostScript jobs, one after the other.
std::vector<std::string> SplitJobs(const std::string& jobs) {
    std::vector<std::string> documents;
    const std::string start = "%!PS-Adobe";
    for (std::size_t at = jobs.find(start); at != std::string::npos;) {
        const std::size_t next = jobs.find(start, at + start.size());
        documents.push_back(jobs.substr(at, next == std::string::npos ? std::string::npos : next - at));
        at = next;
    }
    return documents;
}

class RealPrinting : public Reports {
protected:
    void SetUp() override {
        Reports::SetUp();
        TestSeam_UsePrintCalls(nullptr);  // Wine's own dialog and GDI

        char driverFolder[MAX_PATH] = {};
        DWORD needed = 0;
        ASSERT_TRUE(GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(driverFolder),
                                               sizeof driverFolder, &needed));
        WriteFileBytes(std::string(driverFolder) + "\\" + kPpdName, kPpd);
        DRIVER_INFO_3A driver = {};
        driver.cVersion = 3;
        driver.pName = const_cast<char*>(kRealDriver);
        driver.pDriverPath = const_cast<char*>("wineps.drv");
        driver.pDataFile = const_cast<char*>(kPpdName);
        driver.pConfigFile = const_cast<char*>("wineps.drv");
        if (!AddPrinterDriverA(nullptr, 3, reinterpret_cast<LPBYTE>(&driver))) {
            ASSERT_EQ(static_cast<DWORD>(ERROR_PRINTER_DRIVER_ALREADY_INSTALLED), GetLastError());
        }

        CreateDirectoryA(WindowsPath(JobsFolderUnix()).c_str(), nullptr);
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\Printing\\Spooler", 0, nullptr,
                                                 0, KEY_SET_VALUE, nullptr, &key, nullptr));
        const std::string command = "|cat >> " + JobsFolderUnix() + "/jobs.ps";
        RegSetValueExA(key, kRealPort, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>(command.size() + 1));
        RegCloseKey(key);

        RemovePrinter();
        PRINTER_INFO_2A info = {};
        info.pPrinterName = const_cast<char*>(kRealPrinter);
        info.pPortName = const_cast<char*>(kRealPort);
        info.pDriverName = const_cast<char*>(kRealDriver);
        info.pPrintProcessor = const_cast<char*>("winprint");
        info.pDatatype = const_cast<char*>("RAW");
        HANDLE added = AddPrinterA(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
        ASSERT_TRUE(added) << GetLastError();
        ClosePrinter(added);
        char previous[256] = {};
        DWORD size = sizeof previous;
        if (GetDefaultPrinterA(previous, &size)) previousDefault = previous;
        ASSERT_TRUE(SetDefaultPrinterA(kRealPrinter));
    }

    void TearDown() override {
        if (!previousDefault.empty()) SetDefaultPrinterA(previousDefault.c_str());
        RemovePrinter();
        Reports::TearDown();
    }

    static void RemovePrinter() {
        PRINTER_DEFAULTSA access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        HANDLE handle = nullptr;
        if (!OpenPrinterA(const_cast<char*>(kRealPrinter), &handle, &access)) return;
        DeletePrinter(handle);
        ClosePrinter(handle);
    }

    // The report printed through the real print dialog with three copies
    // typed into it; the documents that reached the port, the first of them
    // also kept as `keep` in the jobs folder (scripts/lib/print-reports-to-png.sh
    // renders it).
    std::vector<std::string> PrintThreeCopies(void (*print)(), const std::string& title, const char* keep) {
        const std::string folder = WindowsPath(JobsFolderUnix());
        const std::string jobs = folder + "\\jobs.ps";
        DeleteFileA(jobs.c_str());
        const auto typeThree = [title] {
            SetDlgItemTextA(FindWindowA("#32770", title.c_str()), 0x482, "3");  // edt3: the copies
            // KOA_REPORT_HOLD_DIALOG_MS keeps the dialog up that long, for a
            // picture of it.
            char hold[16] = {};
            if (GetEnvironmentVariableA("KOA_REPORT_HOLD_DIALOG_MS", hold, sizeof hold) > 0)
                Sleep(std::strtoul(hold, nullptr, 10) % 60000);
        };
        const auto seen = Drive({{title, IDOK, "", typeThree}}, print);
        EXPECT_EQ(1u, seen.size());
        if (!seen.empty()) {
            EXPECT_EQ(detail, seen[0].owner);
        }
        std::vector<std::string> documents;
        WaitUntil([&] { return (documents = SplitJobs(ReadFileBytes(jobs))).size() >= 3; }, 20000);
        if (!documents.empty()) WriteFileBytes(folder + "\\" + keep, documents[0]);
        return documents;
    }

    std::string previousDefault;
};

// Each document is one job at the port: three copies make three, each one
// page long, each named as the report's documents are.
TEST_F(RealPrinting, BothReportsReachThePrinterAsThreeOnePageDocumentsEach) {
    const struct {
        void (*print)();
        const char* title;
        const char* document;
        const char* keep;
    } reports[] = {
        {PrintConsumablesReport, kReportTitle, kReportDocument, "consumables.ps"},
        {PrintErrorLog, kErrorLogTitle, kErrorLogDocument, "errorlog.ps"},
    };
    for (const auto& report : reports) {
        const std::vector<std::string> documents = PrintThreeCopies(report.print, report.title, report.keep);
        ASSERT_EQ(3u, documents.size()) << report.document;
        for (const std::string& document : documents) {
            EXPECT_EQ(1u, CountOf(document, PostScriptTitle(report.document))) << report.document;
            EXPECT_EQ(1u, CountOf(document, "%%Page: ")) << report.document;
            EXPECT_EQ(1u, CountOf(document, "showpage")) << report.document;
            EXPECT_NE(std::string::npos, document.find("%%EOF")) << report.document;
        }
    }
}

}  // namespace
