#include "sim/SimConvert.h"

#include <gtest/gtest.h>

namespace {

using Wire = std::array<uint8_t, 4>;

TEST(SimConvert, FloatByteOrders) {
    // 1.0f is 3F 80 00 00 (bytes A B C D).
    EXPECT_EQ(sim::FloatToWire(1.0F, 0), (Wire{0x3F, 0x80, 0x00, 0x00}));
    EXPECT_EQ(sim::FloatToWire(1.0F, 1), (Wire{0x00, 0x00, 0x3F, 0x80}));
    EXPECT_EQ(sim::FloatToWire(1.0F, 2), (Wire{0x00, 0x00, 0x80, 0x3F}));
    EXPECT_EQ(sim::FloatToWire(1.0F, 3), (Wire{0x80, 0x3F, 0x00, 0x00}));
    EXPECT_EQ(sim::FloatToWire(1.0F, 7), (Wire{0x3F, 0x80, 0x00, 0x00}));
    for (uint16_t format = 0; format < 4; ++format) {
        const Wire wire = sim::FloatToWire(-123.456F, format);
        EXPECT_EQ(sim::FloatFromWire(wire.data(), format), -123.456F) << format;
    }
}

TEST(SimConvert, UnitsAgainstReferenceValues) {
    // 1 psi = 1 / 0.03606234 inches of water at 68 °F.
    EXPECT_NEAR(sim::ToInternal(sim::kSp, 5, 1.0), 27.7297, 1e-4);
    // 68 °F = 20 °C; PT device code 20 is °C.
    EXPECT_NEAR(sim::FromInternal(sim::kPt, 20, 68.0), 20.0, 1e-12);
    EXPECT_NEAR(sim::ToInternal(sim::kPt, 20, 20.0), 68.0, 1e-12);
    // DP device code 2 is Pa: 1 inch of water at 68 °F = 248.64107 Pa.
    EXPECT_NEAR(sim::FromInternal(sim::kDp, 2, 1.0), 248.64107, 1e-9);
    // A code the variable does not accept counts as its default unit.
    EXPECT_EQ(sim::ToInternal(sim::kDp, 99, 12.5), sim::ToInternal(sim::kDp, 1, 12.5));
    EXPECT_EQ(sim::FromInternal(sim::kPt, 0, 100.0), 100.0);
    const float limit = 250.0F;
    EXPECT_EQ(
        static_cast<float>(sim::FromInternal(sim::kDp, 1, sim::ToInternal(sim::kDp, 1, limit))),
        limit);
}

TEST(SimConvert, ValidUnitsCodes) {
    for (uint16_t code : {1, 2, 3, 6}) EXPECT_TRUE(sim::IsValidUnitsCode(sim::kDp, code));
    for (uint16_t code : {0, 4, 5, 240}) EXPECT_FALSE(sim::IsValidUnitsCode(sim::kDp, code));
    for (uint16_t code : {3, 4, 5}) EXPECT_TRUE(sim::IsValidUnitsCode(sim::kSp, code));
    EXPECT_FALSE(sim::IsValidUnitsCode(sim::kSp, 6));
    EXPECT_TRUE(sim::IsValidUnitsCode(sim::kPt, 20));
    EXPECT_FALSE(sim::IsValidUnitsCode(sim::kPt, 33));
}

}  // namespace
