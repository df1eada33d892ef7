// The console tool's settings-file work: the CSV round trip, every kind of
// bad CSV named by its line, the diff and the check.
#include "console/settings_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

const ConsoleLanguage kEnglish = LanguageEnglish;

std::string Bytes(const SettingsRecord& record) {
    return std::string(reinterpret_cast<const char*>(record.value), SettingCount);
}

// Every item at the last value of its list: as far from factory as it gets.
SettingsRecord LastValues() {
    SettingsRecord record;
    for (int i = 0; i < SettingCount; ++i) record.value[i] = static_cast<unsigned char>(SettingValueCount(i) - 1);
    return record;
}

SettingsRecord Imported(const std::string& csv, bool* ok, std::string* problem) {
    SettingsRecord record;
    std::memset(&record, 0xA5, sizeof record);
    *ok = ImportCsv(csv, &record, kEnglish, problem);
    return record;
}

// The exported CSV with one line replaced (0: the header, i + 1: item i).
std::string WithLine(std::string csv, int line, const std::string& replacement) {
    std::size_t start = 0;
    for (int i = 0; i < line; ++i) start = csv.find('\n', start) + 1;
    const std::size_t end = csv.find('\n', start);
    return csv.replace(start, end - start, replacement);
}

TEST(SettingsCsv, ExportThenImportGivesTheSameBytes) {
    for (const SettingsRecord& record : {FactoryDefaults, LastValues()}) {
        const std::string csv = ExportCsv(record);
        bool ok = false;
        std::string problem;
        const SettingsRecord back = Imported(csv, &ok, &problem);
        ASSERT_TRUE(ok) << problem;
        EXPECT_EQ(Bytes(back), Bytes(record));
    }
}

TEST(SettingsCsv, LinesAreItemValueTitleTextQuotedWhereNeeded) {
    const std::string csv = ExportCsv(FactoryDefaults);
    EXPECT_EQ(csv.substr(0, csv.find('\n')), "item,value,title,text");
    // The first item's title holds commas, so it is quoted.
    const std::size_t first = csv.find('\n') + 1;
    const std::string line = csv.substr(first, csv.find('\n', first) - first);
    EXPECT_EQ(line, std::string("FRC-LFVA,6LPI,\"") + SettingTitle(0) + "\",6LPI");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), SettingCount + 1);
}

TEST(SettingsCsv, EditorsLineEndsByteOrderMarkAndRetypedTitlesImport) {
    std::string csv = ExportCsv(LastValues());
    std::string crlf = "\xEF\xBB\xBF";
    for (char c : csv) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    // Titles and texts are not read: an editor may have re-encoded them.
    crlf = WithLine(crlf, 1, "FRC-LFVA,8LPI,\"line spacing, re-typed\",whatever\r");
    bool ok = false;
    std::string problem;
    const SettingsRecord back = Imported(crlf, &ok, &problem);
    ASSERT_TRUE(ok) << problem;
    EXPECT_EQ(Bytes(back), Bytes(LastValues()));
}

TEST(SettingsCsv, BadInputIsNamedByItsLineAndChangesNothing) {
    const std::string csv = ExportCsv(FactoryDefaults);
    const std::string second = csv.substr(csv.find('\n') + 1, csv.find('\n', csv.find('\n') + 1) - csv.find('\n') - 1);
    const struct {
        const char* what;
        std::string text;
        std::string problem;
    } cases[] = {
        {"unknown item", WithLine(csv, 3, "NOSUCH,6LPI,,"), "line 4: unknown item \"NOSUCH\"\n"},
        {"value outside the list", WithLine(csv, 1, "FRC-LFVA,7LPI,,"),
         "line 2: \"7LPI\" is not a value of item FRC-LFVA\n"},
        {"padded value", WithLine(csv, 1, "FRC-LFVA,6LPI    ,,"),
         "line 2: \"6LPI    \" is not a value of item FRC-LFVA\n"},
        {"duplicate", csv + second + "\n", "line 111: item FRC-LFVA is given again (first on line 2)\n"},
        {"missing line", WithLine(csv, 5, ""), "1 items are missing, the first is " +
                                                    std::string(SettingItems[4].name).substr(0, std::string(SettingItems[4].name).find(' ')) + "\n"},
        {"unterminated quote", WithLine(csv, 7, "A,\"B,,"), "line 8: not a line of item, value, title and text\n"},
        {"too many fields", WithLine(csv, 7, "a,b,c,d,e"), "line 8: not a line of item, value, title and text\n"},
        {"no header", csv.substr(csv.find('\n') + 1), "line 1: the first line must be the header \"item,value,title,text\"\n"},
        {"empty", "", "109 items are missing, the first is FRC-LFVA\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        bool ok = true;
        std::string problem;
        const SettingsRecord untouched = Imported(c.text, &ok, &problem);
        EXPECT_FALSE(ok);
        EXPECT_EQ(problem, c.problem);
        EXPECT_EQ(untouched.value[0], 0xA5) << "the record is left as it was";
    }
}

TEST(SettingsDiff, OneChangedItemOnEachPageIsTheOnlyLine) {
    for (int page : {PageHardware, PageSheets, PageForms, PageOther}) {
        int item = 0;
        while (SettingItems[item].page != page) ++item;
        SettingsRecord changed = FactoryDefaults;
        changed.value[item] = static_cast<unsigned char>((FactoryDefaults.value[item] + 1) % SettingValueCount(item));
        int differing = -1;
        const std::string diff = DiffSettings(FactoryDefaults, changed, kEnglish, &differing);
        EXPECT_EQ(differing, 1) << diff;
        const std::string name = std::string(SettingItems[item].name).substr(0, std::string(SettingItems[item].name).find(' '));
        EXPECT_EQ(diff.compare(0, name.size(), name), 0) << diff;
        EXPECT_NE(diff.find(std::string(SettingDisplayText(item, changed.value[item]))), std::string::npos);
        EXPECT_NE(diff.find("1 items differ\n"), std::string::npos);
    }
    int same = -1;
    EXPECT_EQ(DiffSettings(FactoryDefaults, FactoryDefaults, kEnglish, &same), "no item differs\n");
    EXPECT_EQ(same, 0);
}

TEST(SettingsCheck, EveryOutOfListByteAndAWrongLengthIsNamed) {
    std::string bytes = Bytes(FactoryDefaults);
    EXPECT_TRUE(CheckSettingsFile(bytes, kEnglish).empty());
    bytes[0] = 4;  // FRC-LFVA has four values
    bytes[108] = static_cast<char>(255);  // an empty selection
    std::vector<std::string> problems = CheckSettingsFile(bytes, kEnglish);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].compare(0, 8, "FRC-LFVA"), 0);
    EXPECT_NE(problems[0].find("byte 4"), std::string::npos);
    EXPECT_EQ(problems[1].compare(0, 7, "STANDBY"), 0);

    problems = CheckSettingsFile(bytes.substr(0, 50), kEnglish);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0], "50 bytes, a settings file has 109\n");
    problems = CheckSettingsFile(Bytes(FactoryDefaults) + "x", kEnglish);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "110 bytes, a settings file has 109\n");
}

TEST(SettingsShow, OneLinePerItemAndOutOfListBytesNoted) {
    SettingsRecord record = FactoryDefaults;
    record.value[0] = 9;
    const std::string shown = ShowSettings(record, kEnglish);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), SettingCount);
    EXPECT_EQ(shown.substr(0, shown.find('\n')),
              std::string("FRC-LFVA  ") + SettingTitle(0) + " = (not in the list: byte 9)");

    std::string problem;
    SettingsRecord untouched = FactoryDefaults;
    EXPECT_FALSE(RecordFromFile("a.vd6", Bytes(record).substr(1), &untouched, kEnglish, &problem));
    EXPECT_EQ(problem, "a.vd6: 108 bytes, a settings file has 109\n");
    EXPECT_EQ(Bytes(untouched), Bytes(FactoryDefaults));
}

}  // namespace
