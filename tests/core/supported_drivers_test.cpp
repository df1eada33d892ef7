// Which model a driver name stands for: the exact names only.
#include "link/channel/supported_drivers.h"

#include <gtest/gtest.h>

namespace {

TEST(DriverModels, ExactNamesOnly) {
    EXPECT_EQ(ModelFromDriver("KOA koa2400Max-R(0mm)"), ModelKoa2400MaxR);
    EXPECT_EQ(ModelFromDriver("KOA koa2400Max-R(8.5mm)"), ModelKoa2400MaxR);
    EXPECT_EQ(ModelFromDriver("KOA koa2400Max-RN"), ModelKoa2400MaxR);
    EXPECT_EQ(ModelFromDriver("KOA koa2600Max-R(0mm)"), ModelKoa2600MaxR);
    EXPECT_EQ(ModelFromDriver("KOA koa2600Max-R(8.5mm)"), ModelKoa2600MaxR);
    EXPECT_EQ(ModelFromDriver("KOA koa2600Max-RN"), ModelKoa2600MaxR);
}

TEST(DriverModels, NearMissesAreUnsupported) {
    for (const char* driver :
         {"KOA koa2400Max-R(0mm) ", " KOA koa2400Max-R(0mm)", "koa koa2400Max-R(0mm)", "KOA KOA2400MAX-R(0MM)",
          "KOA koa2400Max-R", "KOA koa2400Max-R(0mm", "KOA koa2400Max-R(0mm)x", "KOA koa2600Max-R(8,5mm)",
          "KOA koa2400Max-RN2", "KOA koa2400Max-R(0mm)\t", "KOA  koa2600Max-RN", "KOA koa2800Max-R(0mm)", "",
          "Other Make Laser"})
        EXPECT_EQ(ModelFromDriver(driver), ModelUnsupported) << '"' << driver << '"';
    EXPECT_EQ(ModelFromDriver(nullptr), ModelUnsupported);
}

}  // namespace
