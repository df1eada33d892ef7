// The panel's item table held against the printer emulator's item file, which
// is kept by hand apart from it: a wrong name, keyword, list position or
// factory value on either side shows up here as a difference between the two.
//
// The file lists the items in the order of the printer's "?NVRAM" answer.
// That is record order (the order of SettingItems: CUT-BACK is item 14, after
// TEAROFF), not SettingExchangeOrder (which moves CUT-BACK behind EJCT-CTL), so
// the two tables are compared index by index in record order.
#include "panel/core/setting_items.h"
#include "tools/printer_emu/printer_emulator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

namespace {

// The emulator keeps names and keywords without their blank padding.
std::string Padded(const std::string& text) {
    std::string field = text;
    if (field.size() < FieldWidth) field.resize(FieldWidth, ' ');
    return field;
}

std::string ProductKeyword(int item, int position) {
    const char* keyword = SettingKeyword(item, position);
    return keyword ? std::string(keyword, FieldWidth) : std::string("<no value>");
}

TEST(ItemTableCrossCheck, EveryItemAgreesWithTheEmulatorsItemFile) {
    PrinterEmulator printer;
    std::string error;
    ASSERT_TRUE(printer.LoadItems(KOA_PRINTER_ITEMS_PATH, &error)) << error;
    const std::vector<EmulatorItem>& items = printer.Items();
    ASSERT_EQ(items.size(), static_cast<std::size_t>(SettingCount));

    for (int i = 0; i < SettingCount; ++i) {
        const EmulatorItem& other = items[static_cast<std::size_t>(i)];
        const std::string where = "item " + std::to_string(i) + " \"" + std::string(SettingItems[i].name, FieldWidth) +
                                  "\" (emulator: \"" + other.name + "\")";
        EXPECT_EQ(std::string(SettingItems[i].name, FieldWidth), Padded(other.name)) << where << ": name";

        const int count = SettingValueCount(i);
        EXPECT_EQ(static_cast<std::size_t>(count), other.keywords.size()) << where << ": number of values";
        const int positions = std::max(count, static_cast<int>(other.keywords.size()));
        for (int p = 0; p < positions; ++p) {
            const std::string theirs = p < static_cast<int>(other.keywords.size())
                                           ? Padded(other.keywords[static_cast<std::size_t>(p)])
                                           : std::string("<no value>");
            EXPECT_EQ(ProductKeyword(i, p), theirs) << where << ": value position " << p;
        }

        EXPECT_EQ(static_cast<std::size_t>(FactoryDefaults.value[i]), other.factory)
            << where << ": factory position (\"" << ProductKeyword(i, FactoryDefaults.value[i]) << "\" here)";
    }
}

}  // namespace
