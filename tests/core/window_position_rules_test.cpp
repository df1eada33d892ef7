// Where the monitor window goes: the saved position's grip on the work area
// and the centring, for any values the registry may hold.
#include "monitor/core/window_position_rules.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

const PixelRect kArea = {0, 0, 1280, 994};

TEST(WindowPositionRules, SavedPositionMustKeepTenPixelsOnTheWorkArea) {
    // Width 400: left must lie strictly between 0 - 400 + 10 and 1280 - 10.
    EXPECT_TRUE(SavedPositionFits(kArea, 400, 300, 100, 100));
    EXPECT_TRUE(SavedPositionFits(kArea, 400, 300, -389, 100));
    EXPECT_FALSE(SavedPositionFits(kArea, 400, 300, -390, 100));
    EXPECT_TRUE(SavedPositionFits(kArea, 400, 300, 1269, 100));
    EXPECT_FALSE(SavedPositionFits(kArea, 400, 300, 1270, 100));
    EXPECT_TRUE(SavedPositionFits(kArea, 400, 300, 100, -289));
    EXPECT_FALSE(SavedPositionFits(kArea, 400, 300, 100, -290));
    EXPECT_TRUE(SavedPositionFits(kArea, 400, 300, 100, 983));
    EXPECT_FALSE(SavedPositionFits(kArea, 400, 300, 100, 984));
    // A work area that does not start at 0 (taskbar at the top or left).
    const PixelRect shifted = {60, 30, 1280, 1024};
    EXPECT_FALSE(SavedPositionFits(shifted, 400, 300, -340, 100));
    EXPECT_TRUE(SavedPositionFits(shifted, 400, 300, -329, 100));
}

TEST(WindowPositionRules, ValuesFromTheRegistryNeverOverflow) {
    EXPECT_FALSE(SavedPositionFits(kArea, 400, 300, INT32_MIN, 100));
    EXPECT_FALSE(SavedPositionFits(kArea, 400, 300, INT32_MAX, 100));
    EXPECT_FALSE(SavedPositionFits(kArea, 400, 300, 100, INT32_MIN));
    // A window as wide as can be keeps its grip anywhere left of the edge.
    EXPECT_TRUE(SavedPositionFits(kArea, INT32_MAX, 300, 100, 100));
    EXPECT_FALSE(SavedPositionFits(kArea, INT32_MIN, 300, 100, 100));
    const PixelRect huge = {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    EXPECT_TRUE(SavedPositionFits(huge, 400, 300, 0, 0));
    EXPECT_EQ(CentredPosition(huge, 400, 300).x, -200);
    EXPECT_EQ(CentredPositionForSave(huge, INT32_MIN, INT32_MIN).x, INT32_MAX / 2);
    EXPECT_EQ(CentredPositionForSave(kArea, INT32_MIN, INT32_MIN).x, (1280 - static_cast<long long>(INT32_MIN)) / 2);
}

TEST(WindowPositionRules, CentringWithIntegerDivision) {
    const PixelPoint at = CentredPosition(kArea, 401, 301);
    EXPECT_EQ(at.x, (0 + 1280 - 401) / 2);
    EXPECT_EQ(at.y, (0 + 994 - 301) / 2);
    const PixelRect shifted = {60, 30, 1280, 1024};
    EXPECT_EQ(CentredPosition(shifted, 400, 300).x, (60 + 1280 - 400) / 2);
    EXPECT_EQ(CentredPosition(shifted, 400, 300).y, (30 + 1024 - 300) / 2);
}

TEST(WindowPositionRules, LargerWindowGoesToTheWorkAreaEdgeExceptWhenSaving) {
    const PixelRect small = {10, 20, 610, 420};
    const PixelPoint at = CentredPosition(small, 800, 300);
    EXPECT_EQ(at.x, 10);
    EXPECT_EQ(at.y, (20 + 420 - 300) / 2);
    EXPECT_EQ(CentredPosition(small, 300, 500).y, 20);
    const PixelPoint saved = CentredPositionForSave(small, 800, 500);
    EXPECT_EQ(saved.x, (10 + 610 - 800) / 2);  // -90: C division truncates
    EXPECT_EQ(saved.y, (20 + 420 - 500) / 2);
}

}  // namespace
