// The remote panel as a whole: veldra6.exe started as a child of this test,
// driven from here as a person would drive it (the printer choice, message
// boxes, pages, menu commands, the exit), against Wine's spooler, the
// language-monitor stand-in and the printer emulator behind it.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "link/channel/object_names.h"
#include "panel/core/page_layout.h"
#include "panel/core/setting_items.h"
#include "tests/win/e2e/e2e_support.h"
#include "tools/lmstand/test_printers.h"
#include "tools/paneldriver/panel_driver.h"

namespace {

using paneldriver::MessageBoxSeen;
using paneldriver::PanelDriver;

// Printers of this suite, with the drivers' exact names.
const char kLpt[] = "KOA Program LPT";
const char kUsb[] = "KOA Program USB";
const char kFile[] = "KOA Program FILE";
const char kIpp[] = "KOA Program IPP";
const char kOther[] = "KOA Program Other";

// The line of the progress window shown while the printer works.
const int kProgressText = 1252;

const std::string kRecovery = std::string(9, '\r') + "CANCEL  \r";
const std::string kExitQuestion = "KOA koa2400Max-R/koa2600Max-R リモートパネルを終了します。\n\n設定値を保存しますか？";
const std::string kFirstReadFailed = "プリンターから設定値の読み込みに失敗しました。\n続行しますか？";
const std::string kAlreadyRunning = "KOA koa2400Max-R/koa2600Max-R リモートパネルはすでに起動しています。";
const std::string kCommitQuestion = "設定値に変更しますか？";

// The page and list id that show an item.
bool ListOf(int item, int* page, int* listId) {
    for (int p = 0; p < PageCount; ++p) {
        for (int r = 0; r < PageRowCount(p); ++r) {
            if (PageRows(p)[r].recordByte == item) {
                *page = p;
                *listId = PageRows(p)[r].listId;
                return true;
            }
        }
    }
    return false;
}

// The user's application-data folder, as the program finds it; empty when
// it cannot be had.
std::string AppDataFolder() {
    typedef HRESULT(WINAPI * GetFolder)(HWND, int, HANDLE, DWORD, LPSTR);
    HMODULE shfolder = LoadLibraryA("shfolder.dll");
    if (!shfolder) return "";
    auto getFolder =
        reinterpret_cast<GetFolder>(reinterpret_cast<void (*)()>(GetProcAddress(shfolder, "SHGetFolderPathA")));
    char appData[MAX_PATH] = "";
    if (!getFolder || getFolder(nullptr, 26, nullptr, 0, appData) < 0) return "";
    return appData;
}

std::string Display(const char* name, const char* keyword) {
    std::string field = keyword;
    field.resize(8, ' ');
    const int item = SettingIndex(name);
    const char* text = SettingDisplayText(item, FindSettingValue(item, field.c_str()));
    return text ? text : "";
}

class PanelProgram : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        ASSERT_TRUE(InstallTestPrinters(&error)) << error;
        ASSERT_TRUE(AddTestPrinter(kLpt, "KOA koa2400Max-R(0mm)", "LPT1:", 0x800, &error)) << error;
        ASSERT_TRUE(AddTestPrinter(kUsb, "KOA koa2600Max-R(0mm)", "USB001", 0x800, &error)) << error;
        ASSERT_TRUE(AddTestPrinter(kFile, "KOA koa2400Max-RN", "FILE:", 0x800, &error)) << error;
        ASSERT_TRUE(AddTestPrinter(kIpp, "KOA koa2400Max-R(8.5mm)", "10.0.0.5:lp/ipp", 0x800, &error))
            << error;
        ASSERT_TRUE(AddTestPrinter(kOther, "Another Maker Printer", "LPT2:", 0x800, &error)) << error;
    }

    void TearDown() override {
        program_.Stop();
        second_.Stop();
        standIn_.Stop();
    }

    void Serve(const std::string& config, const std::string& jobs = "jobs-lpt.bin",
               const std::string& options = "") {
        ASSERT_TRUE(standIn_.Start(config, jobs, options)) << "language-monitor stand-in did not start";
    }

    void Start() {
        ASSERT_TRUE(program_.Start("\"" + ProgramDirectory() + "veldra6.exe\""));
        ASSERT_TRUE(driver_.Attach()) << driver_.error();
    }

    HWND WaitChoice() { return driver_.WaitDialogWithControl(paneldriver::ChoiceDialogList); }

    void Choose(const char* printer) {
        HWND choice = WaitChoice();
        ASSERT_TRUE(choice) << driver_.error();
        ASSERT_TRUE(driver_.ChoosePrinter(choice, printer)) << driver_.error();
    }

    // The next message box: its text, answered with `button`.
    std::string Answer(int button) {
        MessageBoxSeen box;
        if (!driver_.WaitMessageBox(&box)) return "(no message box: " + driver_.error() + ")";
        EXPECT_TRUE(driver_.AnswerMessageBox(box, button)) << driver_.error();
        return box.text;
    }

    // Answers every message box with OK until the one with `text`, which is
    // answered with `button`; the texts passed on the way are returned.
    std::vector<std::string> AnswerUntil(const std::string& text, int button) {
        std::vector<std::string> before;
        for (int i = 0; i < 6; ++i) {
            MessageBoxSeen box;
            if (!driver_.WaitMessageBox(&box)) break;
            if (box.text == text) {
                EXPECT_TRUE(driver_.AnswerMessageBox(box, button)) << driver_.error();
                return before;
            }
            before.push_back(box.text);
            driver_.AnswerMessageBox(box, IDOK);
        }
        ADD_FAILURE() << "no message box \"" << text << "\"";
        return before;
    }

    std::string ListText(const char* name) {
        int page = 0, listId = 0, row = -1;
        std::string text;
        if (!ListOf(SettingIndex(name), &page, &listId)) return "(no list)";
        if (!driver_.SelectTab(page) || !driver_.ListSelection(listId, &row, &text)) return "(" + driver_.error() + ")";
        return text;
    }

    void ExitWith(int answer) {
        ASSERT_TRUE(driver_.CloseMainWindow()) << driver_.error();
        EXPECT_EQ(Answer(answer), kExitQuestion);
        EXPECT_TRUE(driver_.WaitExit()) << driver_.error();
    }

    // The program gives the Read button the focus once the first read is
    // done (or ignored); until then the choice or the read holds it.
    bool WaitReadButtonFocused() {
        HWND read = driver_.WaitControl(paneldriver::SettingsReadButton);
        if (!read) return false;
        const DWORD thread = GetWindowThreadProcessId(read, nullptr);
        return WaitUntil(
            [&] {
                GUITHREADINFO info = {};
                info.cbSize = sizeof info;
                return GetGUIThreadInfo(thread, &info) && info.hwndFocus == read;
            },
            30000, 50);
    }

    // The progress window of a read comes and goes; the program's thread
    // answers messages again once the read has filled the pages.
    bool WaitReadDone() {
        HWND progress = driver_.WaitDialogWithControl(kProgressText);
        if (!progress || !driver_.WaitGone(progress)) return false;
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(driver_.WaitMainWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result) != 0 &&
               WaitReadButtonFocused();
    }

    // Chooses a printer and waits for the first read to fill the pages.
    void FirstRun(const char* printer = kLpt) {
        Choose(printer);
        ASSERT_TRUE(WaitReadDone()) << "the first read did not end: " << driver_.error();
    }

    StandIn standIn_;
    ChildProcess program_;
    ChildProcess second_;
    PanelDriver driver_;
};

TEST_F(PanelProgram, FirstRunShowsThePrintersSettingsOnItsPages) {
    Serve("model koa240MR\nvalue FRC-LFVA 8LPI\nvalue STANDBY 15min\nvalue FT-PAGEL 12LINE\n");
    Start();
    HWND choice = WaitChoice();
    ASSERT_TRUE(choice) << driver_.error();
    std::vector<paneldriver::ChoiceRow> rows;
    ASSERT_TRUE(driver_.ChoiceRows(choice, &rows)) << driver_.error();
    bool listed = false;
    for (const auto& row : rows) listed = listed || (row.printer == kLpt && row.port == "LPT1:");
    EXPECT_TRUE(listed);
    ASSERT_TRUE(driver_.ChoosePrinter(choice, kLpt)) << driver_.error();
    ASSERT_TRUE(WaitReadDone()) << "the first read did not end";

    EXPECT_EQ(ListText("FRC-LFVA"), Display("FRC-LFVA", "8LPI"));
    EXPECT_EQ(ListText("STANDBY"), Display("STANDBY", "15min"));
    EXPECT_EQ(ListText("FT-PAGEL"), Display("FT-PAGEL", "12LINE"));

    const std::size_t before = standIn_.Received().size();
    ExitWith(IDNO);
    // Nothing was left open: the exit sends nothing.
    EXPECT_EQ(standIn_.Received().size(), before);
}

TEST_F(PanelProgram, CancellingTheChoiceEndsWithoutAMessage) {
    Serve("model koa240MR\n");
    Start();
    HWND choice = WaitChoice();
    ASSERT_TRUE(choice) << driver_.error();
    PostMessageA(GetDlgItem(choice, paneldriver::ChoiceDialogCancel), BM_CLICK, 0, 0);
    EXPECT_TRUE(driver_.WaitExit()) << driver_.error();
    EXPECT_EQ(standIn_.Received(), "");
}

TEST_F(PanelProgram, RefusedPrintersOfferTheChoiceAgain) {
    Serve("model koa240MR\n");
    Start();
    Choose(kOther);
    EXPECT_EQ(Answer(IDOK),
              "選択されたプリンターはKOA koa2400Max-R/koa2600Max-R リモートパネルに対応していません。\n\n"
              "プリンターを選択し直してください。");
    Choose(kFile);
    EXPECT_EQ(Answer(IDOK).rfind("出力先がFILEになっています。", 0), 0u);
    // The third offer is taken: the program goes on with a usable printer.
    FirstRun();
    ExitWith(IDNO);
}

TEST_F(PanelProgram, AnIppPortEndsTheProgramAfterItsMessage) {
    Serve("model koa240MR\n");
    Start();
    Choose(kIpp);
    EXPECT_EQ(Answer(IDOK),
              "選択されたプリンターのポートはKOA koa2400Max-R/koa2600Max-R リモートパネル対応しておりません。\n\n"
              "ポートの設定を変更してください。");
    EXPECT_TRUE(driver_.WaitExit()) << driver_.error();
    EXPECT_EQ(standIn_.Received(), "");
}

TEST_F(PanelProgram, AFailedFirstReadRetriesWithTheChoice) {
    // The query fails: the read cannot finish.
    Serve("model koa240MR\n", "jobs-lpt.bin", "--fail-request 2");
    Start();
    Choose(kLpt);
    AnswerUntil(kFirstReadFailed, IDRETRY);
    // Retry offers the choice again; Cancel there ends the program.
    HWND choice = WaitChoice();
    ASSERT_TRUE(choice) << driver_.error();
    PostMessageA(GetDlgItem(choice, paneldriver::ChoiceDialogCancel), BM_CLICK, 0, 0);
    EXPECT_TRUE(driver_.WaitExit()) << driver_.error();
}

TEST_F(PanelProgram, IgnoringAFailedFirstReadShowsTheTemporarySettingsFile) {
    // The temporary file of an earlier run: its first bytes, then factory values.
    const std::string appData = AppDataFolder();
    ASSERT_FALSE(appData.empty());
    const std::string folder = appData + "\\KOA\\koa_verodorared";
    CreateDirectoryA((appData + "\\KOA").c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    SettingsRecord record;
    CopyFactoryDefaults(&record);
    std::string bytes(reinterpret_cast<const char*>(record.value), 10);
    std::string keyword = "8LPI";
    keyword.resize(8, ' ');
    bytes[SettingIndex("FRC-LFVA")] = static_cast<char>(FindSettingValue(SettingIndex("FRC-LFVA"), keyword.c_str()));
    ASSERT_TRUE(WriteWholeFile(folder + "\\veldra6.ini", bytes));

    Serve("model koa240MR\n", "jobs-lpt.bin", "--fail-request 2");
    Start();
    Choose(kLpt);
    AnswerUntil(kFirstReadFailed, IDIGNORE);
    ASSERT_TRUE(WaitReadButtonFocused());
    EXPECT_EQ(ListText("FRC-LFVA"), Display("FRC-LFVA", "8LPI"));
    DeleteFileA((folder + "\\veldra6.ini").c_str());
    ExitWith(IDNO);
}

TEST_F(PanelProgram, ASecondCopyIsRefusedAndTheFirstRunsOn) {
    Serve("model koa240MR\n");
    Start();
    ASSERT_TRUE(WaitChoice()) << driver_.error();
    ASSERT_TRUE(second_.Start("\"" + ProgramDirectory() + "veldra6.exe\""));
    PanelDriver any;  // the second copy's box belongs to another process
    MessageBoxSeen box;
    ASSERT_TRUE(any.WaitMessageBox(&box)) << any.error();
    EXPECT_EQ(box.text, kAlreadyRunning);
    EXPECT_TRUE(any.AnswerMessageBox(box, IDOK));
    EXPECT_TRUE(second_.Ended(20000));
    // The first copy still offers its choice.
    EXPECT_FALSE(program_.Ended(0));
    EXPECT_TRUE(WaitChoice());

    // A copy that died leaves no claim behind: the next one starts.
    program_.Stop();
    ASSERT_TRUE(second_.Start("\"" + ProgramDirectory() + "veldra6.exe\""));
    PanelDriver next;
    EXPECT_TRUE(next.WaitDialogWithControl(paneldriver::ChoiceDialogList)) << next.error();
}

// The program's single-instance mutex as this process sees it.
const char* InstanceMutexName() { return CurrentKernelObjectNames().instanceMutex; }

TEST_F(PanelProgram, ACopyThatDiedHoldingTheMutexDoesNotLockOutTheNext) {
    // This process keeps the mutex object alive, so that the killed copy
    // leaves it abandoned rather than gone.
    struct Keeper {
        HANDLE handle = CreateMutexA(nullptr, FALSE, InstanceMutexName());
        ~Keeper() {
            if (handle) CloseHandle(handle);
        }
    } keeper;
    ASSERT_TRUE(keeper.handle);
    Serve("model koa240MR\n");
    Start();
    ASSERT_TRUE(WaitChoice()) << driver_.error();
    program_.Stop();

    ASSERT_TRUE(second_.Start("\"" + ProgramDirectory() + "veldra6.exe\""));
    PanelDriver next;
    EXPECT_TRUE(next.WaitDialogWithControl(paneldriver::ChoiceDialogList)) << next.error();
}

TEST_F(PanelProgram, ARefusedCopyLetsGoOfTheMutexBeforeItsMessage) {
    Serve("model koa240MR\n");
    Start();
    ASSERT_TRUE(WaitChoice()) << driver_.error();
    ASSERT_TRUE(second_.Start("\"" + ProgramDirectory() + "veldra6.exe\""));
    PanelDriver any;
    MessageBoxSeen box;
    ASSERT_TRUE(any.WaitMessageBox(&box)) << any.error();
    ASSERT_EQ(box.text, kAlreadyRunning);

    // The running copy dies while the refused one still shows its message:
    // nothing holds the mutex any more, so it no longer exists.
    program_.Stop();
    HANDLE left = OpenMutexA(SYNCHRONIZE, FALSE, InstanceMutexName());
    EXPECT_EQ(left, nullptr) << "the refused copy still holds the mutex";
    if (left) CloseHandle(left);

    // A copy started now is the only one: it offers the choice.
    ChildProcess third;
    ASSERT_TRUE(third.Start("\"" + ProgramDirectory() + "veldra6.exe\""));
    PanelDriver next;
    EXPECT_TRUE(next.WaitDialogWithControl(paneldriver::ChoiceDialogList)) << next.error();
    third.Stop();
    EXPECT_TRUE(any.AnswerMessageBox(box, IDOK));
    EXPECT_TRUE(second_.Ended(20000));
}

// The first read takes requests 1-4; the commit's opening, block and
// closing command are 5, 6 and 7.
const char kCommitClosingFails[] = "--fail-request 7";

TEST_F(PanelProgram, AFailedCommitOnLptIsRepairedAtTheExit) {
    Serve("model koa240MR\n", "jobs-lpt.bin", kCommitClosingFails);
    Start();
    FirstRun();
    ASSERT_TRUE(driver_.ClickButton(paneldriver::SettingsCommitButton)) << driver_.error();
    EXPECT_EQ(Answer(IDOK), kCommitQuestion);
    EXPECT_EQ(Answer(IDOK).rfind("プリンターからの応答がありません", 0), 0u);
    const std::string beforeExit = standIn_.Received();
    ExitWith(IDNO);
    const std::string received = standIn_.Received();
    ASSERT_GT(received.size(), beforeExit.size());
    EXPECT_EQ(received.substr(beforeExit.size()), kRecovery);
}

TEST_F(PanelProgram, AFailedCommitOnUsbSendsNothingAtTheExit) {
    Serve("model koa260MR\n", "jobs-usb.bin", kCommitClosingFails);
    Start();
    FirstRun(kUsb);
    ASSERT_TRUE(driver_.ClickButton(paneldriver::SettingsCommitButton)) << driver_.error();
    EXPECT_EQ(Answer(IDOK), kCommitQuestion);
    EXPECT_EQ(Answer(IDOK).rfind("プリンターからの応答がありません", 0), 0u);
    const std::string beforeExit = standIn_.Received();
    ExitWith(IDNO);
    EXPECT_EQ(standIn_.Received(), beforeExit);
}

// Changes FF-SKEW's list on its page to another row; that row.
int ChangeSkew(PanelDriver& driver) {
    int page = 0, listId = 0, row = -1;
    std::string text;
    if (!ListOf(SettingIndex("FF-SKEW"), &page, &listId) || !driver.SelectTab(page) ||
        !driver.ListSelection(listId, &row, &text))
        return -1;
    const int changed = row == 0 ? 1 : 0;
    return driver.SetListSelection(listId, changed) ? changed : -1;
}

// Commits with OK and waits for the emulator's state to name FF-SKEW with
// the keyword of `row`.
void ExpectSkewCommitted(PanelDriver& driver, StandIn& standIn, int row,
                         const std::function<std::string(int)>& answer) {
    ASSERT_TRUE(driver.ClickButton(paneldriver::SettingsCommitButton)) << driver.error();
    EXPECT_EQ(answer(IDOK), kCommitQuestion);
    std::string keyword = SettingKeyword(SettingIndex("FF-SKEW"), row);
    keyword.erase(keyword.find_last_not_of(' ') + 1);
    const std::string expected = "value FF-SKEW " + keyword;
    WaitUntil([&] { return standIn.State().find(expected) != std::string::npos; }, 20000, 100);
    EXPECT_NE(standIn.State().find(expected), std::string::npos) << standIn.State();
}

TEST_F(PanelProgram, AChangeSurvivesTabSwitchesAndIsWritten) {
    Serve("model koa240MR\n");
    Start();
    FirstRun();
    const int changed = ChangeSkew(driver_);
    ASSERT_GE(changed, 0) << driver_.error();
    int page = 0, listId = 0, row = -1;
    std::string text;
    ASSERT_TRUE(ListOf(SettingIndex("FF-SKEW"), &page, &listId));
    ASSERT_TRUE(driver_.SelectTab(3));
    ASSERT_TRUE(driver_.SelectTab(page));
    ASSERT_TRUE(driver_.ListSelection(listId, &row, &text));
    EXPECT_EQ(row, changed);
    ExpectSkewCommitted(driver_, standIn_, changed, [&](int button) { return Answer(button); });
    ExitWith(IDNO);
}

// Commit takes the page on screen as it is: a change that no tab switch has
// collected yet is written too.
TEST_F(PanelProgram, ACommitWithoutLeavingThePageWritesItsChange) {
    Serve("model koa240MR\n");
    Start();
    FirstRun();
    const int changed = ChangeSkew(driver_);
    ASSERT_GE(changed, 0) << driver_.error();
    ExpectSkewCommitted(driver_, standIn_, changed, [&](int button) { return Answer(button); });
    ExitWith(IDNO);
}

// The text the list of item `name` shows for its factory value.
std::string FactoryText(const char* name) {
    SettingsRecord factory;
    CopyFactoryDefaults(&factory);
    const int item = SettingIndex(name);
    const char* text = SettingDisplayText(item, factory.value[item]);
    return text ? text : "";
}

const int kFactoryValuesCommand = 40006;
const std::string kFactoryQuestion = "工場出荷時の初期値を読込みますか？";

// Factory values: a printer that the pre-flight check refuses gets its
// message and no question; Cancel changes nothing; OK shows the factory
// values on the page on screen at once and on the others when they open.
TEST_F(PanelProgram, FactoryValuesAreCheckedAskedAndShownAtOnce) {
    Serve("model koa240MR\nvalue FRC-LFVA 8LPI\nvalue STANDBY 15min\n");
    Start();
    FirstRun();
    const std::string read = Display("FRC-LFVA", "8LPI");
    ASSERT_NE(read, FactoryText("FRC-LFVA"));
    ASSERT_NE(Display("STANDBY", "15min"), FactoryText("STANDBY"));

    std::string error;
    ASSERT_TRUE(AddTestPrinter(kLpt, "KOA koa2400Max-R(0mm)", "LPT1:", 0, &error)) << error;  // no bidi
    ASSERT_TRUE(driver_.MenuCommand(kFactoryValuesCommand)) << driver_.error();
    const std::string refusal = Answer(IDOK);
    ASSERT_TRUE(AddTestPrinter(kLpt, "KOA koa2400Max-R(0mm)", "LPT1:", 0x800, &error)) << error;
    EXPECT_NE(refusal, kFactoryQuestion);
    EXPECT_NE(refusal.find("双方向"), std::string::npos) << refusal;
    EXPECT_EQ(ListText("FRC-LFVA"), read);

    ASSERT_TRUE(driver_.MenuCommand(kFactoryValuesCommand)) << driver_.error();
    EXPECT_EQ(Answer(IDCANCEL), kFactoryQuestion);
    EXPECT_EQ(ListText("FRC-LFVA"), read);

    ASSERT_TRUE(driver_.MenuCommand(kFactoryValuesCommand)) << driver_.error();
    EXPECT_EQ(Answer(IDOK), kFactoryQuestion);
    EXPECT_EQ(ListText("FRC-LFVA"), FactoryText("FRC-LFVA"));  // the hardware page, still on screen
    EXPECT_EQ(ListText("STANDBY"), FactoryText("STANDBY"));
    ExitWith(IDNO);
}

// The printer chosen answers as the other model: the program says so and
// offers the choice again.
TEST_F(PanelProgram, AnotherModelAnsweringOffersTheChoiceAgain) {
    Serve("model koa240MR\nfault wrong-model\n");
    Start();
    Choose(kLpt);
    EXPECT_EQ(Answer(IDOK), "接続されているプリンターが異なります。\n接続されているプリンターを確認してください。");
    HWND choice = WaitChoice();
    ASSERT_TRUE(choice) << driver_.error();
    PostMessageA(GetDlgItem(choice, paneldriver::ChoiceDialogCancel), BM_CLICK, 0, 0);
    EXPECT_TRUE(driver_.WaitExit()) << driver_.error();
}

}  // namespace

namespace {

// Presses `key` (with Shift or Ctrl held when asked) as the keyboard would:
// through the system's input queue, so that the program's keyboard hook
// sees it, with the program's window in front.
void Press(HWND front, WORD key, bool shift = false, bool ctrl = false) {
    PanelDriver::PressKey(front, key, ctrl, false, shift);
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

// Polls until the program's focus is on `expected`.
bool FocusBecomes(HWND probe, HWND expected) {
    return WaitUntil([&] { return FocusOf(probe) == expected; });
}

TEST_F(PanelProgram, TabKeyCarriesTheFocusAroundThePageAndRestoringKeepsIt) {
    Serve("model koa240MR\n");
    Start();
    FirstRun();
    HWND main = driver_.WaitMainWindow();
    HWND read = driver_.WaitControl(paneldriver::SettingsReadButton);
    HWND tabs = driver_.WaitControl(paneldriver::SettingsTabControl);
    ASSERT_TRUE(main && read && tabs);
    // The hardware page ends with the list of its last row.
    const PageRow& last = PageRows(0)[PageRowCount(0) - 1];
    HWND lastList = driver_.WaitControl(last.listId);
    ASSERT_TRUE(lastList);

    Press(main, VK_TAB, true);  // Shift+Tab on Read: back onto the page's last list
    EXPECT_TRUE(FocusBecomes(read, lastList));
    Press(main, VK_TAB);  // Tab on the last list: on to Read
    EXPECT_TRUE(FocusBecomes(read, read));
    Press(main, VK_TAB, true);
    ASSERT_TRUE(FocusBecomes(read, lastList));

    // Minimised and restored, the window gives the focus back to that list.
    PostMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(main) != FALSE; }));
    PostMessageA(main, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(FocusBecomes(read, lastList));

    // Ctrl+Tab on the fourth page shows the first.
    ASSERT_TRUE(driver_.SelectTab(3));
    Press(main, VK_TAB, false, true);
    int tab = -1;
    WaitUntil([&] { return !driver_.CurrentTab(&tab) || tab == 0; });
    EXPECT_EQ(tab, 0);
    ExitWith(IDNO);
}

TEST_F(PanelProgram, ExitWithYesKeepsTheSettingsInTheTemporaryFile) {
    Serve("model koa240MR\nvalue FRC-LFVA 8LPI\n");
    Start();
    FirstRun();
    const std::string appData = AppDataFolder();
    ASSERT_FALSE(appData.empty());
    const std::string path = appData + "\\KOA\\koa_verodorared\\veldra6.ini";
    DeleteFileA(path.c_str());

    ExitWith(IDYES);
    const std::string saved = ReadWholeFile(path);
    ASSERT_EQ(saved.size(), 109u);
    std::string keyword = "8LPI";
    keyword.resize(8, ' ');
    EXPECT_EQ(static_cast<unsigned char>(saved[SettingIndex("FRC-LFVA")]),
              FindSettingValue(SettingIndex("FRC-LFVA"), keyword.c_str()));
    DeleteFileA(path.c_str());
}

TEST_F(PanelProgram, TheVersionCommandShowsTheVersion) {
    Serve("model koa240MR\n");
    Start();
    FirstRun();
    ASSERT_TRUE(driver_.MenuCommand(40009));
    const std::string text = Answer(IDOK);
    EXPECT_EQ(text.rfind("KOA koa2400Max-R/koa2600Max-R リモートパネル  V3.0.0.0\n\n\n", 0), 0u) << text;
    ExitWith(IDNO);
}

}  // namespace

namespace {

TEST_F(PanelProgram, TheMainWindowIsFixedCentredAndExactlyHoldsItsSettings) {
    Serve("model koa240MR\n");
    Start();
    FirstRun();
    HWND main = driver_.WaitMainWindow();
    ASSERT_TRUE(main);
    EXPECT_EQ(PanelDriver::WindowText(main), "KOA koa2400Max-R/koa2600Max-R リモートパネル");
    const LONG style = GetWindowLongA(main, GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    RECT frame;
    ASSERT_TRUE(GetWindowRect(main, &frame));
    EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

    // The client area is the settings container, no more and no less.
    HWND tabs = GetParent(driver_.WaitControl(paneldriver::SettingsReadButton));
    RECT client, container;
    ASSERT_TRUE(GetClientRect(main, &client) && GetWindowRect(tabs, &container));
    EXPECT_EQ(client.right, container.right - container.left);
    EXPECT_EQ(client.bottom, container.bottom - container.top);

    ASSERT_TRUE(driver_.MenuCommand(40001));  // ファイル → 終了 runs the exit sequence
    EXPECT_EQ(Answer(IDNO), kExitQuestion);
    EXPECT_TRUE(driver_.WaitExit());
}

}  // namespace
