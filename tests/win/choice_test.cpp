// The printer choice dialog and the checks before a command, run in this
// process with the panel's resources: test printers in Wine's spooler for
// what it can show, a scripted spooler for the rest.
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "link/choice/choice_ids.h"
#include "link/choice/choice_texts.h"
#include "link/choice/printer_choice.h"
#include "panel/shell/choice_ui.h"
#include "panel/shell/main_window.h"
#include "panel/records/panel_records.h"
#include "tests/win/choice_support.h"
#include "tools/lmstand/test_printers.h"

namespace {

const DWORD kBidi = PRINTER_ATTRIBUTE_ENABLE_BIDI;
const DWORD kOffline = PRINTER_ATTRIBUTE_WORK_OFFLINE;
enum { IconPrinter = 160, IconError = 181, IconInfo = 182, IconWarning = 183 };

struct TestPrinter {
    const char* name;
    const char* driver;
    const char* port;
    DWORD attributes;
    int kind;  // what the list and the choice make of it
    int model;
    int icon;
};

const TestPrinter kPrinters[] = {
    {"KOA Choice FILE", "KOA koa2400Max-R(0mm)", "FILE:", kBidi, 2, 17, IconInfo},
    {"KOA Choice LPT", "KOA koa2600Max-R(8.5mm)", "LPT1:", kBidi, 0, 18, IconPrinter},
    {"KOA Choice USB", "KOA koa2400Max-RN", "USB001", kBidi, 0, 17, IconPrinter},
    {"KOA Choice LAN", "KOA koa2600Max-RN", "192.168.10.20:lp", 0, 1, 18, IconPrinter},
    {"KOA Choice IPP", "KOA koa2400Max-R(8.5mm)", "http://192.168.10.21:631/ipp/USB1", kBidi, 0, 17, IconPrinter},
    {"KOA Choice lower usb", "KOA koa2600Max-R(0mm)", "usb001", kBidi, 16, 18, IconInfo},
    {"KOA Choice No Bidi", "KOA koa2400Max-R(0mm)", "LPT1:", 0, 4, 17, IconInfo},
    {"KOA Choice Offline", "KOA koa2600Max-RN", "USB002", kBidi | kOffline, 5, 18, IconInfo},
    {"KOA Choice Blank Driver", "KOA koa2400Max-R(0mm) ", "LPT1:", kBidi, 0, 240, IconError},
    {"KOA Choice Case Driver", "KOA KOA2600MAX-RN", "USB001", kBidi, 0, 240, IconError},
    {"KOA Choice Prefix Driver", "KOA koa2400Max-R", "LPT1:", kBidi, 0, 240, IconError},
    {"KOA Choice Other", "Other Make Laser", "LPT1:", kBidi, 0, 240, IconError},
};

const char kAdded[] = "KOA Choice Added";
const char kTemporary[] = "KOA Choice Temporary";

class ChoiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ConnectPrinterChoice();
        UseFakeSpooler(nullptr);
        std::memset(&CurrentTarget, 0, sizeof CurrentTarget);
        // The owner of the checks' messages.
        MainWindow = CreateWindowExA(0, "STATIC", "main", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
    }
    void TearDown() override {
        UseFakeSpooler(nullptr);
        DestroyWindow(MainWindow);
        MainWindow = nullptr;
    }

    // Runs the dialog, picks the row of `name` and presses OK (or double-clicks it).
    PrinterChoiceResult Choose(const std::string& name, bool doubleClick = false) {
        bool found = false;
        const ChoiceRun run = RunChoice([&](HWND dialog) {
            const int row = FindRow(ReadRows(dialog), name);
            if (!(found = row >= 0)) return;
            FocusRow(dialog, row);
            if (doubleClick)
                DoubleClickRow(dialog, row);
            else
                Press(dialog, IDC_CHOICE_OK);
        });
        EXPECT_TRUE(found) << name;
        EXPECT_FALSE(run.scriptLeftItOpen) << name;
        return run.result;
    }

    // Waits for the `n`th box since the answerer started and returns it.
    static BoxWatcher::Box NthBox(const BoxWatcher& boxes, std::size_t n) {
        EXPECT_TRUE(WaitUntil([&] { return boxes.Count() >= n; })) << "box " << n;
        const auto shown = boxes.Boxes();
        return shown.size() >= n ? shown[n - 1] : BoxWatcher::Box{"", "<none>", nullptr, 0};
    }
};

// --- Wine's spooler --------------------------------------------------------

class ChoiceSpooler : public ChoiceTest {
protected:
    static void SetUpTestSuite() {
        std::string error;
        for (const TestPrinter& printer : kPrinters)
            ASSERT_TRUE(AddTestPrinter(printer.name, printer.driver, printer.port, printer.attributes, &error)) << error;
    }
    static void TearDownTestSuite() {
        for (const TestPrinter& printer : kPrinters) DeleteTestPrinter(printer.name);
        DeleteTestPrinter(kAdded);
        DeleteTestPrinter(kTemporary);
    }
};

TEST_F(ChoiceSpooler, ListShowsEveryPrinterWithItsPortAndIcon) {
    std::strcpy(CurrentTarget.PrinterName, "before");
    std::vector<ChoiceRow> rows;
    std::vector<std::string> images;
    int widths[2] = {0, 0}, widest[2] = {0, 0}, focused = 0;
    const ChoiceRun run = RunChoice([&](HWND dialog) {
        rows = ReadRows(dialog);
        for (const ChoiceRow& row : rows) images.push_back(RowImage(dialog, row.image));
        HWND list = ChoiceList(dialog);
        for (int column = 0; column < 2; ++column) {
            widths[column] = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
            for (const ChoiceRow& row : rows) {
                const std::string& cell = column ? row.port : row.name;
                const LPARAM text = reinterpret_cast<LPARAM>(cell.c_str());
                const int width = static_cast<int>(SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, text));
                widest[column] = std::max(widest[column], width);
            }
        }
        focused = FocusedRow(dialog);
        Press(dialog, IDC_CHOICE_CANCEL);
    });
    EXPECT_EQ(run.result, PrinterChoiceCancelled);
    EXPECT_STREQ(CurrentTarget.PrinterName, "before") << "Cancel chooses nothing";
    EXPECT_EQ(focused, -1) << "no row is picked for the user";
    // Wide enough for the widest texts (and the icon in the first column).
    EXPECT_GE(widths[0], widest[0] + 16);
    EXPECT_GE(widths[1], widest[1]);

    const std::string printer = PanelIconImage(IconPrinter), info = PanelIconImage(IconInfo),
                      error = PanelIconImage(IconError);
    ASSERT_FALSE(printer.empty());
    ASSERT_TRUE(printer != info && printer != error && info != error);
    for (const TestPrinter& expected : kPrinters) {
        const int row = FindRow(rows, expected.name);
        ASSERT_GE(row, 0) << expected.name;
        EXPECT_EQ(rows[row].port, expected.port) << expected.name;
        const std::string& wanted = expected.icon == IconPrinter ? printer : expected.icon == IconInfo ? info : error;
        EXPECT_TRUE(images[row] == wanted) << expected.name << " should show icon " << expected.icon;
    }
}

// OK (a double click for the USB001 printers) takes the printer with its
// kind and model; then the check before a command reads the kind again and
// refuses a printer that cannot take commands with the kind's message.
TEST_F(ChoiceSpooler, ChoosingAPrinterGivesItsKindModelAndTheChecksVerdict) {
    BoxWatcher boxes;
    std::size_t shown = 0;
    for (const TestPrinter& expected : kPrinters) {
        std::memset(&CurrentTarget, 0, sizeof CurrentTarget);
        ASSERT_EQ(Choose(expected.name, expected.port == std::string("USB001")), PrinterChosen) << expected.name;
        EXPECT_STREQ(CurrentTarget.PrinterName, expected.name);
        EXPECT_STREQ(CurrentTarget.PortName, expected.port) << expected.name;
        EXPECT_STREQ(CurrentTarget.DriverName, expected.driver) << expected.name;
        EXPECT_EQ(CurrentTarget.ConnectionKind, expected.kind) << expected.name;
        EXPECT_EQ(static_cast<int>(CurrentTarget.Model), expected.model) << expected.name;
        EXPECT_EQ(CurrentTarget.QueuedJobs, 0) << expected.name;
        if (expected.model == 240) continue;
        CurrentTarget.ConnectionKind = -1;
        EXPECT_EQ(CheckPrinterReady(), expected.kind <= 1 ? PrinterReady : PrinterRefused) << expected.name;
        EXPECT_EQ(CurrentTarget.ConnectionKind, expected.kind) << expected.name;
        if (expected.kind <= 1) continue;
        const BoxWatcher::Box box = NthBox(boxes, ++shown);
        EXPECT_EQ(box.text, RefusalMessage(expected.kind).text) << expected.name;
        EXPECT_EQ(box.icon, IconInfo) << expected.name;
        EXPECT_EQ(box.owner, MainWindow) << expected.name;
    }
    EXPECT_FALSE(WaitUntil([&] { return boxes.Count() > shown; }, 100)) << "usable printers show nothing";
}

TEST_F(ChoiceSpooler, OkWithoutARowWarnsAndTheDialogStays) {
    BoxWatcher boxes;
    bool stayed = false;
    HWND shownBy = nullptr;
    const ChoiceRun run = RunChoice([&](HWND dialog) {
        shownBy = dialog;
        Press(dialog, IDC_CHOICE_OK);
        if (!WaitUntil([&] { return boxes.Count() == 1; })) return;
        // The box is gone, the dialog still there, the focus back on the list.
        stayed = WaitUntil([&] {
            GUITHREADINFO thread = {};
            thread.cbSize = sizeof thread;
            GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread);
            return IsWindowVisible(dialog) && thread.hwndFocus == ChoiceList(dialog);
        });
        FocusRow(dialog, FindRow(ReadRows(dialog), "KOA Choice LPT"));
        Press(dialog, IDC_CHOICE_OK);
    });
    EXPECT_EQ(run.result, PrinterChosen);
    EXPECT_TRUE(stayed);
    EXPECT_STREQ(CurrentTarget.PrinterName, "KOA Choice LPT");
    ASSERT_EQ(boxes.Count(), 1u);
    const BoxWatcher::Box box = boxes.Boxes()[0];
    EXPECT_EQ(box.text, NotSelectedMessage.text);
    EXPECT_EQ(box.icon, IconWarning);
    EXPECT_EQ(box.owner, shownBy);
}

TEST_F(ChoiceSpooler, PrintersAddedOrRemovedWhileOpenChangeTheListOnSettingChange) {
    DeleteTestPrinter(kAdded);
    std::vector<ChoiceRow> before, added, removed;
    std::string addedImage, error;
    int focusedAfter = -1;
    const ChoiceRun run = RunChoice([&](HWND dialog) {
        before = ReadRows(dialog);
        FocusRow(dialog, FindRow(before, "KOA Choice LPT"));
        if (!AddTestPrinter(kAdded, "KOA koa2400Max-R(0mm)", "USB003", 0, &error)) return;
        SendMessageA(dialog, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("Devices"));
        added = ReadRows(dialog);
        const int row = FindRow(added, kAdded);
        if (row >= 0) addedImage = RowImage(dialog, added[row].image);
        focusedAfter = FocusedRow(dialog);
        DeleteTestPrinter(kAdded);
        SendMessageA(dialog, WM_SETTINGCHANGE, 0, 0);
        removed = ReadRows(dialog);
        Press(dialog, IDC_CHOICE_OK);
    });
    ASSERT_TRUE(error.empty()) << error;
    EXPECT_EQ(run.result, PrinterChosen);
    EXPECT_EQ(FindRow(before, kAdded), -1);
    ASSERT_EQ(added.size(), before.size() + 1);
    ASSERT_GE(FindRow(added, kAdded), 0);
    EXPECT_EQ(added[FindRow(added, kAdded)].port, "USB003");
    EXPECT_TRUE(addedImage == PanelIconImage(IconInfo)) << "bidirectional support off: refused, information icon";
    EXPECT_EQ(removed.size(), before.size());
    EXPECT_EQ(FindRow(removed, kAdded), -1);
    EXPECT_EQ(focusedAfter, FindRow(added, "KOA Choice LPT")) << "the picked printer stays picked";
    EXPECT_STREQ(CurrentTarget.PrinterName, "KOA Choice LPT");
}

TEST_F(ChoiceSpooler, PrinterDeletedAfterTheChoiceIsReportedUntilItIsBack) {
    std::string error;
    ASSERT_TRUE(AddTestPrinter(kTemporary, "KOA koa2400Max-RN", "USB001", kBidi, &error)) << error;
    ASSERT_EQ(Choose(kTemporary), PrinterChosen);
    ASSERT_EQ(CurrentTarget.ConnectionKind, 0);
    BoxWatcher boxes;
    ASSERT_TRUE(DeleteTestPrinter(kTemporary));
    EXPECT_EQ(CheckPrinterReady(), PrinterDeleted);
    EXPECT_EQ(CurrentTarget.ConnectionKind, 16);
    const BoxWatcher::Box box = NthBox(boxes, 1);
    EXPECT_EQ(box.text, PrinterDeletedMessage.text);
    EXPECT_EQ(box.icon, IconInfo);
    EXPECT_EQ(CheckPrinterReady(), PrinterDeleted) << "still gone";
    ASSERT_TRUE(AddTestPrinter(kTemporary, "KOA koa2400Max-RN", "USB001", kBidi, &error)) << error;
    EXPECT_EQ(CheckPrinterReady(), PrinterReady);
    EXPECT_EQ(CurrentTarget.ConnectionKind, 0);
    EXPECT_FALSE(WaitUntil([&] { return boxes.Count() > 2; }, 100));
    DeleteTestPrinter(kTemporary);
}

// --- a scripted spooler ----------------------------------------------------

class ChoiceScripted : public ChoiceTest {
protected:
    void Use() { UseFakeSpooler(&spooler); }
    FakeSpooler spooler;
};

// Without bidirectional support nothing else counts; a paused printer, and
// one with a separator page, are refused with their own messages.
TEST_F(ChoiceScripted, PausedPrinterIsRefusedUnlessBidiIsOffToo) {
    spooler.printers = {{"Paused", "LPT1:"}, {"Paused No Bidi", "LPT1:", 0}, {"Separator", "USB001"}};
    spooler.printers[0].status = spooler.printers[1].status = PRINTER_STATUS_PAUSED;
    spooler.printers[2].separator = "C:\\windows\\pcl.sep";
    Use();
    ASSERT_EQ(Choose("Paused No Bidi"), PrinterChosen);
    EXPECT_EQ(CurrentTarget.ConnectionKind, 4);
    ASSERT_EQ(Choose("Separator"), PrinterChosen);
    EXPECT_EQ(CurrentTarget.ConnectionKind, 6);
    BoxWatcher boxes;
    EXPECT_EQ(CheckPrinterReady(), PrinterRefused);
    EXPECT_EQ(NthBox(boxes, 1).text, RefusalMessage(6).text);
    ASSERT_EQ(Choose("Paused"), PrinterChosen);
    EXPECT_EQ(CurrentTarget.ConnectionKind, 3);
    EXPECT_EQ(CheckPrinterReady(), PrinterRefused);
    EXPECT_EQ(NthBox(boxes, 2).text, RefusalMessage(3).text);
    spooler.printers[0].status = 0;  // resumed
    EXPECT_EQ(CheckPrinterReady(), PrinterReady);
    EXPECT_EQ(spooler.opens, spooler.closes);
}

TEST_F(ChoiceScripted, QueuedJobsRefuseEveryCommandUntilTheQueueIsEmpty) {
    spooler.printers = {{"Busy", "USB001"}, {"Busy LAN", "10.0.0.9:lp", 0}};
    spooler.printers[0].jobs = spooler.printers[1].jobs = 2;
    Use();
    ASSERT_EQ(Choose("Busy"), PrinterChosen);
    EXPECT_EQ(CurrentTarget.ConnectionKind, 0);
    EXPECT_EQ(CurrentTarget.QueuedJobs, 2);
    BoxWatcher boxes;
    EXPECT_EQ(CheckPrinterReady(), PrinterJobsQueued);
    spooler.printers[0].jobs = 1;
    EXPECT_EQ(CheckPrinterReady(), PrinterJobsQueued);
    for (std::size_t n = 1; n <= 2; ++n) {
        const BoxWatcher::Box box = NthBox(boxes, n);
        EXPECT_EQ(box.text, QueuedJobsMessage.text);
        EXPECT_EQ(box.icon, IconWarning);
        EXPECT_EQ(box.owner, MainWindow);
    }
    spooler.printers[0].jobs = 0;
    EXPECT_EQ(CheckPrinterReady(), PrinterReady);
    EXPECT_EQ(CurrentTarget.QueuedJobs, 0);

    ASSERT_EQ(Choose("Busy LAN"), PrinterChosen);
    EXPECT_EQ(CurrentTarget.ConnectionKind, 1);
    EXPECT_EQ(CheckPrinterReady(), PrinterJobsQueued) << "a LAN printer's queue counts too";
    EXPECT_FALSE(WaitUntil([&] { return boxes.Count() > 3; }, 100));
    EXPECT_EQ(spooler.opens, spooler.closes);
}

// A list that grows between the size query and the read is asked for
// again, but not for ever; a failed enumeration, or one without a printer
// of ours, shows no dialog at all.
TEST_F(ChoiceScripted, EnumerationRetriesAGrowingListAndGivesUpOnAFailedOne) {
    spooler.printers = {{"First", "LPT1:"}};
    spooler.arriving = {{"Arrived Meanwhile", "USB001"}};
    Use();
    std::vector<ChoiceRow> rows;
    RunChoice([&](HWND dialog) {
        rows = ReadRows(dialog);
        Press(dialog, IDC_CHOICE_CANCEL);
    });
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].name, "Arrived Meanwhile");
    EXPECT_EQ(spooler.enumCalls, 3);

    spooler.enumCalls = 0;
    spooler.arriving.assign(200, {"Another", "USB001"});
    EXPECT_EQ(RunChoice([](HWND) {}).result, NoSupportedPrinter);
    EXPECT_LT(spooler.enumCalls, 40);

    spooler.arriving.clear();
    spooler.enumCalls = 0;
    spooler.enumFailures = -1;
    const ChoiceRun run = RunChoice([](HWND) {});
    EXPECT_EQ(run.result, NoSupportedPrinter);
    EXPECT_FALSE(run.shown);
    EXPECT_EQ(spooler.enumCalls, 1) << "only a list too small for the printers is asked for again";

    spooler.enumFailures = 0;
    spooler.printers = {{"Laser", "LPT1:", kBidi, "Other Make Laser"}};
    EXPECT_EQ(RunChoice([](HWND) {}).result, NoSupportedPrinter) << "printers, but none of ours";
}

TEST_F(ChoiceScripted, LongAndBrokenNamesAreCutOrLeftEmpty) {
    const std::string longName = std::string(254, 'N') + "\x83\x76" + std::string(100, 'n');  // a kana at 255
    spooler.printers = {{longName, "USB" + std::string(400, 'p')}, {"unused", "LPT1:"}, {"Port Outside", "LPT1:"}};
    spooler.printers[1].nullFields = true;
    spooler.printers[2].portOutside = true;
    Use();
    std::vector<ChoiceRow> rows;
    std::vector<std::string> images;
    RunChoice([&](HWND dialog) {
        rows = ReadRows(dialog);
        for (const ChoiceRow& row : rows) images.push_back(RowImage(dialog, row.image));
        FocusRow(dialog, 0);
        Press(dialog, IDC_CHOICE_OK);
    });
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, std::string(254, 'N')) << "cut at 255 bytes without half a character";
    EXPECT_EQ(rows[0].port, "USB" + std::string(252, 'p'));
    EXPECT_EQ(rows[1].name, "");
    EXPECT_EQ(rows[1].port, "");
    EXPECT_TRUE(images[1] == PanelIconImage(IconError)) << "no driver name: not ours";
    EXPECT_EQ(rows[2].port, "") << "a pointer outside the spooler's block is not followed";
    EXPECT_TRUE(images[2] == PanelIconImage(IconInfo));
    // The cut name is no printer's name: the choice holds, the checks refuse.
    EXPECT_EQ(std::string(CurrentTarget.PrinterName), rows[0].name);
    EXPECT_EQ(CurrentTarget.ConnectionKind, 16);
    EXPECT_EQ(CurrentTarget.Model, ModelKoa2400MaxR);
}

TEST_F(ChoiceScripted, RecordThatCannotBeReadOrHadIsNoMessage) {
    spooler.printers = {{"Fine", "LPT1:"}};
    Use();
    ASSERT_EQ(Choose("Fine"), PrinterChosen);
    BoxWatcher boxes;
    spooler.recordFails = true;
    EXPECT_EQ(CheckPrinterReady(), PrinterStateUnreadable);
    spooler.recordFails = false;
    spooler.recordClaim = 0x7FFFFFF0;
    EXPECT_EQ(CheckPrinterReady(), PrinterCheckOutOfMemory);
    spooler.recordClaim = 0;
    spooler.recordGrowths = 2;  // changed twice between the size query and the read
    EXPECT_EQ(CheckPrinterReady(), PrinterReady);
    EXPECT_EQ(spooler.recordGrowths, 0);
    EXPECT_FALSE(WaitUntil([&] { return boxes.Count() > 0; }, 100));
    EXPECT_EQ(spooler.opens, spooler.closes);
}

TEST_F(ChoiceScripted, SettingChangeLeavingNoSupportedPrinterEndsTheDialog) {
    spooler.printers = {{"Ours", "LPT1:"}, {"Laser", "LPT2:", kBidi, "Other Make Laser"}};
    Use();
    const ChoiceRun run = RunChoice([&](HWND dialog) {
        spooler.printers.erase(spooler.printers.begin());
        SendMessageA(dialog, WM_SETTINGCHANGE, 0, 0);
    });
    EXPECT_EQ(run.result, NoSupportedPrinter);
    EXPECT_FALSE(run.scriptLeftItOpen);
}

// The first run with no supported printer in the list at all: the program
// says so and ends, without a read.
TEST_F(ChoiceScripted, NoSupportedPrinterAtAllEndsTheFirstRunWithItsMessage) {
    spooler.printers = {{"Laser", "LPT2:", kBidi, "Other Make Laser"}};
    Use();
    if (!CurrentSettings) {
        ASSERT_TRUE(AllocateGlobals());
    }
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    ASSERT_TRUE(RegisterMainWindowClass(instance));
    const HWND owner = MainWindow;
    BoxWatcher boxes;
    EXPECT_EQ(CreateMainWindow(instance, SW_HIDE), 0);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text,
              "選択できるプリンターにKOA koa2400Max-R/koa2600Max-R リモートパネル対応プリンターがありませんでした。\n\n"
              "KOA koa2400Max-R/koa2600Max-R リモートパネル対応プリンターをインストールしてください。");
    EXPECT_EQ(boxes.Boxes()[0].icon, IconError);
    if (MainWindow != owner) {
        DestroyWindow(MainWindow);
        MainWindow = owner;
    }
}

}  // namespace
