// The setting pages' row table: every item shown exactly once on the page the
// item table names with unique control ids, the column and group
// structure, and the forms page's greying rule.
#include "panel/core/page_layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

std::string Name(int recordByte) {
    std::string name(SettingItems[recordByte].name, FieldWidth);
    return name.substr(0, name.find_last_not_of(' ') + 1);
}

std::vector<const PageRow*> GroupRows(int page, int group) {
    std::vector<const PageRow*> out;
    for (int i = 0; i < PageRowCount(page); ++i)
        if (PageRows(page)[i].group == group) out.push_back(&PageRows(page)[i]);
    return out;
}

TEST(PageLayout, EveryItemHasOneRowOnItsPageWithUniqueIds) {
    std::map<int, int> shown;
    std::set<int> ids;
    for (int page = 0; page < PageCount; ++page)
        for (int i = 0; i < PageRowCount(page); ++i) {
            const PageRow& row = PageRows(page)[i];
            ASSERT_LT(row.recordByte, SettingCount);
            ++shown[row.recordByte];
            EXPECT_EQ(static_cast<int>(SettingItems[row.recordByte].page), page) << Name(row.recordByte);
            EXPECT_EQ(row.listId, row.labelId + 1000);
            EXPECT_TRUE(ids.insert(row.labelId).second && ids.insert(row.listId).second) << row.labelId;
            // Label ids rise in tab order inside the page's own hundred.
            EXPECT_EQ(row.labelId / 100, 13 + page);
            EXPECT_TRUE(i == 0 || row.labelId > PageRows(page)[i - 1].labelId) << row.labelId;
        }
    ASSERT_EQ(shown.size(), static_cast<size_t>(SettingCount));
    for (const auto& entry : shown) EXPECT_EQ(entry.second, 1) << Name(entry.first);
}

TEST(PageLayout, HardwareColumnOneHoldsTheFirstNineteenRows) {
    ASSERT_EQ(PageRowCount(PageHardware), 33);
    for (int i = 0; i < 33; ++i) EXPECT_EQ(PageRows(PageHardware)[i].column, i < 19 ? 1 : 2) << i;
    // The two late items sit among the hardware rows.
    EXPECT_EQ(Name(PageRows(PageHardware)[14].recordByte), "CUT-CTL");
    EXPECT_EQ(Name(PageRows(PageHardware)[27].recordByte), "EJCT-CTL");
}

// Groups follow one another; inside each, column 1 is filled first, and the
// fine adjustments ("...AJ", "...ADJ") are in column 2.
TEST(PageLayout, GroupsAreContiguousWithColumnOneFirst) {
    const int groups[PageCount] = {0, 3, 2, 3};
    for (int page = 0; page < PageCount; ++page) {
        EXPECT_EQ(PageGroupCount(page), groups[page]);
        int group = groups[page] ? 1 : 0, column = 1;
        for (int i = 0; i < PageRowCount(page); ++i) {
            const PageRow& row = PageRows(page)[i];
            if (row.group != group) {
                EXPECT_EQ(row.group, group + 1) << "page " << page << " row " << i;
                group = row.group;
                column = 1;
            }
            EXPECT_TRUE(row.column == column || row.column == column + 1) << "page " << page << " row " << i;
            column = row.column;
            const std::string name = Name(row.recordByte);
            const bool trim = name.find("AJ") != std::string::npos || name.find("ADJ") != std::string::npos;
            EXPECT_TRUE(page == PageHardware || !trim || row.column == 2) << name;
        }
        EXPECT_EQ(group, groups[page]);
    }
    EXPECT_EQ(PageRows(4), nullptr);
    EXPECT_EQ(PageRowCount(-1), 0);
    EXPECT_EQ(FindPageRow(PageForms, 0), nullptr);
}

// Front and rear groups show the same items in the same places.
TEST(PageLayout, FrontAndRearGroupsMirrorEachOther) {
    for (int page : {int(PageSheets), int(PageForms)}) {
        const auto front = GroupRows(page, 1), rear = GroupRows(page, 2);
        ASSERT_EQ(front.size(), rear.size());
        for (size_t i = 0; i < front.size(); ++i) {
            EXPECT_EQ(Name(front[i]->recordByte).substr(1), Name(rear[i]->recordByte).substr(1));
            EXPECT_EQ(front[i]->column, rear[i]->column);
        }
    }
}

TEST(PageLayout, AFormsTrimIsEnabledOnlyWhileItsOwnDetectionIsAtPositionZero) {
    int count = 0;
    const GreyingRule* rules = PageGreyingRules(PageForms, &count);
    ASSERT_EQ(count, 2);
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(Name(rules[i].detectionByte) + "AJ", Name(rules[i].adjustmentByte));
        EXPECT_STREQ(SettingDisplayText(rules[i].detectionByte, 0), "4.2mm");
    }
    SettingsRecord record{};
    EXPECT_TRUE(PageRowEnabled(PageForms, 69, record));
    record.value[64] = 1;  // "101mm"
    EXPECT_FALSE(PageRowEnabled(PageForms, 69, record));
    EXPECT_TRUE(PageRowEnabled(PageForms, 81, record));
    record.value[64] = 0;
    record.value[76] = 255;  // an emptied list is not 0 either
    EXPECT_TRUE(PageRowEnabled(PageForms, 69, record));
    EXPECT_FALSE(PageRowEnabled(PageForms, 81, record));
    // No other row, on any page, is ever greyed; the cut-sheet trims stay
    // enabled with detection off.
    std::memset(record.value, 1, sizeof record.value);
    for (int page = 0; page < PageCount; ++page)
        for (int i = 0; i < PageRowCount(page); ++i) {
            const int b = PageRows(page)[i].recordByte;
            EXPECT_TRUE(b == 69 || b == 81 || PageRowEnabled(page, b, record)) << Name(b);
        }
    EXPECT_EQ(PageGreyingRules(PageSheets, &count), nullptr);
    EXPECT_EQ(count, 0);
}

TEST(PageLayout, SelectionsAndRecordBytesStayInsideTheList) {
    EXPECT_EQ(SelectionToRecordByte(-1), 255);  // CB_ERR: no selection
    EXPECT_EQ(SelectionToRecordByte(0), 0);
    EXPECT_EQ(SelectionToRecordByte(254), 254);
    EXPECT_EQ(SelectionToRecordByte(255), 255);
    EXPECT_EQ(SelectionToRecordByte(70000), 255);
    EXPECT_EQ(RecordByteToSelection(2, 3), 2);
    EXPECT_EQ(RecordByteToSelection(3, 3), -1);
    EXPECT_EQ(RecordByteToSelection(7, 3), -1);
    EXPECT_EQ(RecordByteToSelection(255, 161), -1);
}

}  // namespace
