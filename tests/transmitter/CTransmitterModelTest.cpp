#include "transmitter/CTransmitter.h"

#include <gtest/gtest.h>

#include "flow/CGasFlow.h"
#include "flow/CLiquidFlow.h"
#include "link/CCommException.h"
#include "link/CDeviceException.h"
#include "link/ErrorReport.h"
#include "platform/CException.h"
#include "tests/support/CScriptedUi.h"
#include "transmitter/VariableNames.h"

using namespace transmitter;

namespace {

int CommErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CCommException& e) {
        return e.Error();
    }
    return -1;
}

TEST(CTransmitterModel, NewModelHoldsTheInitialWordsAndVersion) {
    CScriptedUi ui;
    CTransmitter model;
    EXPECT_EQ(model.FormatVersion(), 1);
    EXPECT_EQ(model.CommunicationWords(), (std::array<uint16_t, 5>{0, 0, 50, 0, 0}));
    EXPECT_EQ(model.Assignment(), (std::array<int, 4>{32, 0, 1, 2}));
    ASSERT_NE(model.Flow(), nullptr);
    EXPECT_FALSE(model.Flow()->IsLiquid());
    EXPECT_EQ(model.Flow()->FluidName(), "NITROGEN");
}

TEST(CTransmitterModel, ResetRestoresEveryPartButKeepsTheFormatVersion) {
    CScriptedUi ui;
    CTransmitter model;
    model.SetFormatVersion(0);
    model.SetCommunicationWords({1, 2, 3, 2, 1});
    model.Dp().WriteDamping(4.0, kAccessDocument);
    model.Sp().SetSpType(CSPVariable::kSpTypeGauge);
    model.DeviceInfo().SetTag("FT 101");
    model.LcdDisplay().Write({4}, 9, kAccessDocument);
    model.WriteVariableAssignment({0, 1, 2, 32}, kAccessDocument);
    model.SetFlow(std::make_unique<CLiquidFlow>());

    model.Reset();

    EXPECT_EQ(model.FormatVersion(), 0);
    EXPECT_EQ(model.CommunicationWords(), (std::array<uint16_t, 5>{0, 0, 50, 0, 0}));
    EXPECT_DOUBLE_EQ(model.Dp().ReadDamping(kAccessDocument), 0.896);
    EXPECT_EQ(model.Sp().SpType(), 99);
    EXPECT_DOUBLE_EQ(model.Sp().AtmosphericPressure(), 14.73);
    EXPECT_EQ(model.DeviceInfo().Tag(), "");
    EXPECT_EQ(model.LcdDisplay().Mask(), 15);
    EXPECT_EQ(model.LcdDisplay().Interval(), 3);
    EXPECT_EQ(model.Assignment(), (std::array<int, 4>{32, 0, 1, 2}));
    // The liquid is reset to the defaults of a liquid, not replaced by a gas.
    ASSERT_NE(model.Flow(), nullptr);
    EXPECT_TRUE(model.Flow()->IsLiquid());
}

TEST(CTransmitterModel, ResetKeepsTheKindOfFlowConfigurationOrNone) {
    CScriptedUi ui;
    CTransmitter model;
    model.SetFlow(std::make_unique<CLiquidFlow>());
    CFlow* liquid = model.Flow();
    liquid->SetFluidName("GLYCOL");
    liquid->SetMolecularWeight(CDimlessValue(62.07));
    liquid->Density()->Resize(4);
    model.Reset();
    ASSERT_TRUE(model.HasFlow());
    EXPECT_TRUE(model.Flow()->IsLiquid());
    EXPECT_EQ(model.Flow()->GetGasExpansion(), nullptr);
    EXPECT_EQ(model.Flow()->FluidName(), "WATER");
    EXPECT_DOUBLE_EQ(model.Flow()->MolecularWeight().Get(), 18.015);
    EXPECT_EQ(model.Flow()->Density()->PointCount(), 0);

    model.SetFlow(std::make_unique<CGasFlow>());
    model.Flow()->SetFluidName("METHANE");
    model.Flow()->SetIsentropicExponent(1.31);
    model.Reset();
    ASSERT_TRUE(model.HasFlow());
    EXPECT_FALSE(model.Flow()->IsLiquid());
    EXPECT_EQ(model.Flow()->FluidName(), "NITROGEN");
    EXPECT_DOUBLE_EQ(model.Flow()->GetIsentropicExponent(), 1.4);
    EXPECT_NE(model.Flow()->GetGasExpansion(), nullptr);

    model.RemoveFlow();
    model.Reset();
    EXPECT_FALSE(model.HasFlow());
}

TEST(CTransmitterModel, FlowConfigurationCanBeReplacedAndRemoved) {
    CScriptedUi ui;
    CTransmitter model;
    model.SetFlow(std::make_unique<CLiquidFlow>());
    ASSERT_TRUE(model.HasFlow());
    EXPECT_TRUE(model.Flow()->IsLiquid());
    model.RemoveFlow();
    EXPECT_FALSE(model.HasFlow());
    EXPECT_EQ(model.Flow(), nullptr);
}

struct VariableDefaults {
    int index;
    int unitsCode;
    std::vector<int> allowed;
    double lower;
    double upper;
    uint16_t scaleFactor;
    uint16_t offset;
};

class VariableDefaultsTest : public ::testing::TestWithParam<VariableDefaults> {};

TEST_P(VariableDefaultsTest, NewVariableHoldsItsInitialValues) {
    CScriptedUi ui;
    CTransmitter model;
    const VariableDefaults& d = GetParam();
    CMeasuredVariable& v = model.Variable(d.index);
    EXPECT_EQ(v.VariableCode(), d.index);
    EXPECT_EQ(v.Units(), CUnit(d.unitsCode, d.index));
    ASSERT_EQ(v.AllowedUnits().GetSize(), d.allowed.size());
    for (size_t i = 0; i < d.allowed.size(); ++i)
        EXPECT_EQ(v.AllowedUnits()[i], CUnit(d.allowed[i], d.index));
    EXPECT_DOUBLE_EQ(v.Damping().Get(), 0.896);
    EXPECT_EQ(v.ReadOperatingLimits(kAccessDocument), std::make_pair(d.lower, d.upper));

    const IntegerScalingRecord& r = v.IntegerScaling();
    EXPECT_EQ(r.method, 0);
    EXPECT_EQ(r.rounding, 0);
    EXPECT_EQ(r.counts, 65534);
    EXPECT_EQ(r.scaleFactor, d.scaleFactor);
    EXPECT_EQ(r.offset, d.offset);
    EXPECT_EQ(r.minInteger, 0);
    EXPECT_EQ(r.maxInteger, 65534);
    // The minimum and maximum PV of a new model are the operating limits.
    EXPECT_FLOAT_EQ(r.minPv, static_cast<float>(d.lower));
    EXPECT_FLOAT_EQ(r.maxPv, static_cast<float>(d.upper));
}

INSTANTIATE_TEST_SUITE_P(
    AllVariables, VariableDefaultsTest,
    ::testing::Values(VariableDefaults{kVarDp, 240, {240, 1, 11, 12}, -250, 250, 131, 18},
                      VariableDefaults{kVarSp, 6, {6, 12, 237}, 0, 800, 81, 32768},
                      VariableDefaults{kVarPt, 33, {33, 32}, -40, 400, 148, 26848}));

TEST(CTransmitterModel, VariableIndexOutsideDpSpPtIsRefused) {
    CScriptedUi ui;
    CTransmitter model;
    EXPECT_EQ(CommErrorOf([&] { model.Variable(3); }), 17);
    EXPECT_EQ(CommErrorOf([&] { model.Variable(-1); }), 17);
}

TEST(CTransmitterModel, DocumentLimitsFollowAUnitsChange) {
    CScriptedUi ui;
    CTransmitter model;
    model.Pt().WriteUnits(CUnit(32, kVarPt), kAccessDocument);
    const auto limits = model.Pt().ReadOperatingLimits(kAccessDocument);
    // -40 °F is -40 °C; 400 °F is 204.444 °C.
    EXPECT_NEAR(limits.first, -40.0, 1e-9);
    EXPECT_NEAR(limits.second, (400.0 - 32.0) / 1.8, 1e-9);
    // The stored values keep their own unit.
    EXPECT_EQ(model.Pt().UpperOperatingLimit().Unit(), CUnit(33, kVarPt));
}

TEST(CTransmitterModel, UnitNotAllowedForTheVariableIsRefused) {
    CScriptedUi ui;
    CTransmitter model;
    EXPECT_EQ(CommErrorOf([&] { model.Pt().WriteUnits(CUnit(34, kVarPt), kAccessDocument); }), 16);
    EXPECT_EQ(model.Pt().Units(), CUnit(33, kVarPt));
}

TEST(CTransmitterModel, TransmitterAccessWithoutConnectionIsOffline) {
    CScriptedUi ui;
    CTransmitter model;
    EXPECT_EQ(CommErrorOf([&] { model.Dp().ReadDamping(kAccessTransmitter); }), 6);
    EXPECT_EQ(CommErrorOf([&] { model.DeviceInfo().ReadTag(kAccessTransmitter); }), 6);
    EXPECT_EQ(CommErrorOf([&] { model.LcdDisplay().Read(kAccessTransmitter); }), 6);
    EXPECT_EQ(CommErrorOf([&] { model.WriteFloatFormat(2, kAccessTransmitter); }), 6);
    // Any value other than 1 means the transmitter.
    EXPECT_EQ(CommErrorOf([&] { model.ReadTurnaroundDelay(7); }), 6);
    EXPECT_EQ(model.FloatFormat(), 0);
}

TEST(VariableNames, KnownCodesHaveTheirNamesAndNoneIsEmpty) {
    CScriptedUi ui;
    EXPECT_EQ(GetVariableName(0), "Differential Pressure");
    EXPECT_EQ(GetVariableName(1), "Static Pressure");
    EXPECT_EQ(GetVariableName(2), "Process Temperature");
    EXPECT_EQ(GetVariableName(32), "Flow");
    EXPECT_EQ(GetVariableName(239), "");
}

TEST(VariableNames, IllegalCodeIsReportedAndNamed) {
    CScriptedUi ui;
    ui.ExpectWithIcon("Error: illegal variable code = 3", MsgIcon::Stop);
    EXPECT_EQ(GetVariableName(3), "illegal code = 3");
}

TEST(VariableAssignment, ValidDocumentAssignmentIsReturnedWithoutPrompt) {
    CScriptedUi ui;
    CTransmitter model;
    EXPECT_EQ(model.ReadVariableAssignment(kAccessDocument), (std::array<int, 4>{32, 0, 1, 2}));
}

constexpr const char* kRepairPrompt =
    "The transmitter has an invalid variable code and may be malfunctioning.\n Do you want to "
    "set this code to Differential Pressure?";

TEST(VariableAssignment, OkReplacesEveryInvalidCodeByDpAndWritesIt) {
    CScriptedUi ui;
    CTransmitter model;
    model.WriteVariableAssignment({32, 5, 1, 239}, kAccessDocument);
    ui.ExpectWithIcon(kRepairPrompt, MsgIcon::Stop, MsgAnswer::Ok);
    EXPECT_EQ(model.ReadVariableAssignment(kAccessDocument), (std::array<int, 4>{32, 0, 1, 0}));
    EXPECT_EQ(model.Assignment(), (std::array<int, 4>{32, 0, 1, 0}));
}

TEST(VariableAssignment, CancelAbandonsSilentlyAndChangesNothing) {
    CScriptedUi ui;
    CTransmitter model;
    model.WriteVariableAssignment({32, 0, 1, 33}, kAccessDocument);
    ui.ExpectWithIcon(kRepairPrompt, MsgIcon::Stop, MsgAnswer::Cancel);
    EXPECT_THROW(model.ReadVariableAssignment(kAccessDocument), CUserException);
    EXPECT_EQ(model.Assignment(), (std::array<int, 4>{32, 0, 1, 33}));
}

TEST(IntegerScaling, FactorPvsFollowTheScaleFactorAndOffset) {
    // 131 counts per unit with offset 18 start at (18 - 32768) / 131 = -250.
    IntegerScalingRecord r;
    r.counts = 65534;
    r.scaleFactor = 131;
    r.offset = 18;
    CMeasuredVariable::DeriveFactorPvs(r);
    EXPECT_FLOAT_EQ(r.minPv, -250.0f);
    EXPECT_FLOAT_EQ(r.maxPv, static_cast<float>((65534.0 + 18 - 32768) / 131));
}

TEST(IntegerScaling, ZeroScaleFactorDoesNotDivideByZero) {
    IntegerScalingRecord r;
    r.counts = 100;
    r.scaleFactor = 0;
    r.offset = 32768;
    CMeasuredVariable::DeriveFactorPvs(r);
    EXPECT_FLOAT_EQ(r.minPv, 0.0f);
    EXPECT_FLOAT_EQ(r.maxPv, 100.0f);
}

TEST(IntegerScaling, DocumentStagingStoresTheRecord) {
    CScriptedUi ui;
    CTransmitter model;
    IntegerScalingRecord r = model.Sp().IntegerScaling();
    r.method = 1;
    r.minInteger = 10;
    r.maxInteger = 20000;
    model.Sp().StageIntegerScaling(r, kAccessDocument);
    EXPECT_EQ(model.Sp().ReadIntegerScaling(1, kAccessDocument), r);
    EXPECT_EQ(model.Dp().IntegerScaling().method, 0);
}

}  // namespace
