#include <gtest/gtest.h>

#include "tests/support/CScriptedUi.h"
#include "units/CDimValue.h"
#include "units/CDimlessValue.h"
#include "units/CPressure.h"
#include "units/Units.h"

TEST(CDimValue, DefaultIsZeroWithoutUnit) {
    const CDimValue value;
    EXPECT_EQ(value.Value(), 0.0);
    EXPECT_EQ(value.Unit(), CUnit());
}

TEST(CDimValue, HoldsValueAndUnit) {
    CScriptedUi ui;
    const CUnit psi(6, units::kMtcSp);
    const CDimValue value(14.696, psi);
    EXPECT_EQ(value.Value(), 14.696);
    EXPECT_EQ(value.Unit(), psi);
    const CDimValue copy(value);
    CDimValue assigned;
    assigned = value;
    EXPECT_EQ(copy.Value(), 14.696);
    EXPECT_EQ(assigned.Unit(), psi);
}

TEST(CDimValue, ConvertDoesNothingInTheBase) {
    CScriptedUi ui;
    CDimValue value(14.696, CUnit(6, units::kMtcSp));
    value.ConvertTo(CUnit(12, units::kMtcSp));
    EXPECT_EQ(value.Value(), 14.696);
    EXPECT_EQ(value.Unit(), CUnit(6, units::kMtcSp));
}

TEST(CDimValue, SetStoresValueAndUnit) {
    CScriptedUi ui;
    CDimValue value;
    value.Set(3.5, CUnit(47, units::kMtcLength));
    EXPECT_EQ(value.Value(), 3.5);
    EXPECT_EQ(value.Unit(), CUnit(47, units::kMtcLength));
}

TEST(CDimValue, ConvertIsVirtual) {
    CScriptedUi ui;
    CPressure pressure(1.0, CUnit(6, units::kMtcSp));
    CDimValue& base = pressure;
    base.ConvertTo(CUnit(1, units::kMtcDp));
    EXPECT_NEAR(base.Value(), 1.0 / 0.03606234, 1e-12);
    EXPECT_EQ(base.Unit(), CUnit(1, units::kMtcDp));
}

TEST(CDimlessValue, HoldsADouble) {
    CDimlessValue damping(0.896);
    EXPECT_EQ(damping.Get(), 0.896);
    damping.Set(2.0);
    EXPECT_EQ(damping.Get(), 2.0);
    const CDimlessValue copy(damping);
    CDimlessValue assigned;
    EXPECT_EQ(assigned.Get(), 0.0);
    assigned = copy;
    EXPECT_EQ(assigned.Get(), 2.0);
}
