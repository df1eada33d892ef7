#include "panel/core/settings_file_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Folder(std::size_t length) { return "C:\\" + std::string(length - 3, 'a'); }

TEST(PathJoin, FillsTheBufferToTheLastByteButNeverCuts) {
    char path[PathBufferSize];
    const std::string head = Folder(250);
    ASSERT_TRUE(CopyPathWhole(path, sizeof path, head.c_str()));
    EXPECT_TRUE(AppendPathWhole(path, sizeof path, "\\12345678"));  // 259 characters and the NUL
    EXPECT_EQ(head + "\\12345678", path);
    EXPECT_FALSE(AppendPathWhole(path, sizeof path, "x"));  // one past: left as it was
    EXPECT_EQ(head + "\\12345678", path);

    ASSERT_TRUE(CopyPathWhole(path, sizeof path, head.c_str()));
    EXPECT_FALSE(AppendPathWhole(path, sizeof path, "\\123456789"));
    EXPECT_EQ(head, path);
}

TEST(PathJoin, RefusesWhatDoesNotFitOrIsNotTerminated) {
    char path[PathBufferSize];
    EXPECT_TRUE(CopyPathWhole(path, sizeof path, Folder(259).c_str()));
    EXPECT_FALSE(CopyPathWhole(path, sizeof path, Folder(260).c_str()));
    EXPECT_STREQ("", path);
    char full[4] = {'a', 'b', 'c', 'd'};  // no NUL inside the buffer
    EXPECT_FALSE(AppendPathWhole(full, sizeof full, ""));
}

TEST(DataDirectoryChoice, AppDataWithBothLevelsWhenTheyFitWhole) {
    char result[PathBufferSize];
    std::size_t ends[2] = {};
    const std::string appData = Folder(239);  // + "\KOA" + "\koa_verodorared" = 259
    EXPECT_TRUE(ChooseDataDirectory(appData.c_str(), "D:\\start", result, ends));
    EXPECT_EQ(appData + "\\KOA\\koa_verodorared", result);
    EXPECT_EQ(243u, ends[0]);
    EXPECT_EQ(259u, ends[1]);
}

TEST(DataDirectoryChoice, StartFolderWhenAppDataIsMissingOrTooLong) {
    char result[PathBufferSize];
    for (const std::string& appData : {Folder(240), Folder(243), Folder(259), Folder(400)}) {
        EXPECT_FALSE(ChooseDataDirectory(appData.c_str(), "D:\\start", result)) << appData.size();
        EXPECT_STREQ("D:\\start", result) << appData.size();
    }
    EXPECT_FALSE(ChooseDataDirectory(nullptr, "D:\\start", result));
    EXPECT_STREQ("D:\\start", result);
    EXPECT_FALSE(ChooseDataDirectory("", "D:\\start", result));  // not a folder at all
    EXPECT_STREQ("D:\\start", result);
    const std::string start(255, 's');
    EXPECT_FALSE(ChooseDataDirectory(nullptr, start.c_str(), result));
    EXPECT_EQ(start, result);
}

TEST(TempSettingsPath, WholeOrNothing) {
    char path[PathBufferSize];
    const std::string fits = Folder(247);  // + "\veldra6.ini" = 259
    EXPECT_TRUE(TempSettingsPath(fits.c_str(), path));
    EXPECT_EQ(fits + "\\veldra6.ini", path);
    EXPECT_FALSE(TempSettingsPath(Folder(248).c_str(), path));
    EXPECT_STREQ("", path);
    EXPECT_FALSE(TempSettingsPath("", path));  // not the current drive's root
    EXPECT_STREQ("", path);
    EXPECT_TRUE(TempSettingsPath("C:\\", path));
    EXPECT_STREQ("C:\\veldra6.ini", path);
    EXPECT_TRUE(TempSettingsPath("C:\\\x95\x5C", path));  // "表" ends in 0x5C and is no separator
    EXPECT_STREQ("C:\\\x95\x5C\\veldra6.ini", path);
}

TEST(FolderOfPath, SplitsAtTheLastRealSeparator) {
    char folder[PathBufferSize];
    EXPECT_TRUE(FolderOfPath("C:\\data\\a.vd6", folder));
    EXPECT_STREQ("C:\\data", folder);
    EXPECT_TRUE(FolderOfPath("C:\\a.vd6", folder));
    EXPECT_STREQ("C:\\", folder);
    EXPECT_TRUE(FolderOfPath("\\\\server\\share\\a.vd6", folder));
    EXPECT_STREQ("\\\\server\\share", folder);
    EXPECT_TRUE(FolderOfPath("C:/data/a.vd6", folder));
    EXPECT_STREQ("C:/data", folder);
    EXPECT_FALSE(FolderOfPath("a.vd6", folder));
    EXPECT_STREQ("", folder);
}

TEST(FolderOfPath, TrailBytesOfDoubleByteCharactersAreNoSeparators) {
    char folder[PathBufferSize];
    // "表" is 0x95 0x5C in code page 932; "表.vd6" names a file, not a folder "C:\x\" + 0x95.
    EXPECT_TRUE(FolderOfPath("C:\\x\\\x95\x5C.vd6", folder));
    EXPECT_STREQ("C:\\x", folder);
    EXPECT_TRUE(FolderOfPath("C:\\\x95\x5C\\a.vd6", folder));
    EXPECT_STREQ("C:\\\x95\x5C", folder);
    EXPECT_TRUE(FolderOfPath("C:\\a\\\x95", folder));  // a lone lead byte at the end
    EXPECT_STREQ("C:\\a", folder);
}

class LoadedBytes : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < SettingCount; ++i) before.value[i] = static_cast<unsigned char>(200 - i);
        for (int i = 0; i < 110; ++i) file[i] = static_cast<unsigned char>(i == 3 ? 255 : i + 1);
    }
    SettingsRecord before;
    unsigned char file[110];
};

TEST_F(LoadedBytes, ReplaceOnlyTheBytesTheFileBrings) {
    for (std::size_t n : {0u, 1u, 50u, 109u, 110u}) {
        SettingsRecord record = before;
        const std::size_t applied = ApplyLoadedBytes(&record, file, n);
        EXPECT_EQ(n < 109 ? n : 109, applied);
        for (std::size_t i = 0; i < SettingCount; ++i)
            EXPECT_EQ(i < applied ? file[i] : before.value[i], record.value[i]) << "n=" << n << " i=" << i;
    }
}

TEST_F(LoadedBytes, BytesOutsideAnItemsListAreTakenAsTheyAre) {
    SettingsRecord record = before;
    ApplyLoadedBytes(&record, file, 4);
    EXPECT_EQ(255, record.value[3]);
    EXPECT_GT(255, SettingValueCount(3));
}

TEST_F(LoadedBytes, TempFileOfTenBytesThenFactoryValues) {
    SettingsRecord record = before;
    TempSettingsFromBytes(&record, file, 10);
    for (int i = 0; i < SettingCount; ++i)
        EXPECT_EQ(i < 10 ? file[i] : FactoryDefaults.value[i], record.value[i]) << i;
    TempSettingsFromBytes(&record, file, 0);
    for (int i = 0; i < SettingCount; ++i) EXPECT_EQ(FactoryDefaults.value[i], record.value[i]) << i;
}

}  // namespace
