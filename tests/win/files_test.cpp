// Settings files, the temporary settings file and the program's folders,
// run in this process: the real Open and Save As dialogs and message boxes,
// driven from a thread of the test (the file name typed into the dialog,
// the buttons pressed, the texts read back).
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "panel/core/settings_file_rules.h"
#include "panel/exchange/printer_exchange.h"
#include "panel/settings/settings_files.h"
#include "panel/settings/settings_tabs.h"
#include "panel/core/page_layout.h"
#include "panel/records/folders.h"
#include "panel/records/panel_records.h"
#include "tests/win/dialog_driver.h"
#include "tests/win/wait_until.h"

namespace {

const char kSaveTitle[] = "設定定義ファイルを保存";
const char kOpenTitle[] = "設定定義ファイルを開く";
const char kCaption[] = "KOA koa2400Max-R/koa2600Max-R リモートパネル";
const char kExists[] = "指定した名前の設定ファイルは既に存在しています。\n\n設定情報を上書きしますか？";
const char kLocked[] =
    "既存の設定ファイルは上書き禁止になっています。\n\nファイルの属性を変更していただくか、他のファイルを選択してください。";
const char kMissing[] = "設定ファイルの読み込みに失敗しました。\n\n設定ファイルは存在していません。";
const char kEmpty[] = "設定ファイルの読み込みに失敗しました。\n\n設定ファイルが読み込めませんでした。";
const char kUnwritten[] =
    "設定ファイルの書き込みに失敗しました。\n\n設定情報は保存されていません。ディスクの空き容量などを確認してください。";
const char kTempOpenFailed[] = "一時設定ファイルのオープンに失敗しました。\n\n工場出荷状態に設定します。";
const char kTempUnwritten[] = "一時設定ファイルの書き込みに失敗しました。\n\n設定値は保存されていません。";

// ---- files ------------------------------------------------------------------

bool IsFolder(const char* path) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string RecordBytes(const SettingsRecord& record) {
    return std::string(reinterpret_cast<const char*>(record.value), sizeof record.value);
}

SettingsRecord Pattern(int seed) {
    SettingsRecord record;
    for (int i = 0; i < SettingCount; ++i) record.value[i] = static_cast<unsigned char>(seed + i * 7);
    record.value[5] = 255;  // an empty list's byte travels too
    return record;
}

// ---- the fixture ------------------------------------------------------------

class Files : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(AllocateGlobals());
        MainWindow = CreateWindowExA(0, "STATIC", "filetests owner", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(MainWindow);
    }

    void SetUp() override {
        folder = FreshDataFolder("koa-filetests");
        ASSERT_FALSE(folder.empty());
        *CurrentSettings = Pattern(1);
    }

    void TearDown() override {
        TestSeam_UseSettingsFileWrite(nullptr);
        TestSeam_UseAppDataFolderLookup(nullptr);
        RemoveTree(folder);
    }

    // The file dialog with `name` typed and OK pressed, then the `after` steps.
    std::vector<Seen> Save(const std::string& name, std::vector<Step> after = {}) {
        after.insert(after.begin(), Step{kSaveTitle, IDOK, name});
        return Drive(after, SaveSettingsFile);
    }
    std::vector<Seen> Load(const std::string& name, std::vector<Step> after = {}) {
        after.insert(after.begin(), Step{kOpenTitle, IDOK, name});
        return Drive(after, LoadSettingsFile);
    }

    std::vector<std::string> Entries() const { return FolderEntries(folder); }

    std::string folder;
};

// ---- settings files ---------------------------------------------------------

TEST_F(Files, SavedFileIsTheRecordAndLoadsBackByteForByte) {
    const SettingsRecord saved = Pattern(3);
    *CurrentSettings = saved;
    const auto seen = Save("round");  // the dialog adds the extension
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(folder, seen[0].folder);
    EXPECT_EQ("設定ﾌｧｲﾙ(*.vd6)", seen[0].filter);
    EXPECT_FALSE(seen[0].readOnlyBox);
    EXPECT_EQ(RecordBytes(saved), ReadFileBytes(folder + "\\round.vd6"));
    EXPECT_EQ(std::vector<std::string>{"round.vd6"}, Entries());  // no fresh file left beside it

    CopyFactoryDefaults(CurrentSettings);
    const auto opened = Load("round.vd6");
    ASSERT_EQ(1u, opened.size());
    EXPECT_EQ(RecordBytes(saved), RecordBytes(*CurrentSettings));
}

// No asks for a name again, in an emptied dialog; Yes replaces the whole
// (longer) file.
TEST_F(Files, OverwriteAsksAgainOnNoAndReplacesTheWholeFileOnYes) {
    const std::string old(300, 'x');
    WriteFileBytes(folder + "\\keep.vd6", old);
    const auto seen = Save("keep.vd6", {{kCaption, IDNO}, {kSaveTitle, IDCANCEL}});
    ASSERT_EQ(3u, seen.size());
    EXPECT_EQ(kExists, seen[1].text);
    EXPECT_EQ(LoadIconA(nullptr, IDI_QUESTION), seen[1].icon);
    EXPECT_EQ("", seen[2].name);
    EXPECT_EQ(old, ReadFileBytes(folder + "\\keep.vd6"));

    Save("keep.vd6", {{kCaption, IDYES}});
    EXPECT_EQ(RecordBytes(Pattern(1)), ReadFileBytes(folder + "\\keep.vd6"));
    EXPECT_EQ(std::vector<std::string>{"keep.vd6"}, Entries());
}

// A read-only target, and a folder that went away between typing the name
// and pressing OK.
TEST_F(Files, RefusedTargetsAreReportedAndKeptAsTheyWere) {
    const std::string target = folder + "\\locked.vd6";
    WriteFileBytes(target, "old");
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    auto seen = Save("locked.vd6", {{kCaption, IDYES}, {kCaption, IDOK}});
    ASSERT_EQ(3u, seen.size());
    EXPECT_EQ(kLocked, seen[2].text);
    EXPECT_EQ(LoadIconA(nullptr, IDI_HAND), seen[2].icon);
    EXPECT_EQ("old", ReadFileBytes(target));
    EXPECT_TRUE(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(std::vector<std::string>{"locked.vd6"}, Entries());

    const std::string gone = folder + "\\gone";
    ASSERT_TRUE(CreateDirectoryA(gone.c_str(), nullptr));
    seen = Drive({{kSaveTitle, IDOK, gone + "\\x.vd6", [&] { RemoveDirectoryA(gone.c_str()); }}, {kCaption, IDOK}},
                 SaveSettingsFile);
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ(kLocked, seen[1].text);
    EXPECT_EQ(std::vector<std::string>{"locked.vd6"}, Entries());
}

TEST_F(Files, LoadTakesTheFirstBytesOfAFileOfAnyLength) {
    const std::string bytes(1 << 20, '\x21');
    for (std::size_t length : {1u, 50u, 109u, 110u, 1u << 20}) {
        const SettingsRecord before = Pattern(9);
        *CurrentSettings = before;
        std::string file = bytes.substr(0, length);
        file[0] = '\xFE';  // outside every item's list: taken as it is
        WriteFileBytes(folder + "\\n.vd6", file);
        Load("n.vd6");
        for (std::size_t i = 0; i < SettingCount; ++i)
            ASSERT_EQ(i < length ? static_cast<unsigned char>(file[i]) : before.value[i], CurrentSettings->value[i])
                << "length " << length << " byte " << i;
    }
}

// An empty file, and one another program holds open: each its message, the
// record unchanged.
TEST_F(Files, FilesThatCannotBeLoadedSaySoAndChangeNothing) {
    WriteFileBytes(folder + "\\empty.vd6", "");
    auto seen = Load("empty.vd6", {{kCaption, IDOK}});
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ(kEmpty, seen[1].text);
    EXPECT_EQ(LoadIconA(nullptr, IDI_HAND), seen[1].icon);

    const std::string path = folder + "\\held.vd6";
    WriteFileBytes(path, std::string(109, '\x02'));
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    seen = Load("held.vd6", {{kCaption, IDOK}});
    CloseHandle(held);
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ(kMissing, seen[1].text);
    EXPECT_EQ(RecordBytes(Pattern(1)), RecordBytes(*CurrentSettings));
}

// ---- write failures (through the write seam) --------------------------------

// Half the bytes go to the disk, then the disk is full.
bool FailHalfWay(void* file, const void* bytes, unsigned long count, unsigned long* written) {
    DWORD done = 0;
    WriteFile(static_cast<HANDLE>(file), bytes, count / 2, &done, nullptr);
    *written = done;
    SetLastError(ERROR_DISK_FULL);
    return false;
}

// Reports success with fewer bytes than asked for.
bool ShortWrite(void* file, const void* bytes, unsigned long count, unsigned long* written) {
    DWORD done = 0;
    const BOOL ok = WriteFile(static_cast<HANDLE>(file), bytes, count - 1, &done, nullptr);
    *written = done;
    return ok != FALSE;
}

TEST_F(Files, WriteFailureSaysSoAndLeavesNoFileOrTheOldOne) {
    for (SettingsFileWrite write : {FailHalfWay, ShortWrite}) {
        TestSeam_UseSettingsFileWrite(write);
        const auto seen = Save("new.vd6", {{kCaption, IDOK}});
        ASSERT_EQ(2u, seen.size());
        EXPECT_EQ(kUnwritten, seen[1].text);
        EXPECT_EQ(LoadIconA(nullptr, IDI_HAND), seen[1].icon);
        EXPECT_TRUE(Entries().empty());
    }
    WriteFileBytes(folder + "\\keep.vd6", "old");
    const auto seen = Save("keep.vd6", {{kCaption, IDYES}, {kCaption, IDOK}});
    ASSERT_EQ(3u, seen.size());
    EXPECT_EQ(kUnwritten, seen[2].text);
    EXPECT_EQ("old", ReadFileBytes(folder + "\\keep.vd6"));
    EXPECT_EQ(std::vector<std::string>{"keep.vd6"}, Entries());
}

// ---- with the settings container -------------------------------------------

// The settings container under the owner window, on the page `page`, its
// lists showing the factory values. What the user picks in a list reaches
// the record only when the page is collected.
class FilesWithPages : public Files {
protected:
    void SetUp() override {
        Files::SetUp();
        CopyFactoryDefaults(CurrentSettings);
        tabs_ = CreateSettingsTabs(GetModuleHandleA(nullptr), MainWindow);
        ASSERT_NE(tabs_, nullptr);
    }
    void TearDown() override {
        DestroyWindow(tabs_);
        Files::TearDown();
    }
    void Show(int page) {
        SendMessageA(SettingsTabControl(), TCM_SETCURFOCUS, page, 0);
        ASSERT_EQ(CurrentPageIndex(), page);
    }
    HWND List(int item) {
        for (int page = 0; page < PageCount; ++page)
            if (const PageRow* row = FindPageRow(page, item)) return GetDlgItem(SettingsPageWindow(), row->listId);
        return nullptr;
    }
    // Picks another row of `item`'s list, as the user would; that row.
    int PickAnother(int item) {
        const int row = (CurrentSettings->value[item] + 1) % SettingValueCount(item);
        SendMessageA(List(item), CB_SETCURSEL, row, 0);
        return row;
    }
    static int Selection(HWND list) { return static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0)); }

    HWND tabs_ = nullptr;
};

TEST_F(FilesWithPages, SavedAndTemporaryFilesHoldThePagesUncollectedChanges) {
    Show(PageHardware);
    const int first = PickAnother(0);
    Save("picked");
    EXPECT_EQ(first, static_cast<unsigned char>(ReadFileBytes(folder + "\\picked.vd6").at(0)));

    const int second = PickAnother(1);
    Drive({}, [] { SaveTempSettings(); });
    const std::string temp = ReadFileBytes(folder + "\\veldra6.ini");
    ASSERT_EQ(109u, temp.size());
    EXPECT_EQ(first, static_cast<unsigned char>(temp[0]));
    EXPECT_EQ(second, static_cast<unsigned char>(temp[1]));
}

// A 50-byte file replaces items 0 to 49; the edit made on the page on screen
// to item 108 is kept, and the page shows it afterwards.
TEST_F(FilesWithPages, AFiftyByteFileKeepsThePagesEditsOfTheLaterItems) {
    Show(PageOther);
    const int picked = PickAnother(108);
    const SettingsRecord before = *CurrentSettings;
    std::string file(50, '\0');
    for (int i = 0; i < 50; ++i) file[i] = static_cast<char>((before.value[i] + 1) % SettingValueCount(i));
    WriteFileBytes(folder + "\\fifty.vd6", file);
    Load("fifty.vd6");
    for (int i = 0; i < 50; ++i) EXPECT_EQ(static_cast<unsigned char>(file[i]), CurrentSettings->value[i]) << i;
    for (int i = 50; i < 108; ++i) EXPECT_EQ(before.value[i], CurrentSettings->value[i]) << i;
    EXPECT_EQ(picked, CurrentSettings->value[108]);
    EXPECT_EQ(picked, Selection(List(108)));
}

// A byte outside its item's list is loaded as it is: the list shows no
// selection, and a write to the printer is refused, naming the item, before
// anything is sent.
TEST_F(FilesWithPages, AnOutOfListByteShowsAnEmptyListAndIsRefusedAtCommit) {
    Show(PageHardware);
    const int item = 13;
    ASSERT_NE(List(item), nullptr);
    std::string file(reinterpret_cast<const char*>(CurrentSettings->value), SettingCount);
    file[item] = static_cast<char>(SettingValueCount(item) + 4);
    WriteFileBytes(folder + "\\outside.vd6", file);
    Load("outside.vd6");
    EXPECT_EQ(SettingValueCount(item) + 4, CurrentSettings->value[item]);
    EXPECT_EQ(-1, Selection(List(item)));

    int written = 0;
    const auto seen = Drive({{kCaption, IDOK}}, [&] { written = WriteToPrinter(WriteSettings, MainWindow); });
    EXPECT_EQ(-1, written);
    ASSERT_EQ(1u, seen.size());
    EXPECT_NE(std::string::npos, seen[0].text.find(SettingTitle(item))) << seen[0].text;
}

// ---- the temporary settings file --------------------------------------------

TEST_F(Files, TempFileRoundTripFactoryValuesWithoutItAndOnlyItsFirstBytes) {
    const std::string temp = folder + "\\veldra6.ini";
    Drive({}, LoadTempSettings);  // none yet
    EXPECT_EQ(RecordBytes(FactoryDefaults), RecordBytes(*CurrentSettings));
    *CurrentSettings = Pattern(5);
    Drive({}, [] { EXPECT_TRUE(SaveTempSettings()); });
    EXPECT_EQ(RecordBytes(Pattern(5)), ReadFileBytes(temp));
    *CurrentSettings = Pattern(1);
    Drive({}, LoadTempSettings);
    EXPECT_EQ(RecordBytes(Pattern(5)), RecordBytes(*CurrentSettings));
    *CurrentSettings = Pattern(6);
    Drive({}, [] { SaveTempSettings(); });  // replaces the previous one
    EXPECT_EQ(RecordBytes(Pattern(6)), ReadFileBytes(temp));
    EXPECT_EQ(std::vector<std::string>{"veldra6.ini"}, Entries());

    WriteFileBytes(temp, std::string(1 << 20, '\x03'));
    Drive({}, LoadTempSettings);
    EXPECT_EQ(std::string(109, '\x03'), RecordBytes(*CurrentSettings));
}

// A failed write keeps the previous file; a data folder that is gone gives
// the open message and factory values.
TEST_F(Files, TempFileFailuresSaySoAndKeepThePreviousFile) {
    WriteFileBytes(folder + "\\veldra6.ini", "previous");
    TestSeam_UseSettingsFileWrite(FailHalfWay);
    auto seen = Drive({{kCaption, IDOK}}, [] { EXPECT_FALSE(SaveTempSettings()); });
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(kTempUnwritten, seen[0].text);
    EXPECT_EQ("previous", ReadFileBytes(folder + "\\veldra6.ini"));
    EXPECT_EQ(std::vector<std::string>{"veldra6.ini"}, Entries());

    TestSeam_UseSettingsFileWrite(nullptr);
    ASSERT_TRUE(CopyPathWhole(DataDirectory, sizeof DataDirectory, (folder + "\\gone").c_str()));
    seen = Drive({{kCaption, IDOK}}, [] { EXPECT_FALSE(SaveTempSettings()); });
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(kTempOpenFailed, seen[0].text);
    EXPECT_EQ(LoadIconA(nullptr, IDI_HAND), seen[0].icon);
    Drive({}, LoadTempSettings);
    EXPECT_EQ(RecordBytes(FactoryDefaults), RecordBytes(*CurrentSettings));
}

TEST_F(Files, TempFileNeverUsesACutPath) {
    // A data folder of 248 characters: with "\veldra6.ini" one character too many.
    std::string longFolder = folder + "\\";
    longFolder += std::string(248 - longFolder.size(), 'L');
    ASSERT_TRUE(CreateDirectoryA(longFolder.c_str(), nullptr));
    ASSERT_TRUE(CopyPathWhole(DataDirectory, sizeof DataDirectory, longFolder.c_str()));
    const std::string cut = longFolder + "\\veldra6.in";  // what a cut copy would open
    WriteFileBytes(cut, std::string(109, '\x01'));
    Drive({}, LoadTempSettings);
    EXPECT_EQ(RecordBytes(FactoryDefaults), RecordBytes(*CurrentSettings));
    const auto seen = Drive({{kCaption, IDOK}}, [] { EXPECT_FALSE(SaveTempSettings()); });
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(kTempOpenFailed, seen[0].text);
    EXPECT_EQ(std::string(109, '\x01'), ReadFileBytes(cut));
    EXPECT_EQ(std::vector<std::string>{"veldra6.in"}, FolderEntries(longFolder));
}

// ---- the program's folders --------------------------------------------------

std::string g_appData;  // what the looked-up application-data folder is in a test
int g_lookups = 0;

int FakeAppData(int folderId, char* path) {
    ++g_lookups;
    path[0] = '\0';
    if (folderId != 26 || g_appData.size() >= PathBufferSize) return 0;
    std::memcpy(path, g_appData.c_str(), g_appData.size() + 1);
    return 1;
}

int UnterminatedAppData(int, char* path) {
    std::memset(path, 'u', PathBufferSize);
    return 1;
}

// The levels under the application-data folder when the whole path fits
// (259 characters), else the start folder rather than a cut path.
TEST_F(Files, DataDirectoryUnderAppDataOnlyWhenItFitsWhole) {
    FindStartDirectory();
    ASSERT_STRNE("", StartDirectory);
    TestSeam_UseAppDataFolderLookup(FakeAppData);
    g_appData = folder + "\\";
    g_appData += std::string(239 - g_appData.size(), 'A');
    ASSERT_TRUE(CreateDirectoryA(g_appData.c_str(), nullptr));
    for (int twice = 0; twice < 2; ++twice) {  // existing levels are no error
        FindDataDirectory(true);
        EXPECT_EQ(g_appData + "\\KOA\\koa_verodorared", DataDirectory);
        EXPECT_TRUE(IsFolder(DataDirectory));
    }

    g_appData = folder + "\\";
    g_appData += std::string(240 - g_appData.size(), 'B');
    ASSERT_TRUE(CreateDirectoryA(g_appData.c_str(), nullptr));
    FindDataDirectory(true);
    EXPECT_STREQ(StartDirectory, DataDirectory);
    EXPECT_TRUE(FolderEntries(g_appData).empty());  // no level made under it

    g_lookups = 0;
    FindDataDirectory(false);  // no per-user folders on this platform
    EXPECT_EQ(0, g_lookups);
    EXPECT_STREQ(StartDirectory, DataDirectory);

    TestSeam_UseAppDataFolderLookup(UnterminatedAppData);
    FindDataDirectory(true);
    EXPECT_STREQ(StartDirectory, DataDirectory);

    TestSeam_UseAppDataFolderLookup(nullptr);  // the system's own folder
    char appData[PathBufferSize];
    ASSERT_EQ(1, GetAppDataFolder(26, appData));
    FindDataDirectory(true);
    EXPECT_EQ(std::string(appData) + "\\KOA\\koa_verodorared", DataDirectory);
    EXPECT_TRUE(IsFolder(DataDirectory));
    EXPECT_EQ(0, GetAppDataFolder(-1, appData));  // no such folder
    EXPECT_STREQ("", appData);
}

TEST_F(Files, StartDirectoryOfALongCurrentFolderIsItsShortFormNotACutOne) {
    char previous[MAX_PATH];
    GetCurrentDirectoryA(sizeof previous, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    FindStartDirectory();
    EXPECT_EQ(folder, StartDirectory);

    std::string deep = folder + "\\" + std::string(100, 'd');
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr));
    deep += "\\" + std::string(257 - deep.size() - 1, 'e');  // 257 characters: more than StartDirectory holds
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr));
    ASSERT_TRUE(SetCurrentDirectoryA(deep.c_str()));
    std::memset(StartDirectory, 'x', sizeof StartDirectory);
    FindStartDirectory();
    SetCurrentDirectoryA(previous);
    ASSERT_TRUE(std::memchr(StartDirectory, '\0', sizeof StartDirectory));
    ASSERT_STRNE("", StartDirectory);  // the short form fits here
    char longForm[MAX_PATH] = {};
    GetLongPathNameA(StartDirectory, longForm, sizeof longForm);
    EXPECT_EQ(0, lstrcmpiA(deep.c_str(), longForm)) << StartDirectory;
}

}  // namespace
