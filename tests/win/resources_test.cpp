// The programs' resources as Windows loads them: texts in code page 932,
// menus, icons in both sizes, version information.
#include "monitor/resources/resource.h"
#include "tests/win/test_paths.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The remote panel's ids; the monitor's header above uses other names.
#include "panel/resources/resource.h"

namespace {

class Module {
public:
    explicit Module(const char* exe)
        : handle_(LoadLibraryExA(ProgramPath(exe).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~Module() {
        if (handle_) FreeLibrary(handle_);
    }
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;
    HMODULE get() const { return handle_; }

private:
    HMODULE handle_;
};

std::string String(HMODULE module, UINT id) {
    char text[512];
    const int n = LoadStringA(module, id, text, sizeof text);
    return std::string(text, n > 0 ? n : 0);
}

std::string MenuText(HMENU menu, UINT item, UINT flags) {
    char text[256];
    const int n = GetMenuStringA(menu, item, text, sizeof text, flags);
    return std::string(text, n > 0 ? n : 0);
}

#pragma pack(push, 2)
struct IconDirEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct IconDir {
    WORD reserved, type, count;
    IconDirEntry entries[1];
};
#pragma pack(pop)

// Widths of the images of an icon group, e.g. {16, 32}.
std::vector<int> IconSizes(HMODULE module, int id) {
    std::vector<int> sizes;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    if (!found) return sizes;
    const IconDir* dir = static_cast<const IconDir*>(LockResource(LoadResource(module, found)));
    if (!dir) return sizes;
    for (int i = 0; i < dir->count; ++i) sizes.push_back(dir->entries[i].width ? dir->entries[i].width : 256);
    return sizes;
}

std::string VersionString(const char* exe, const char* name) {
    const std::string path = ProgramPath(exe);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (!size) return std::string();
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data())) return std::string();
    char* value = nullptr;
    UINT length = 0;
    const std::string key = std::string("\\StringFileInfo\\041103a4\\") + name;
    if (!VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
        return std::string();
    return value;
}

TEST(PanelResources, CaptionIsCp932AsWritten) {
    Module panel("veldra6.exe");
    ASSERT_NE(panel.get(), nullptr);
    EXPECT_EQ(String(panel.get(), IDS_APP_CAPTION), "KOA koa2400Max-R/koa2600Max-R リモートパネル");
}

TEST(PanelResources, MainMenuCarriesItsCommands) {
    Module panel("veldra6.exe");
    HMENU menu = LoadMenuA(panel.get(), MAKEINTRESOURCEA(IDM_MAIN));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_EQ(MenuText(menu, 0, MF_BYPOSITION), "ファイル(&F)");
    EXPECT_EQ(MenuText(menu, 3, MF_BYPOSITION), "ヘルプ(&H)");
    EXPECT_EQ(MenuText(menu, IDM_FILE_OPEN, MF_BYCOMMAND), "設定ファイルの読み込み(&O)\tAlt+O");
    EXPECT_EQ(MenuText(menu, IDM_SETTINGS_COMMIT, MF_BYCOMMAND), "設定内容の確定(&C)\tAlt+C");
    EXPECT_EQ(MenuText(menu, IDM_FILE_PRINT_LIST, MF_BYCOMMAND), "設定一覧印刷(&P)\tAlt+P");
    EXPECT_EQ(MenuText(menu, IDM_HELP_VERSION, MF_BYCOMMAND), "バージョン(&V)\tAlt+V");
    DestroyMenu(menu);
}

TEST(PanelResources, EveryMenuShortcutHasAnAccelerator) {
    Module panel("veldra6.exe");
    HACCEL table = LoadAcceleratorsA(panel.get(), MAKEINTRESOURCEA(IDA_MAIN));
    ASSERT_NE(table, nullptr);
    ACCEL entries[32];
    const int n = CopyAcceleratorTableA(table, entries, 32);
    EXPECT_EQ(n, 9);
    const struct { char key; WORD command; } expected[] = {
        {'O', IDM_FILE_OPEN}, {'A', IDM_FILE_SAVE}, {'P', IDM_FILE_PRINT_LIST}, {'I', IDM_FILE_FACTORY},
        {'X', IDM_FILE_EXIT}, {'R', IDM_SETTINGS_READ}, {'C', IDM_SETTINGS_COMMIT}, {'M', IDM_TOOLS_SUPPLIES},
        {'V', IDM_HELP_VERSION}};
    for (const auto& e : expected) {
        bool found = false;
        for (int i = 0; i < n; ++i)
            if (entries[i].key == e.key && entries[i].cmd == e.command) {
                found = true;
                EXPECT_EQ(entries[i].fVirt & (FVIRTKEY | FALT), FVIRTKEY | FALT) << e.key;
            }
        EXPECT_TRUE(found) << "Alt+" << e.key;
    }
}

TEST(PanelResources, MessageIconsComeInBothSizes) {
    Module panel("veldra6.exe");
    for (int id : {IDI_PRINTER, IDI_PRINTER_ERROR, IDI_PRINTER_INFO, IDI_PRINTER_WARNING}) {
        EXPECT_EQ(IconSizes(panel.get(), id), (std::vector<int>{16, 32})) << "icon " << id;
        for (int size : {16, 32}) {
            HICON icon = static_cast<HICON>(LoadImageA(panel.get(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
            ASSERT_NE(icon, nullptr) << "icon " << id << " at " << size;
            ICONINFO info = {};
            ASSERT_TRUE(GetIconInfo(icon, &info));
            BITMAP mask = {};
            GetObjectA(info.hbmMask, sizeof mask, &mask);
            EXPECT_EQ(mask.bmWidth, size);
            if (info.hbmColor) DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
    }
}

TEST(PanelResources, PrintingAnimationFramesComeInBothSizes) {
    Module panel("veldra6.exe");
    for (int id = IDI_PRINTING_1; id <= IDI_PRINTING_5; ++id)
        EXPECT_EQ(IconSizes(panel.get(), id), (std::vector<int>{16, 32})) << "icon " << id;
    EXPECT_NE(FindResourceA(panel.get(), MAKEINTRESOURCEA(IDD_PROGRESS), MAKEINTRESOURCEA(5)), nullptr);
    EXPECT_NE(FindResourceA(panel.get(), MAKEINTRESOURCEA(IDD_PRINT_FINISHED), MAKEINTRESOURCEA(5)), nullptr);
}

TEST(PanelResources, PrinterMessagesKeepTheirExactTexts) {
    Module panel("veldra6.exe");
    EXPECT_EQ(String(panel.get(), IDS_NO_ANSWER),
              "プリンターからの応答がありません｡\n\nプリンターが接続されていないか電源が入っていないか、"
              "又はオフラインになっています。\n\nプリンターのエラーを解除してプリンターの電源を再投入して下さい。");
    EXPECT_EQ(String(panel.get(), IDS_READ_FAILED), "プリンターから設定内容の読み込みに失敗しました。");
    EXPECT_EQ(String(panel.get(), IDS_PROGRESS_READ), "プリンターから設定情報を読み込んでいます。");
}

TEST(PanelResources, VersionInformationIsJapanese) {
    EXPECT_EQ(VersionString("veldra6.exe", "FileDescription"), "KOA koa2400Max-R/koa2600Max-R リモートパネル");
    EXPECT_EQ(VersionString("veldra6.exe", "OriginalFilename"), "veldra6.exe");
    EXPECT_EQ(VersionString("tzrawatch.exe", "FileDescription"), "ｽﾃｰﾀｽﾓﾆﾀｰ");
}

TEST(MonitorResources, WindowDialogAndIcon) {
    Module monitor("tzrawatch.exe");
    ASSERT_NE(monitor.get(), nullptr);
    EXPECT_NE(FindResourceA(monitor.get(), MAKEINTRESOURCEA(IDD_MONITOR), MAKEINTRESOURCEA(5)), nullptr);  // RT_DIALOG
    EXPECT_EQ(IconSizes(monitor.get(), IDI_MONITOR), (std::vector<int>{16, 32}));
    EXPECT_EQ(String(monitor.get(), IDS_MONITOR_CAPTION), "ｽﾃｰﾀｽﾓﾆﾀｰ");
}

}  // namespace
