#include "sim/CSimTransmitter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

SimTransmitterOptions ExactOptions() {
    SimTransmitterOptions options;
    options.presentValueNoise = 0.0;
    return options;
}

Bytes Pdu(uint8_t function, uint16_t a, uint16_t b) {
    return {function, static_cast<uint8_t>(a >> 8), static_cast<uint8_t>(a & 0xFF),
            static_cast<uint8_t>(b >> 8), static_cast<uint8_t>(b & 0xFF)};
}

Bytes Request(CSimTransmitter& t, const Bytes& pdu) {
    Bytes reply;
    EXPECT_TRUE(t.HandleRequest(pdu.data(), pdu.size(), reply));
    return reply;
}

std::vector<uint16_t> Read(CSimTransmitter& t, uint8_t function, uint16_t start, uint16_t count) {
    const Bytes reply = Request(t, Pdu(function, start, count));
    std::vector<uint16_t> words;
    if (reply.size() == 2u + 2u * count && reply[0] == function) {
        for (size_t i = 2; i < reply.size(); i += 2) {
            words.push_back(static_cast<uint16_t>((reply[i] << 8) | reply[i + 1]));
        }
    }
    return words;
}

// The exception code of a reply, 0 for a normal reply.
uint8_t Exception(const Bytes& reply) {
    return reply.size() == 2 && (reply[0] & 0x80) != 0 ? reply[1] : 0;
}

Bytes WritePdu(uint16_t start, const std::vector<uint16_t>& values) {
    Bytes pdu = Pdu(16, start, static_cast<uint16_t>(values.size()));
    pdu.push_back(static_cast<uint8_t>(2 * values.size()));
    for (uint16_t v : values) {
        pdu.push_back(static_cast<uint8_t>(v >> 8));
        pdu.push_back(static_cast<uint8_t>(v & 0xFF));
    }
    return pdu;
}

std::vector<uint16_t> FloatWords(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, 4);
    return {static_cast<uint16_t>(bits >> 16), static_cast<uint16_t>(bits & 0xFFFF)};
}

uint8_t WriteFloat(CSimTransmitter& t, uint16_t address, float value) {
    return Exception(Request(t, WritePdu(address, FloatWords(value))));
}

float ReadFloat(CSimTransmitter& t, uint16_t address) {
    const auto words = Read(t, 3, address, 2);
    if (words.size() != 2) {
        return NAN;
    }
    const uint32_t bits = (uint32_t{words[0]} << 16) | words[1];
    float value = 0.0F;
    std::memcpy(&value, &bits, 4);
    return value;
}

TEST(SimTransmitter, IdentityBlockLayout) {
    SimTransmitterOptions options = ExactOptions();
    options.manufacturerId = 40;
    options.deviceId = 7;
    options.sensorSerialNumber = 0x00012345;
    options.transmitterSerialNumber = 0x89ABCDEF;
    options.day = 17;
    options.month = 3;
    options.year = 2025;
    CSimTransmitter t(4, options);
    const auto block = Read(t, 3, 0, 59);
    ASSERT_EQ(block.size(), 59u);
    EXPECT_EQ(Read(t, 4, 0, 2), (std::vector<uint16_t>{40, 7}));
    EXPECT_EQ(block[0], 40);
    EXPECT_EQ(block[1], 7);
    EXPECT_EQ(block[2], 0x0102);
    EXPECT_EQ(block[4], 0x0001);  // serial numbers high word first
    EXPECT_EQ(block[5], 0x2345);
    EXPECT_EQ(block[6], 0x89AB);
    EXPECT_EQ(block[7], 0xCDEF);
    EXPECT_EQ(block[15], 4);  // polling address
    EXPECT_EQ(std::vector<uint16_t>(block.begin() + 21, block.begin() + 29),
              (std::vector<uint16_t>{2, 13, 2, 10, 251, 251, 251, 251}));
    EXPECT_EQ(block[29], 17);
    EXPECT_EQ(block[30], (3 << 8) | 125);
    EXPECT_EQ(block[31], ('C' << 8) | 'O');  // tag "CORVEL"
}

TEST(SimTransmitter, MultiRegisterWriteIsAllOrNothing) {
    CSimTransmitter t(1, ExactOptions());
    // Date, tag and descriptor in one request, with month 13: nothing is stored.
    std::vector<uint16_t> values(14, 0x4141);
    values[0] = 5;
    values[1] = (13 << 8) | 120;
    EXPECT_EQ(Exception(Request(t, WritePdu(29, values))), 3);
    EXPECT_EQ(t.Tag(), "CORVEL");
    values[1] = (12 << 8) | 120;
    EXPECT_EQ(Exception(Request(t, WritePdu(29, values))), 0);
    EXPECT_EQ(t.Tag(), "AAAAAAAA");
    EXPECT_EQ(t.HoldingRegister(30), (12 << 8) | 120);
}

TEST(SimTransmitter, CommunicationWordsOnInputAndHoldingRegisters) {
    CSimTransmitter t(1, ExactOptions());
    EXPECT_EQ(Read(t, 4, 128, 4), Read(t, 3, 128, 4));
    EXPECT_EQ(Read(t, 4, 130, 2), (std::vector<uint16_t>{50, 0}));
    EXPECT_EQ(Exception(Request(t, WritePdu(128, {3}))), 2);  // read-only
    EXPECT_EQ(Exception(Request(t, Pdu(6, 130, 250))), 0);
    EXPECT_EQ(t.TurnaroundDelayMs(), 250u);
    EXPECT_EQ(Exception(Request(t, Pdu(6, 131, 3))), 0);
    EXPECT_EQ(Exception(Request(t, Pdu(6, 131, 4))), 3);
    EXPECT_EQ(t.FloatFormat(), 3);
}

TEST(SimTransmitter, MissingFeaturesAnswerIllegalAddress) {
    SimTransmitterOptions options = ExactOptions();
    options.floatFormatSupported = false;
    options.integerScalingSupported = false;
    CSimTransmitter t(1, options);
    EXPECT_EQ(Exception(Request(t, Pdu(4, 128, 4))), 2);
    EXPECT_EQ(Exception(Request(t, Pdu(3, 131, 1))), 2);
    EXPECT_EQ(Exception(Request(t, Pdu(6, 131, 0))), 2);
    EXPECT_EQ(Read(t, 4, 128, 3).size(), 3u);
    for (uint16_t address : {124, 187, 197, 203}) {
        EXPECT_EQ(Exception(Request(t, Pdu(3, address, 1))), 2) << address;
    }
    EXPECT_EQ(Exception(Request(t, Pdu(3, 468, 2))), 2);
    EXPECT_EQ(Read(t, 3, 125, 3), (std::vector<uint16_t>{3, 0, 15}));
}

TEST(SimTransmitter, IntegerScalingAndLcdRegisters) {
    CSimTransmitter t(1, ExactOptions());
    EXPECT_EQ(Read(t, 3, 197, 6), (std::vector<uint16_t>{131, 18, 81, 32768, 148, 26848}));
    EXPECT_FLOAT_EQ(ReadFloat(t, 468), -250.0F);  // endpoints PVs start at the operating limits
    EXPECT_FLOAT_EQ(ReadFloat(t, 478), 400.0F);
    EXPECT_EQ(Exception(Request(t, Pdu(6, 203, 5))), 0);
    EXPECT_EQ(t.IntegerScalingMethod(), 2);
    EXPECT_EQ(Exception(Request(t, WritePdu(187, {100, 100}))), 3);  // min integer >= max
    EXPECT_EQ(Exception(Request(t, WritePdu(187, {100, 65535}))), 3);
    EXPECT_EQ(Exception(Request(t, Pdu(6, 197, 0))), 3);  // scale factor 0
    EXPECT_EQ(Exception(Request(t, Pdu(6, 124, 0))), 3);
    EXPECT_EQ(WriteFloat(t, 470, -300.0F), 3);  // maximum PV below minimum PV
    EXPECT_EQ(Exception(Request(t, WritePdu(125, {0, 0, 15}))), 3);
    EXPECT_EQ(Exception(Request(t, WritePdu(125, {10, 0, 16}))), 3);
    EXPECT_EQ(Exception(Request(t, WritePdu(125, {10, 0, 0}))), 0);
    EXPECT_EQ(Read(t, 3, 125, 3), (std::vector<uint16_t>{10, 0, 0}));
}

TEST(SimTransmitter, StatusBytesCarryLimitsTrimModeAndWriteProtect) {
    CSimTransmitter t(1, ExactOptions());
    EXPECT_EQ(Read(t, 4, 118, 4), (std::vector<uint16_t>{0, 0, 0, 0}));
    t.SetWriteProtect(true);
    EXPECT_EQ(Read(t, 4, 118, 4), (std::vector<uint16_t>{0, 0, 0x0002, 0}));
    EXPECT_EQ(Exception(Request(t, Pdu(6, 130, 10))), 4);
    EXPECT_EQ(t.TurnaroundDelayMs(), 50u);
    t.SetWriteProtect(false);
    EXPECT_EQ(Exception(Request(t, Pdu(6, 130, 10))), 0);
    EXPECT_EQ(Exception(Request(t, Pdu(5, CSimTransmitter::kCoilTrimMode, 0xFF00))), 0);
    EXPECT_EQ(t.Status()[0], 0x80);
    EXPECT_EQ(Exception(Request(t, Pdu(5, CSimTransmitter::kCoilTrimMode, 0))), 0);
    // DP above its upper operating limit but inside the range.
    t.SetOperatingLimits(SimVariable::kDp, -100.0, 100.0);
    t.SetPresentValueSetPoint(SimVariable::kDp, 150.0);
    EXPECT_EQ(t.Status()[0], 0x04);
    // SP more than 10 % of the span below its lower range limit.
    t.SetPresentValueSetPoint(SimVariable::kSp, -100.0);
    EXPECT_EQ(t.Status()[1], 0x02 | 0x04 | 0x08);
    t.SetStatusBytes({0, 0, 0, 0x04, 0, 0});
    EXPECT_EQ(Read(t, 4, 118, 4)[1], 0x0004);
}

TEST(SimTransmitter, PresentValuesMoveAroundTheSetPoint) {
    SimTransmitterOptions options = ExactOptions();
    options.presentValueNoise = 0.0005;
    CSimTransmitter t(1, options);
    t.SetPresentValueSetPoint(SimVariable::kDp, 100.0);
    bool moved = false;
    const float first = ReadFloat(t, 400);
    for (int i = 0; i < 20; ++i) {
        const float value = ReadFloat(t, 400);
        EXPECT_NEAR(value, 100.0, 0.0005 * 500.0 + 1e-4);
        moved = moved || value != first;
    }
    EXPECT_TRUE(moved);
    EXPECT_EQ(Exception(Request(t, WritePdu(400, FloatWords(1.0F)))), 2);  // read-only
}

TEST(SimTransmitter, TrimsCorrectThePresentValue) {
    CSimTransmitter t(1, ExactOptions());
    t.SetPresentValueSetPoint(SimVariable::kDp, 10.0);
    EXPECT_EQ(WriteFloat(t, 436, 12.0F), 0);  // offset trim: 10 now reads 12
    EXPECT_FLOAT_EQ(ReadFloat(t, 400), 12.0F);
    EXPECT_FLOAT_EQ(ReadFloat(t, 436), 12.0F);
    // A slope trim at the condition of the offset trim has no span.
    EXPECT_EQ(WriteFloat(t, 438, 200.0F), 3);
    t.SetPresentValueSetPoint(SimVariable::kDp, 110.0);
    EXPECT_FLOAT_EQ(ReadFloat(t, 400), 112.0F);
    EXPECT_EQ(WriteFloat(t, 438, 212.0F), 0);  // slope: 100 of condition span now reads 200
    EXPECT_FLOAT_EQ(ReadFloat(t, 400), 212.0F);
    t.SetPresentValueSetPoint(SimVariable::kDp, 60.0);
    EXPECT_NEAR(ReadFloat(t, 400), 112.0F, 1e-4);
    EXPECT_FLOAT_EQ(ReadFloat(t, 438), 212.0F);
}

TEST(SimTransmitter, FixedProcessTemperatureWhenTheRtdIsOff) {
    CSimTransmitter t(1, ExactOptions());
    EXPECT_FLOAT_EQ(ReadFloat(t, 404), 70.0F);
    EXPECT_EQ(Read(t, 1, 0, 4), std::vector<uint16_t>{});  // coil reply is not registers
    EXPECT_EQ(Request(t, Pdu(1, 0, 4)), (Bytes{1, 1, 0x08}));
    EXPECT_EQ(Exception(Request(t, Pdu(5, CSimTransmitter::kCoilRtdMode, 0))), 0);
    EXPECT_EQ(WriteFloat(t, 454, 123.5F), 0);
    EXPECT_FLOAT_EQ(ReadFloat(t, 404), 123.5F);
    EXPECT_EQ(WriteFloat(t, 454, 1300.0F), 3);  // above the PT upper range limit
    EXPECT_EQ(WriteFloat(t, 454, -40.0F), 0);   // at the lower range limit
    EXPECT_EQ(WriteFloat(t, 454, NAN), 3);
}

TEST(SimTransmitter, InvalidUnitsCodeIsServedAsItIs) {
    SimTransmitterOptions options = ExactOptions();
    options.unitsCodes[0] = SimTransmitterOptions::kInvalidUnitsCode;
    CSimTransmitter t(1, options);
    EXPECT_EQ(Read(t, 3, 59, 3), (std::vector<uint16_t>{0, 5, 21}));
    EXPECT_FLOAT_EQ(ReadFloat(t, 412), 250.0F);
    // The values are those of the default unit: repairing the code keeps them.
    EXPECT_EQ(Exception(Request(t, Pdu(6, 59, 1))), 0);
    EXPECT_FLOAT_EQ(ReadFloat(t, 412), 250.0F);
    EXPECT_EQ(Exception(Request(t, Pdu(6, 59, 0))), 3);
}

TEST(SimTransmitter, SilentDuringMasterReset) {
    CSimTransmitter t(1, ExactOptions());
    t.SetMasterResetDurationMs(60000);
    EXPECT_EQ(Exception(Request(t, Pdu(5, CSimTransmitter::kCoilMasterReset, 0xFF00))), 0);
    EXPECT_TRUE(t.IsSilent());
    const Bytes pdu = Pdu(4, 0, 2);
    Bytes reply;
    EXPECT_FALSE(t.HandleRequest(pdu.data(), pdu.size(), reply));
    EXPECT_FALSE(t.Coil(CSimTransmitter::kCoilMasterReset));
}

TEST(SimTransmitter, MasterResetSilenceAndSelfTestFollowTheGivenClock) {
    SimTransmitterOptions options = ExactOptions();
    options.masterResetDurationMs = 8000;
    options.selfTestDurationMs = 2500;
    CSimTransmitter t(1, options);
    auto now = std::make_shared<std::chrono::steady_clock::time_point>();
    t.SetTimeSource([now] { return *now; });
    EXPECT_EQ(Exception(Request(t, Pdu(5, CSimTransmitter::kCoilSelfTest, 0xFF00))), 0);
    *now += std::chrono::milliseconds(2499);
    EXPECT_TRUE(t.IsSelfTestRunning());
    *now += std::chrono::milliseconds(1);
    EXPECT_FALSE(t.IsSelfTestRunning());

    EXPECT_EQ(Exception(Request(t, Pdu(5, CSimTransmitter::kCoilMasterReset, 0xFF00))), 0);
    *now += std::chrono::milliseconds(7999);
    EXPECT_TRUE(t.IsSilent());
    *now += std::chrono::milliseconds(1);
    EXPECT_FALSE(t.IsSilent());
    EXPECT_EQ(Read(t, 4, 0, 2), (std::vector<uint16_t>{38, 31}));
}

TEST(SimTransmitter, StatusBytesGivenAtTheStartAreServedFirstByteHigh) {
    SimTransmitterOptions options = ExactOptions();
    options.statusBytes = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20};
    CSimTransmitter t(1, options);
    EXPECT_EQ(Read(t, 4, 118, 4), (std::vector<uint16_t>{0x0102, 0x0408, 0x1020, 0}));
}

}  // namespace
