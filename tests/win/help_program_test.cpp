// The help of the remote panel as a user meets it: veldra6.exe started from
// the folder that holds VELDRA6.CHM (as its Start-menu shortcut starts it),
// the printer chosen and read, then "ヘルプ(&H)" from its Help menu. The help
// viewer must open in the program's process under the help file's title,
// with its contents read in the right code page. Under this Wine the
// viewer's pages stay blank (its HTML engine is not installed) and it marks
// no topic as shown, so the topic it opens at is the help file's default
// one, which tests/help reads back from the built file; the contents tree
// is a plain tree view and shows.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/win/e2e/e2e_support.h"
#include "tools/lmstand/test_printers.h"
#include "tools/paneldriver/panel_driver.h"

namespace {

using paneldriver::PanelDriver;

const char kPrinter[] = "KOA Help LPT";
const char kHelpTitle[] = "KOA koa2400Max-R/koa2600Max-R リモートパネル ヘルプ";
const int kHelpCommand = 40008;
const int kProgressText = 1252;

// The top-level entries of the help file's contents, in order.
const char* const kContents[] = {
    "はじめに", "プリンターの選択", "メインウィンドウとメニュー", "設定ページ", "設定ファイル", "工場出荷時の設定値",
    "消耗品管理", "ステータスモニター", "LAN接続のプリンター", "インストールとアンインストール",
};

BOOL CALLBACK FindTree(HWND window, LPARAM found) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, WC_TREEVIEWA) != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// Reads tree items of another process through memory there (the test and
// the program have the same bitness).
class RemoteTree {
public:
    explicit RemoteTree(HWND tree) : tree_(tree) {
        DWORD processId = 0;
        GetWindowThreadProcessId(tree, &processId);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        if (process_)
            memory_ = VirtualAllocEx(process_, nullptr, sizeof(TVITEMW) + kChars * sizeof(wchar_t),
                                     MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteTree() {
        if (memory_) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteTree(const RemoteTree&) = delete;
    RemoteTree& operator=(const RemoteTree&) = delete;

    HTREEITEM Next(HTREEITEM item, UINT relation) const {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(tree_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item), SMTO_NORMAL, 5000,
                            &result);
        return reinterpret_cast<HTREEITEM>(result);
    }

    // The item's text in the ANSI code page, asked for in UTF-16 (the
    // viewer's tree is a Unicode window).
    std::string Text(HTREEITEM item) const {
        if (!memory_) return "(no memory in the program)";
        wchar_t* remoteText = reinterpret_cast<wchar_t*>(static_cast<char*>(memory_) + sizeof(TVITEMW));
        TVITEMW request = {};
        request.mask = TVIF_TEXT | TVIF_HANDLE;
        request.hItem = item;
        request.pszText = remoteText;
        request.cchTextMax = kChars;
        SIZE_T moved = 0;
        if (!WriteProcessMemory(process_, memory_, &request, sizeof request, &moved)) return "(write failed)";
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(memory_), SMTO_NORMAL, 5000,
                                 &result) ||
            !result)
            return "(no item)";
        wchar_t wide[kChars] = {};
        if (!ReadProcessMemory(process_, remoteText, wide, sizeof wide - sizeof(wchar_t), &moved)) return "(read failed)";
        char text[kChars * 2] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text - 1, nullptr, nullptr);
        return text;
    }

private:
    enum { kChars = 256 };
    HWND tree_;
    HANDLE process_ = nullptr;
    void* memory_ = nullptr;
};

class HelpProgram : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        ASSERT_TRUE(InstallTestPrinters(&error)) << error;
        ASSERT_TRUE(AddTestPrinter(kPrinter, "KOA koa2400Max-R(0mm)", "LPT1:", 0x800, &error)) << error;
    }

    void TearDown() override {
        program_.Stop();
        standIn_.Stop();
    }

    // The panel started in its own folder, the printer chosen and read.
    void StartAndRead() {
        ASSERT_EQ(GetFileAttributesA((ProgramDirectory() + "VELDRA6.CHM").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u)
            << "no help file beside the program";
        ASSERT_TRUE(standIn_.Start("model koa240MR\n", "jobs-lpt.bin", "")) << "language-monitor stand-in";
        ASSERT_TRUE(SetCurrentDirectoryA(ProgramDirectory().c_str()));
        ASSERT_TRUE(program_.Start("\"" + ProgramDirectory() + "veldra6.exe\""));
        ASSERT_TRUE(driver_.Attach()) << driver_.error();
        HWND choice = driver_.WaitDialogWithControl(paneldriver::ChoiceDialogList);
        ASSERT_TRUE(choice) << driver_.error();
        ASSERT_TRUE(driver_.ChoosePrinter(choice, kPrinter)) << driver_.error();
        HWND progress = driver_.WaitDialogWithControl(kProgressText);
        ASSERT_TRUE(progress && driver_.WaitGone(progress)) << "the first read did not end: " << driver_.error();
        ASSERT_TRUE(driver_.WaitControl(paneldriver::SettingsReadButton)) << driver_.error();
    }

    StandIn standIn_;
    ChildProcess program_;
    PanelDriver driver_;
};

TEST_F(HelpProgram, HelpMenuOpensTheHelpFileInTheViewer) {
    StartAndRead();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(driver_.MenuCommand(kHelpCommand)) << driver_.error();

    // The viewer is a window of the program's own process (the help system
    // runs in it), titled as the help file says.
    HWND viewer = driver_.WaitWindow("", kHelpTitle);
    ASSERT_TRUE(viewer) << driver_.error();
    DWORD viewerProcess = 0;
    GetWindowThreadProcessId(viewer, &viewerProcess);
    EXPECT_EQ(viewerProcess, driver_.processId());

    // Its contents: every top-level entry, in order, in Japanese.
    HWND tree = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            EnumChildWindows(viewer, FindTree, reinterpret_cast<LPARAM>(&tree));
            return tree != nullptr && IsWindowVisible(tree);
        },
        10000, 50))
        << "the viewer shows no contents";
    RemoteTree items(tree);
    std::vector<std::string> roots;
    for (HTREEITEM item = items.Next(nullptr, TVGN_ROOT); item && roots.size() < 20; item = items.Next(item, TVGN_NEXT))
        roots.push_back(items.Text(item));
    ASSERT_EQ(roots.size(), std::size(kContents));
    for (std::size_t i = 0; i < roots.size(); ++i) EXPECT_EQ(roots[i], kContents[i]) << "entry " << i;

    // The program goes on with the viewer open, and closes it when it ends.
    ASSERT_TRUE(driver_.CloseMainWindow()) << driver_.error();
    paneldriver::MessageBoxSeen box;
    ASSERT_TRUE(driver_.WaitMessageBox(&box)) << driver_.error();
    EXPECT_TRUE(driver_.AnswerMessageBox(box, IDNO)) << driver_.error();
    EXPECT_TRUE(driver_.WaitExit()) << driver_.error();
}

}  // namespace
