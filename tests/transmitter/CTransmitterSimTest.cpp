#include <gtest/gtest.h>

#include "link/CDeviceException.h"
#include "link/ErrorReport.h"
#include "platform/CException.h"
#include "tests/transmitter/TransmitterSimFixture.h"

using namespace transmitter;

namespace {

constexpr const char* kDpUnitsRepairPrompt =
    "The transmitter has an invalid Differential Pressure\nunits code and may be "
    "malfunctioning.\nDo you want to set this code to InH2O-60°F?";

int DeviceErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CDeviceException& e) {
        return e.Error();
    }
    return -1;
}

class UnitsRepair : public TransmitterSimTest {
  protected:
    void SetUp() override {
        TransmitterSimTest::SetUp();
        m_options.unitsCodes = {4, 5, 21};  // device DP code 4 (mmH2O) is not a DP unit here
        Connect();
    }
};

TEST_F(UnitsRepair, OkWritesTheFirstAllowedUnitAndContinuesWithIt) {
    m_ui.ExpectWithIcon(kDpUnitsRepairPrompt, MsgIcon::Stop, MsgAnswer::Ok);
    const VariableSettings s = m_model.Dp().ReadSettings(kAccessTransmitter);
    EXPECT_EQ(s.unitsCode, 240);
    EXPECT_EQ(m_sim->UnitsCode(SimVariable::kDp), 1);
    EXPECT_NEAR(s.minimumSpan, s.upperRangeLimit / 100.0, 1e-9);
    // Repaired: the next read asks nothing.
    EXPECT_EQ(m_model.Dp().ReadUnits(kAccessTransmitter), CUnit(240, kVarDp));
}

TEST_F(UnitsRepair, CancelAbandonsSilentlyAndWritesNothing) {
    m_ui.ExpectWithIcon(kDpUnitsRepairPrompt, MsgIcon::Stop, MsgAnswer::Cancel);
    EXPECT_THROW(m_model.Dp().ReadDamping(kAccessTransmitter), CUserException);
    EXPECT_EQ(m_sim->UnitsCode(SimVariable::kDp), 4);
}

TEST_F(UnitsRepair, VariableWithoutAllowedUnitsFailsWithInvalidUnits) {
    m_model.Sp().AllowedUnits().RemoveAll();
    EXPECT_EQ(CommErrorOf([&] { m_model.Sp().ReadSettings(kAccessTransmitter); }), 16);
}

class UnitsCheck : public TransmitterSimTest {};

TEST_F(UnitsCheck, AllowedUnitOfAnotherVariableFailsWithInvalidUnits) {
    m_options.unitsCodes = {3, 5, 21};  // DP in kPa
    Connect();
    // kPa is listed, but as a static pressure unit.
    CGoArray<CUnit>& allowed = m_model.Dp().AllowedUnits();
    allowed.RemoveAll();
    allowed.Add(CUnit(12, kVarSp));
    EXPECT_EQ(CommErrorOf([&] { m_model.Dp().ReadSettings(kAccessTransmitter); }), 16);
    EXPECT_EQ(m_sim->UnitsCode(SimVariable::kDp), 3);
}

class DeviceInformation : public TransmitterSimTest {};

TEST_F(DeviceInformation, DeviceDateBefore1970RaisesTheDeviceError) {
    m_options.year = 1969;
    Connect();
    try {
        m_model.DeviceInfo().ReadTagDescriptorDate(kAccessTransmitter);
        ADD_FAILURE() << "an invalid date was accepted";
    } catch (const CDeviceException& e) {
        EXPECT_EQ(e.Error(), 1);
        EXPECT_EQ(MessageFor(e), 969u);
    }
}

TEST_F(DeviceInformation, DayOfMonthIsTheWholeOfRegister29) {
    Connect();
    // Day 261: its low byte alone would be a valid 5.
    m_sim->SetHoldingRegister(29, 0x0105);
    EXPECT_EQ(
        DeviceErrorOf([&] { m_model.DeviceInfo().ReadTagDescriptorDate(kAccessTransmitter); }),
        deverr::kInvalidDate);
    EXPECT_EQ(DeviceErrorOf([&] { m_model.ReceiveDeviceInformation(); }), deverr::kInvalidDate);
}

TEST_F(DeviceInformation, CodesAndSensorFieldsComeFromTheIdentityBlock) {
    m_options.deviceInfoCodes = {3, 12, 4, 11, 2, 3, 5, 1};
    Connect();
    const CDeviceInfo::Codes codes = m_model.DeviceInfo().ReadCodes(kAccessTransmitter);
    EXPECT_EQ(codes.construction.flangeMaterial, 3);
    EXPECT_EQ(codes.construction.flangeType, 12);
    EXPECT_EQ(codes.construction.drainVentMaterial, 4);
    EXPECT_EQ(codes.construction.oRingMaterial, 11);
    EXPECT_EQ(codes.construction.remoteSealCount, 1);
    EXPECT_EQ(codes.sensor.isolatorMaterial, 2);
    // The document copy is not touched by a transmitter read.
    EXPECT_EQ(m_model.DeviceInfo().FlangeType(), 13);
}

TEST_F(DeviceInformation, SpTypeComesFromRegisterTen) {
    m_options.register10 = 1;
    Connect();
    EXPECT_EQ(m_model.Sp().ReadSpType(kAccessTransmitter), CSPVariable::kSpTypeGauge);
    EXPECT_EQ(m_model.Sp().ReadSpType(kAccessDocument), 99);
}

class WholeConfiguration : public TransmitterSimTest {};

TEST_F(WholeConfiguration, SentConfigurationIsReceivedBack) {
    Connect();
    // The document to send.
    m_model.SetCommunicationWords({0, 0, 0, 1, kScalingEndpoints});
    m_model.Dp().WriteUnits(CUnit(1, kVarDp), kAccessDocument);
    m_model.Dp().WriteOperatingLimits(-200, 200, kAccessDocument);
    m_model.Dp().WriteDamping(1.5, kAccessDocument);
    m_model.Sp().WriteOperatingLimits(5, 700, kAccessDocument);
    m_model.Pt().WriteDamping(0.25, kAccessDocument);
    IntegerScalingRecord endpoints = m_model.Sp().IntegerScaling();
    endpoints.method = kScalingEndpoints;
    endpoints.minInteger = 1000;
    endpoints.maxInteger = 64000;
    endpoints.minPv = 5.0f;
    endpoints.maxPv = 700.0f;
    m_model.Sp().StageIntegerScaling(endpoints, kAccessDocument);
    m_model.DeviceInfo().WriteTagDescriptorDate({"FT-7", "BOILER FEED", {2020, 5, 17}},
                                                kAccessDocument);
    m_model.DeviceInfo().WriteMessage("CHECKED", kAccessDocument);
    ConstructionCodes codes;
    codes.flangeType = 12;
    codes.remoteSealCount = 2;
    m_model.DeviceInfo().WriteCodes(codes, kAccessDocument);
    m_model.LcdDisplay().Write({4, 1}, 5, kAccessDocument);

    m_model.SendDataFormats();
    for (int v = kVarDp; v <= kVarPt; ++v) m_model.SendVariable(v);
    m_model.SendDeviceInformation();
    m_model.SendLcd();
    EXPECT_EQ(m_sim->FloatFormat(), 1);
    EXPECT_EQ(m_sim->Tag(), "FT-7");

    m_model.Reset();
    m_model.ReceiveDataFormats();
    for (int v = kVarDp; v <= kVarPt; ++v) m_model.ReceiveVariable(v);
    m_model.ReceiveDeviceInformation();
    m_model.ReceiveLcd();

    EXPECT_EQ(m_model.FloatFormat(), 1);
    EXPECT_EQ(m_model.IntegerScalingMethod(), kScalingEndpoints);
    EXPECT_EQ(m_model.TurnaroundDelay(), 0);
    EXPECT_EQ(m_model.Dp().Units(), CUnit(1, kVarDp));
    EXPECT_NEAR(m_model.Dp().LowerOperatingLimit().Value(), -200.0, 1e-3);
    EXPECT_NEAR(m_model.Dp().Damping().Get(), 1.5, 1e-6);
    EXPECT_NEAR(m_model.Sp().UpperOperatingLimit().Value(), 700.0, 1e-3);
    EXPECT_NEAR(m_model.Pt().Damping().Get(), 0.25, 1e-6);
    const IntegerScalingRecord& received = m_model.Sp().IntegerScaling();
    EXPECT_EQ(received.method, kScalingEndpoints);
    EXPECT_EQ(received.minInteger, 1000);
    EXPECT_EQ(received.maxInteger, 64000);
    EXPECT_FLOAT_EQ(received.maxPv, 700.0f);
    EXPECT_EQ(m_model.DeviceInfo().Tag(), "FT-7");
    EXPECT_EQ(m_model.DeviceInfo().Descriptor(), "BOILER FEED");
    EXPECT_EQ(m_model.DeviceInfo().Date(), (CalendarDate{2020, 5, 17}));
    EXPECT_EQ(m_model.DeviceInfo().Message(), "CHECKED");
    EXPECT_EQ(m_model.DeviceInfo().Construction(), codes);
    // The transmitter keeps only the mask: the list comes back in canonical order.
    EXPECT_EQ(m_model.LcdDisplay().Items(), (std::vector<uint16_t>{1, 4}));
    EXPECT_EQ(m_model.LcdDisplay().Interval(), 5);
}

TEST_F(WholeConfiguration, DataFormatsToleratesADeviceWithoutFloatFormat) {
    m_options.floatFormatSupported = false;
    m_options.turnaroundDelayMs = 0;
    Connect();
    m_model.SetCommunicationWords({0, 0, 75, 2, kScalingEnteredFactors});
    EXPECT_NO_THROW(m_model.SendDataFormats());
    // The refused float format does not cost the scaling method its write.
    EXPECT_EQ(m_sim->TurnaroundDelayMs(), 75u);
    EXPECT_EQ(m_sim->IntegerScalingMethod(), kScalingEnteredFactors);

    m_model.ReceiveDataFormats();
    EXPECT_EQ(m_model.FloatFormat(), 0);
    EXPECT_EQ(m_model.IntegerScalingMethod(), kScalingEnteredFactors);
}

TEST_F(WholeConfiguration, DataFormatsToleratesADeviceWithoutIntegerScalingOnly) {
    m_options.integerScalingSupported = false;
    Connect();
    m_model.SetCommunicationWords({0, 0, 60, 3, kScalingEndpoints});
    EXPECT_NO_THROW(m_model.SendDataFormats());
    EXPECT_EQ(m_sim->FloatFormat(), 3);
    EXPECT_EQ(m_sim->TurnaroundDelayMs(), 60u);
}

TEST_F(WholeConfiguration, DataFormatsRaisesAnyOtherFailure) {
    Connect();
    m_model.SetCommunicationWords({0, 0, 50, 1, kScalingEndpoints});
    // The float format register refused with "illegal value" is not a device
    // without the register.
    m_line.SetExceptionRange(131, 131, 3);
    EXPECT_EQ(CommErrorOf([&] { m_model.SendDataFormats(); }), commerr::kIllegalValue);
    EXPECT_EQ(m_sim->IntegerScalingMethod(), 0);
}

TEST_F(WholeConfiguration, ReceiveWithoutIntegerScalingKeepsTheDefaultRecords) {
    m_options.integerScalingSupported = false;
    Connect();
    m_model.ReceiveDataFormats();
    m_model.ReceiveVariable(kVarPt);
    EXPECT_EQ(m_model.IntegerScalingMethod(), 0);
    EXPECT_EQ(m_model.Pt().IntegerScaling().scaleFactor, 148);
    EXPECT_EQ(m_model.Pt().Units(), CUnit(33, kVarPt));
}

TEST_F(WholeConfiguration, LcdWrittenToTheTransmitterReadsBackInCanonicalOrder) {
    Connect();
    m_model.LcdDisplay().Write({8, 2}, 10, kAccessTransmitter);
    const CLCDDisplay::Settings settings = m_model.LcdDisplay().Read(kAccessTransmitter);
    EXPECT_EQ(settings.items, (std::vector<uint16_t>{2, 8}));
    EXPECT_EQ(settings.interval, 10);
    EXPECT_EQ(m_model.LcdDisplay().Mask(), 15);  // document copy untouched
}

}  // namespace
