#include <gtest/gtest.h>

#include <cstring>

#include "link/CDeviceException.h"
#include "link/ErrorReport.h"
#include "platform/CException.h"
#include "tests/transmitter/TransmitterSimFixture.h"

using namespace transmitter;

namespace {

class CachedGroups : public TransmitterSimTest {
  protected:
    void SetUp() override {
        TransmitterSimTest::SetUp();
        Connect();
    }
};

TEST_F(CachedGroups, UnitsAreReadOnceUntilAUnitsWrite) {
    const uint64_t start = Exchanges();
    EXPECT_EQ(Comm().ReadUnits(kVarDp), 240);
    EXPECT_EQ(Comm().ReadUnits(kVarDp), 240);
    EXPECT_EQ(Exchanges() - start, 1u);
}

TEST_F(CachedGroups, UnitsWriteMakesUnitsAndRangesBeReadAgain) {
    Comm().ReadVariableSettings(kVarSp);
    const uint64_t before = Exchanges();
    Comm().ReadVariableSettings(kVarSp);
    EXPECT_EQ(Exchanges(), before);

    Comm().WriteUnits(kVarSp, 12);
    const uint64_t afterWrite = Exchanges();
    const VariableSettings s = Comm().ReadVariableSettings(kVarSp);
    EXPECT_EQ(Exchanges() - afterWrite, 2u);  // units, then ranges
    EXPECT_EQ(s.unitsCode, 12);
    EXPECT_EQ(m_sim->UnitsCode(SimVariable::kSp), 3);
    // 800 psi in kPa.
    EXPECT_NEAR(s.upperOperatingLimit, 800.0 / 0.03606234 * 0.24864107, 0.01);
}

TEST_F(CachedGroups, UnitsWriteMakesTheEndpointsSetBeReadAgainInTheNewUnit) {
    const EndpointsSet before = Comm().ReadEndpointsSet();
    EXPECT_FLOAT_EQ(before.maxPv[kVarSp], 800.0f);
    const uint64_t cached = Exchanges();
    Comm().ReadEndpointsSet();
    EXPECT_EQ(Exchanges(), cached);

    Comm().WriteUnits(kVarSp, 12);
    const EndpointsSet after = Comm().ReadEndpointsSet();
    // 800 psi in kPa, as the device now holds it.
    EXPECT_NEAR(after.maxPv[kVarSp], 800.0 / 0.03606234 * 0.24864107, 0.05);
    EXPECT_NEAR(after.minPv[kVarSp], 0.0, 1e-6);
    EXPECT_FLOAT_EQ(after.maxPv[kVarDp], before.maxPv[kVarDp]);
}

TEST_F(CachedGroups, PresentValuesAreReadAfreshEveryTime) {
    m_sim->SetPresentValueSetPoint(SimVariable::kDp, 12.5);
    EXPECT_NEAR(Comm().ReadPresentValue(kVarDp).value, 12.5, 1e-4);
    const uint64_t before = Exchanges();
    m_sim->SetPresentValueSetPoint(SimVariable::kDp, 20.0);
    const PresentValue pv = Comm().ReadPresentValue(kVarDp);
    EXPECT_EQ(Exchanges() - before, 1u);
    EXPECT_NEAR(pv.value, 20.0, 1e-4);
    EXPECT_EQ(pv.unitsCode, 240);
}

TEST_F(CachedGroups, PresentValueOfIndexThreeFailsWithoutExchange) {
    const uint64_t before = Exchanges();
    EXPECT_EQ(CommErrorOf([&] { Comm().ReadPresentValue(3); }), 17);
    EXPECT_EQ(Exchanges(), before);
}

TEST_F(CachedGroups, DampingWriteInvalidatesTheRanges) {
    EXPECT_NEAR(Comm().ReadVariableSettings(kVarPt).damping, 0.896, 1e-6);
    Comm().WriteDamping(kVarPt, 2.5);
    EXPECT_NEAR(Comm().ReadVariableSettings(kVarPt).damping, 2.5, 1e-6);
    EXPECT_NEAR(m_sim->Damping(SimVariable::kPt), 2.5, 1e-6);
}

TEST_F(CachedGroups, IdentityBlockServesTextsAndCodesInOneExchange) {
    const uint64_t before = Exchanges();
    const DeviceTexts texts = Comm().ReadDeviceInformation();
    const IdentityBlock block = Comm().ReadIdentityBlock();
    const IdentityRecord record = Comm().ReadIdentityRecord();
    EXPECT_EQ(Exchanges() - before, 1u);
    EXPECT_EQ(texts.tag, "CORVEL");
    EXPECT_EQ(texts.descriptor, "SIMULATED XMTR");
    EXPECT_EQ(block.codes, ConstructionCodes{});
    EXPECT_EQ(block.sensor.dpRangeCode, 3);
    EXPECT_EQ(block.sensor.fillFluid, 1);
    EXPECT_EQ(record.manufacturerId, 38);
    EXPECT_EQ(record.deviceType, 31);
    EXPECT_EQ(record.softwareRevision, 0x0102);
    EXPECT_EQ(record.serialNumber, 7654321u);
    EXPECT_EQ(Comm().ReadSensorSerialNumber(), 1234567u);
}

TEST_F(CachedGroups, MessageWriteIsReadBackAfresh) {
    Comm().ReadMessage();
    Comm().WriteMessage("LINE 4 NORTH");
    EXPECT_EQ(Comm().ReadMessage(), "LINE 4 NORTH");
    EXPECT_EQ(m_sim->Message(), "LINE 4 NORTH");
}

TEST(CommSelection, ForeignDeviceIsRefusedAndTheSelectionCleared) {
    CScriptedUi ui;
    CSimLine line;
    line.AddForeignDevice(5, 12, 34);
    std::string error;
    ASSERT_TRUE(line.Start(&error)) << error;
    CComm comm;
    CProtocol& protocol = comm.CreateProtocol();
    LinkScheduling scheduling;
    scheduling.retries = 0;
    protocol.SetLinkScheduling(scheduling);
    PortSettings port;
    port.devicePath = line.SlavePath();
    ASSERT_EQ(protocol.SetPortSettings(port), 0);
    ASSERT_EQ(protocol.Open(), 0);
    EXPECT_EQ(comm.IdentifyDevice(5), 2);
    try {
        comm.SelectDevice(5);
        ADD_FAILURE() << "a foreign device was selected";
    } catch (const CCommException& e) {
        EXPECT_EQ(e.Error(), 9);
    }
    EXPECT_FALSE(comm.IsDeviceSelected());
    EXPECT_EQ(comm.CurrentTag(), "@@@@@@@@");
    comm.DestroyProtocol();
}

class Selection : public TransmitterSimTest {};

TEST_F(Selection, SelectingFillsSlotOneAndTheTagTable) {
    m_options.tag = "FT 101";
    Connect();
    EXPECT_EQ(Comm().CurrentSlot(), 1);
    EXPECT_EQ(Comm().CurrentPollingAddress(), 1);
    EXPECT_EQ(Comm().SlotIdentity(1), (std::array<uint8_t, 2>{38, 31}));
    EXPECT_EQ(Comm().SlotFlags(1), 128);
    EXPECT_EQ(Comm().CurrentTag(), "");
    EXPECT_EQ(Comm().ReadTag(), "FT 101");
    EXPECT_EQ(Comm().CurrentTag(), "FT 101");
    Comm().Disconnect();
    EXPECT_EQ(Comm().CurrentTag(), "@@@@@@@@");
    EXPECT_EQ(CommErrorOf([&] { Comm().ReadTag(); }), 6);
}

TEST_F(Selection, LinkBusyIsSignalledAroundEveryExchange) {
    Connect();
    const int before = m_ui.BusyNotifications();
    Comm().ReadTag();
    EXPECT_GT(m_ui.BusyNotifications(), before);
    EXPECT_FALSE(m_ui.LinkBusy());
    EXPECT_EQ(m_ui.WaitCursorDepth(), 0);
}

class DataFormats : public TransmitterSimTest {};

TEST_F(DataFormats, FloatFormatTwoAppliesToTheVeryNextRead) {
    Connect();
    Comm().WriteFloatFormat(2);
    EXPECT_EQ(Comm().Protocol().FloatFormat(), 2);
    EXPECT_EQ(m_sim->FloatFormat(), 2);
    m_sim->SetPresentValueSetPoint(SimVariable::kSp, 123.25);
    EXPECT_NEAR(Comm().ReadPresentValue(kVarSp).value, 123.25, 1e-3);
    // Writes use the new order as well.
    Comm().WriteRegister454(77.5f);
    EXPECT_FLOAT_EQ(Comm().ReadRegister454(), 77.5f);
    EXPECT_NEAR(m_sim->FixedProcessTemperature(), 77.5, 1e-4);
}

TEST_F(DataFormats, DeviceWithoutFloatFormatReportsUnsupported) {
    m_options.floatFormatSupported = false;
    Connect();
    EXPECT_EQ(CommErrorOf([&] { Comm().WriteFloatFormat(1); }), 67);
    EXPECT_EQ(Comm().Protocol().FloatFormat(), 0);
    EXPECT_EQ(CommErrorOf([&] { Comm().ReadFloatFormat(); }), 67);
}

TEST_F(DataFormats, DeviceWithoutIntegerScalingLeavesMethodZero) {
    m_options.integerScalingSupported = false;
    Connect();
    try {
        m_model.ReadIntegerScalingMethod(kAccessTransmitter);
        ADD_FAILURE() << "the method read succeeded";
    } catch (const CCommException& e) {
        EXPECT_EQ(e.Error(), 68);
        EXPECT_EQ(MessageFor(e), 971u);
    }
    EXPECT_EQ(Comm().StoredIntegerScalingMethod(), 0);
    EXPECT_EQ(CommErrorOf([&] { Comm().ReadEndpointsSet(); }), 68);
    EXPECT_EQ(CommErrorOf([&] { Comm().WriteIntegerScalingMethod(1); }), 68);
}

TEST_F(DataFormats, StagedEndpointsAreSentAndReadBackPerVariable) {
    Connect();
    Comm().ReadEndpointsSet();
    Comm().StageEndpoints(kVarDp, 100, 60000, -200.0f, 200.0f);
    Comm().StageEndpoints(kVarSp, 0, 65534, 10.0f, 700.0f);
    Comm().StageEndpoints(kVarPt, 5, 500, -20.0f, 300.0f);
    m_model.SendIntegerScalingSet(kScalingEndpoints, kAccessTransmitter);
    const IntegerScalingRecord sp = m_model.Sp().ReadIntegerScaling(1, kAccessTransmitter);
    EXPECT_EQ(sp.method, 1);
    EXPECT_EQ(sp.minInteger, 0);
    EXPECT_EQ(sp.maxInteger, 65534);
    EXPECT_FLOAT_EQ(sp.minPv, 10.0f);
    EXPECT_FLOAT_EQ(sp.maxPv, 700.0f);
    const IntegerScalingRecord pt = m_model.Pt().ReadIntegerScaling(1, kAccessTransmitter);
    EXPECT_EQ(pt.minInteger, 5);
    EXPECT_FLOAT_EQ(pt.maxPv, 300.0f);
}

TEST_F(DataFormats, ScaleFactorSetDerivesPvsAndNeverGivesAZeroFactor) {
    Connect();
    Comm().StageScaleFactors(kVarDp, 65534, 131, 18);
    Comm().StageScaleFactors(kVarSp, 65534, 81, 32768);
    Comm().StageScaleFactors(kVarPt, 65534, 148, 26848);
    Comm().WriteScaleFactorSet();
    // A device that reports a zero scale factor for SP (register 199).
    ASSERT_TRUE(m_sim->SetHoldingRegister(199, 0));
    const IntegerScalingRecord dp = m_model.Dp().ReadIntegerScaling(3, kAccessTransmitter);
    EXPECT_EQ(dp.counts, 65534);
    EXPECT_FLOAT_EQ(dp.minPv, -250.0f);
    EXPECT_EQ(m_model.Sp().ReadIntegerScaling(2, kAccessTransmitter).scaleFactor, 1);
    const IntegerScalingRecord disabled = m_model.Pt().ReadIntegerScaling(0, kAccessTransmitter);
    EXPECT_EQ(disabled, CMeasuredVariable::DisabledRecord());
}

class Coils : public TransmitterSimTest {
  protected:
    void SetUp() override {
        TransmitterSimTest::SetUp();
        Connect();
    }
};

TEST_F(Coils, CoilThreeIsReportedInverted) {
    m_sim->SetCoil(CSimTransmitter::kCoilRtdMode, true);
    EXPECT_FALSE(Comm().ReadCoil(3));
    Comm().SetCoil(3, 0);
    EXPECT_FALSE(m_sim->Coil(CSimTransmitter::kCoilRtdMode));
    EXPECT_TRUE(Comm().ReadCoil(3));
}

TEST_F(Coils, CoilsOneAndThreeRefuseValuesOtherThanZeroAndOne) {
    const uint64_t before = Exchanges();
    EXPECT_EQ(CommErrorOf([&] { Comm().SetCoil(1, 2); }), 61);
    EXPECT_EQ(CommErrorOf([&] { Comm().SetCoil(3, -1); }), 61);
    EXPECT_EQ(Exchanges(), before);
    Comm().SetCoil(2, 5);
    EXPECT_TRUE(m_sim->Coil(CSimTransmitter::kCoilTrimMode));
    Comm().SetCoil(2, 0);
    EXPECT_FALSE(m_sim->Coil(CSimTransmitter::kCoilTrimMode));
}

TEST_F(Coils, EmsArraysCarryTheFixedTemperatureMode) {
    m_sim->SetCoil(CSimTransmitter::kCoilRtdMode, true);
    EXPECT_EQ(Comm().ReadEmsArray({0, 0, 0, 2}), (std::vector<uint8_t>{0}));
    Comm().WriteEmsArray({0, 0, 0, 2}, {1});
    EXPECT_FALSE(m_sim->Coil(CSimTransmitter::kCoilRtdMode));
    EXPECT_EQ(Comm().ReadEmsArray({0, 0, 0, 2}), (std::vector<uint8_t>{1}));

    const float temperature = 88.5f;
    std::vector<uint8_t> bytes(4);
    std::memcpy(bytes.data(), &temperature, 4);
    Comm().WriteEmsArray({0, 3, 0, 1}, bytes);
    EXPECT_EQ(Comm().ReadEmsArray({0, 3, 0, 1}), bytes);
    EXPECT_EQ(CommErrorOf([&] { Comm().ReadEmsArray({0, 1, 0, 4}); }), 45);
}

class OperatingLimits : public TransmitterSimTest {
  protected:
    void SetUp() override {
        TransmitterSimTest::SetUp();
        Connect();
    }
};

TEST_F(OperatingLimits, RejectionNamesTheVariable) {
    // Limits beyond the range limits are refused by the device.
    EXPECT_EQ(CommErrorOf([&] { Comm().WriteOperatingLimits(kVarDp, -1000, 250); }), 70);
    EXPECT_EQ(CommErrorOf([&] { Comm().WriteOperatingLimits(kVarSp, 0, 5000); }), 71);
    EXPECT_EQ(CommErrorOf([&] { Comm().WriteOperatingLimits(kVarPt, 100, 50); }), 72);
    EXPECT_EQ(Comm().ReadOperatingLimits(kVarDp), std::make_pair(-250.0, 250.0));
}

TEST_F(OperatingLimits, AcceptedLimitsAreReadBack) {
    Comm().ReadOperatingLimits(kVarSp);
    Comm().WriteOperatingLimits(kVarSp, 10, 700);
    EXPECT_EQ(Comm().ReadOperatingLimits(kVarSp), std::make_pair(10.0, 700.0));
    EXPECT_DOUBLE_EQ(m_sim->UpperOperatingLimit(SimVariable::kSp), 700.0);
}

}  // namespace

namespace {

TEST_F(Selection, ProbingAnotherAddressKeepsTheConnectedSlot) {
    m_line.AddTransmitter(2, FastOptions()).SetTag("SECOND");
    Connect();
    Comm().ReadTag();
    EXPECT_EQ(Comm().IdentifyDevice(2), 1);
    EXPECT_EQ(Comm().CurrentPollingAddress(), 1);
    EXPECT_EQ(Comm().CurrentTag(), "CORVEL");

    EXPECT_EQ(Comm().SelectDevice(2), 1);
    EXPECT_EQ(Comm().CurrentPollingAddress(), 2);
    EXPECT_EQ(Comm().CurrentTag(), "");  // not read yet
    EXPECT_EQ(Comm().ReadTag(), "SECOND");
}

TEST_F(Selection, ProbingWithoutConnectionMakesTheAddressSlotOne) {
    m_line.AddTransmitter(9, FastOptions());
    Connect();
    Comm().Disconnect();
    // Disconnecting closed the link; open it again without selecting anything.
    PortSettings port;
    port.devicePath = m_line.SlavePath();
    ASSERT_EQ(Comm().Protocol().SetPortSettings(port), 0);
    ASSERT_EQ(Comm().Protocol().Open(), 0);
    EXPECT_EQ(Comm().IdentifyDevice(9), 1);
    EXPECT_EQ(Comm().PollingAddress(1), 9);
    EXPECT_EQ(Comm().CurrentSlot(), CComm::kNoSlot);
}

}  // namespace
