#include "sim/CSimLine.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>

#include "sim/CSimTransmitter.h"
#include "tests/sim/CSimTestMaster.h"

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

SimTransmitterOptions FastOptions() {
    SimTransmitterOptions options;
    options.turnaroundDelayMs = 0;
    options.presentValueNoise = 0.0;
    return options;
}

long ElapsedMs(Clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

class SimLineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_transmitter = &m_line.AddTransmitter(1, FastOptions());
        std::string error;
        ASSERT_TRUE(m_line.Start(&error)) << error;
        m_master = std::make_unique<CSimTestMaster>(m_line.SlavePath());
        ASSERT_TRUE(m_master->IsOpen());
    }

    CSimLine m_line;
    CSimTransmitter* m_transmitter = nullptr;
    std::unique_ptr<CSimTestMaster> m_master;
};

TEST_F(SimLineTest, IdentityReplyBytesOnInputAndHoldingRegisters) {
    // CRC 0x875B worked out independently of the shared routine.
    const auto input = m_master->ReadInput(1, 0, 2);
    EXPECT_EQ(input.bytes, (Bytes{0x01, 0x04, 0x04, 0x00, 0x26, 0x00, 0x1F, 0x5B, 0x87}));
    const auto holding = m_master->ReadHolding(1, 0, 2);
    EXPECT_EQ(holding.bytes, CSimTestMaster::Frame(1, {0x03, 0x04, 0x00, 38, 0x00, 31}));
}

TEST_F(SimLineTest, ExceptionRepliesForFunctionAddressAndValue) {
    // Function 7 has no predictable length: it is framed by its CRC.
    EXPECT_EQ(m_master->Transact(1, {7}, 5).bytes, CSimTestMaster::Frame(1, {0x87, 0x01}));
    EXPECT_EQ(m_master->Transact(1, CSimTestMaster::ReadPdu(2, 0, 1), 6).exception, 1);
    EXPECT_EQ(m_master->ReadHolding(1, 62, 1).exception, 2);
    EXPECT_EQ(m_master->ReadHolding(1, 55, 10).exception, 2);  // runs past register 61
    EXPECT_EQ(m_master->ReadInput(1, 2, 1).exception, 2);
    EXPECT_EQ(m_master->ReadHolding(1, 0, 0).exception, 3);
    EXPECT_EQ(m_master->ReadHolding(1, 0, 126).exception, 3);
    EXPECT_EQ(m_master->Transact(1, CSimTestMaster::ReadPdu(5, 2, 0x1234), 8).exception, 3);
    EXPECT_EQ(m_master->WriteCoil(1, 4, true).exception, 2);
    EXPECT_EQ(m_master->WriteRegisters(1, 0, {1}).exception, 2);  // identity is read-only
    EXPECT_EQ(m_master->WriteRegisters(1, 131, {4}).exception, 3);
    EXPECT_EQ(m_master->WriteRegisters(1, 15, {248}).exception, 3);
    EXPECT_EQ(m_master->WriteRegisters(1, 59, {7}).exception, 3);  // no such DP units code
    // Half a float cannot be written.
    EXPECT_EQ(m_master->WriteRegisters(1, 440, {0x3F80}).exception, 2);
    EXPECT_EQ(m_master->WriteRegisters(1, 441, {0, 0}).exception, 2);
    // A byte count that does not match the quantity.
    Bytes pdu = CSimTestMaster::WriteMultiplePdu(125, {3, 0, 15});
    pdu[5] = 4;
    pdu.resize(6 + 4);
    EXPECT_EQ(m_master->Transact(1, pdu, 8).exception, 3);
    // The device still answers normally afterwards.
    EXPECT_TRUE(m_master->ReadInput(1, 0, 2).crcOk);
}

TEST_F(SimLineTest, OperatingLimitsOutsideRangeOrCrossedAreRefused) {
    EXPECT_EQ(m_master->WriteFloat(1, 418, 251.0F, 0).exception, 3);   // DP upper > URL
    EXPECT_EQ(m_master->WriteFloat(1, 416, -251.0F, 0).exception, 3);  // DP lower < LRL
    EXPECT_EQ(m_master->WriteFloat(1, 416, 250.0F, 0).exception, 3);   // lower == upper
    // Both limits in one request are checked together.
    Bytes data;
    for (float v : {100.0F, 200.0F}) {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        for (int s = 24; s >= 0; s -= 8) data.push_back(static_cast<uint8_t>(bits >> s));
    }
    EXPECT_EQ(m_master->Transact(1, CSimTestMaster::WriteMultipleBytesPdu(424, data), 8).exception,
              0);
    EXPECT_DOUBLE_EQ(m_transmitter->LowerOperatingLimit(SimVariable::kSp), 100.0);
    EXPECT_DOUBLE_EQ(m_transmitter->UpperOperatingLimit(SimVariable::kSp), 200.0);
    // The range limits themselves are accepted.
    EXPECT_EQ(m_master->WriteFloat(1, 416, -250.0F, 0).exception, 0);
    EXPECT_EQ(m_master->WriteFloat(1, 418, 250.0F, 0).exception, 0);
}

TEST_F(SimLineTest, WriteMultipleThenReadBack) {
    // Tag "FT-101" then descriptor, first character in the high byte.
    const auto written = m_master->WriteRegisters(1, 31, {0x4654, 0x2D31, 0x3031, 0x0000});
    EXPECT_EQ(written.bytes, CSimTestMaster::Frame(1, {16, 0, 31, 0, 4}));
    EXPECT_EQ(m_transmitter->Tag(), "FT-101");
    const auto read = m_master->ReadHolding(1, 31, 4);
    EXPECT_EQ(read.registers, (std::vector<uint16_t>{0x4654, 0x2D31, 0x3031, 0x0000}));
    // A whole block of 59 registers as the master reads it.
    const auto block = m_master->ReadHolding(1, 0, 59);
    ASSERT_EQ(block.registers.size(), 59u);
    EXPECT_EQ(block.registers[21], 2);   // flange material
    EXPECT_EQ(block.registers[22], 13);  // flange type
    EXPECT_EQ(block.registers[31], 0x4654);
}

TEST_F(SimLineTest, FloatFormatAppliesFromTheNextRequest) {
    auto before = m_master->ReadHolding(1, 412, 2);  // DP URL 250
    EXPECT_EQ(Bytes(before.bytes.begin() + 3, before.bytes.begin() + 7), (Bytes{0x43, 0x7A, 0, 0}));
    EXPECT_EQ(m_master->WriteRegisters(1, 131, {2}).exception, 0);
    auto after = m_master->ReadHolding(1, 412, 2);
    EXPECT_EQ(Bytes(after.bytes.begin() + 3, after.bytes.begin() + 7), (Bytes{0, 0, 0x7A, 0x43}));
    EXPECT_EQ(m_master->ReadInput(1, 131, 1).registers, std::vector<uint16_t>{2});
    // Floats written are taken in the same order.
    EXPECT_EQ(m_master->WriteFloat(1, 440, 1.5F, 2).exception, 0);
    EXPECT_DOUBLE_EQ(m_transmitter->Damping(SimVariable::kDp), 1.5);
    EXPECT_EQ(m_master->WriteRegisters(1, 131, {1}).exception, 0);
    EXPECT_FLOAT_EQ(CSimTestMaster::FloatAt(m_master->ReadHolding(1, 440, 2), 0, 1), 1.5F);
}

TEST_F(SimLineTest, PollingAddressWriteMovesAfterTheReply) {
    const auto reply = m_master->WriteRegisters(1, 15, {7});
    EXPECT_EQ(reply.bytes, CSimTestMaster::Frame(1, {16, 0, 15, 0, 1}));
    EXPECT_TRUE(m_master->ReadInput(1, 0, 2, 150).Empty());
    EXPECT_TRUE(m_master->ReadInput(7, 0, 2).crcOk);
    EXPECT_EQ(m_line.TransmitterAt(7), m_transmitter);
    EXPECT_EQ(m_line.TransmitterAt(1), nullptr);
}

TEST_F(SimLineTest, SeveralDevicesAnswerOnlyAtTheirAddresses) {
    m_line.AddTransmitter(2, FastOptions()).SetTag("SECOND");
    m_line.AddForeignDevice(5, 17, 3);
    EXPECT_EQ(m_line.Addresses(), (Bytes{1, 2, 5}));
    EXPECT_EQ(m_master->ReadInput(2, 0, 2).registers, (std::vector<uint16_t>{38, 31}));
    EXPECT_EQ(m_master->ReadHolding(2, 31, 3).registers,
              (std::vector<uint16_t>{0x5345, 0x434F, 0x4E44}));
    EXPECT_EQ(m_master->ReadInput(5, 0, 2).registers, (std::vector<uint16_t>{17, 3}));
    EXPECT_EQ(m_master->ReadHolding(5, 0, 2).exception, 2);
    EXPECT_EQ(m_master->ReadInput(5, 118, 4).exception, 2);
    EXPECT_TRUE(m_master->ReadInput(3, 0, 2, 150).Empty());
    // Each reply carries the address it was asked at.
    EXPECT_EQ(m_master->ReadInput(1, 0, 2).bytes[0], 1);
}

TEST_F(SimLineTest, BadCrcAndPartialFramesAreIgnored) {
    Bytes frame = CSimTestMaster::Frame(1, CSimTestMaster::ReadPdu(4, 0, 2));
    frame.back() ^= 0x01;
    m_master->SendRaw(frame);
    EXPECT_TRUE(m_master->Receive(9, 150).Empty());
    // A partial frame followed by silence is dropped; the next frame is served.
    m_master->SendRaw({0x01, 0x04, 0x00});
    std::this_thread::sleep_for(std::chrono::milliseconds(CSimLine::kFrameGapMs * 2));
    EXPECT_TRUE(m_master->ReadInput(1, 0, 2).crcOk);
}

TEST_F(SimLineTest, FaultNoReplyStillActsOnTheRequest) {
    m_line.SetNoReply(true);
    EXPECT_TRUE(m_master->WriteRegisters(1, 130, {20}).Empty());
    EXPECT_EQ(m_transmitter->TurnaroundDelayMs(), 20u);
    m_line.ClearFaults();
    m_transmitter->SetTurnaroundDelayMs(0);
    EXPECT_TRUE(m_master->ReadInput(1, 0, 2).crcOk);
}

TEST_F(SimLineTest, FaultBadCrc) {
    m_line.SetBadCrc(true);
    const auto reply = m_master->ReadInput(1, 0, 2);
    ASSERT_EQ(reply.bytes.size(), 9u);
    EXPECT_FALSE(reply.crcOk);
    EXPECT_EQ(Bytes(reply.bytes.begin(), reply.bytes.begin() + 7), (Bytes{1, 4, 4, 0, 38, 0, 31}));
}

TEST_F(SimLineTest, FaultReplyFromOtherAddress) {
    m_line.SetReplyFromOtherAddress(true);
    const auto reply = m_master->ReadInput(1, 0, 2);
    ASSERT_EQ(reply.bytes.size(), 9u);
    EXPECT_NE(reply.bytes[0], 1);
    EXPECT_TRUE(reply.crcOk);
}

TEST_F(SimLineTest, FaultExtraLeadingByte) {
    m_line.SetExtraLeadingByte(true);
    const auto reply = m_master->ReadInput(1, 0, 2);
    ASSERT_EQ(reply.bytes.size(), 10u);
    EXPECT_NE(reply.bytes[0], 1);
    EXPECT_EQ(Bytes(reply.bytes.begin() + 1, reply.bytes.end()),
              CSimTestMaster::Frame(1, {4, 4, 0, 38, 0, 31}));
}

TEST_F(SimLineTest, FaultExceptionForAnAddressRange) {
    m_line.SetExceptionRange(120, 131, 4);
    EXPECT_EQ(m_master->ReadInput(1, 128, 4).exception, 4);
    EXPECT_EQ(m_master->ReadInput(1, 118, 4).exception, 4);  // touches 120 and 121
    EXPECT_EQ(m_master->WriteRegisters(1, 130, {9}).exception, 4);
    EXPECT_EQ(m_transmitter->TurnaroundDelayMs(), 0u);  // refused requests change nothing
    EXPECT_EQ(m_master->ReadInput(1, 0, 2).exception, 0);
    m_line.SetExceptionRange(0, 0, 0);
    EXPECT_EQ(m_master->ReadInput(1, 128, 4).exception, 0);
}

TEST_F(SimLineTest, TurnaroundAndExtraReplyDelayAreHonoured) {
    m_transmitter->SetTurnaroundDelayMs(60);
    auto start = Clock::now();
    EXPECT_TRUE(m_master->ReadInput(1, 0, 2).crcOk);
    EXPECT_GE(ElapsedMs(start), 60);
    // Register 130 written over the line sets the delay of the next replies.
    EXPECT_EQ(m_master->WriteRegisters(1, 130, {0}).exception, 0);
    m_line.SetReplyDelayMs(80);
    start = Clock::now();
    EXPECT_TRUE(m_master->ReadInput(1, 0, 2).crcOk);
    EXPECT_GE(ElapsedMs(start), 80);
}

TEST_F(SimLineTest, WireTimingPacesTheExchange) {
    m_line.SetWireTiming(9600.0);
    // 8 request bytes and 9 reply bytes of 11 bits each at 9600 bit/s: 19.5 ms.
    const auto start = Clock::now();
    EXPECT_TRUE(m_master->ReadInput(1, 0, 2).crcOk);
    EXPECT_GE(ElapsedMs(start), 18);
}

TEST_F(SimLineTest, SelfTestCoilCycle) {
    m_transmitter->SetSelfTestDurationMs(300);
    CSimTransmitter::StatusBytes result{0, 0, 0, 0, 0x08, 0};
    m_transmitter->SetSelfTestResult(result);
    EXPECT_EQ(m_master->WriteCoil(1, 0, true).bytes, CSimTestMaster::Frame(1, {5, 0, 0, 0xFF, 0}));
    EXPECT_EQ(m_master->ReadCoil(1, 0).bytes, CSimTestMaster::Frame(1, {1, 1, 1}));
    EXPECT_EQ(m_master->ReadInput(1, 118, 4).registers, (std::vector<uint16_t>{0, 0, 0, 0}));
    std::this_thread::sleep_for(std::chrono::milliseconds(350));
    EXPECT_EQ(m_master->ReadCoil(1, 0).bytes, CSimTestMaster::Frame(1, {1, 1, 0}));
    EXPECT_EQ(m_master->ReadInput(1, 118, 4).registers, (std::vector<uint16_t>{0, 0, 0x0800, 0}));
}

TEST_F(SimLineTest, MasterResetSilencesTheTransmitterForAWhile) {
    m_transmitter->SetMasterResetDurationMs(400);
    m_transmitter->SetCoil(CSimTransmitter::kCoilTrimMode, true);
    EXPECT_EQ(m_master->WriteCoil(1, 1, true).exception, 0);
    EXPECT_TRUE(m_master->ReadInput(1, 0, 2, 100).Empty());
    std::this_thread::sleep_for(std::chrono::milliseconds(350));
    EXPECT_TRUE(m_master->ReadInput(1, 0, 2).crcOk);
    EXPECT_EQ(m_master->ReadCoil(1, 2).bytes, CSimTestMaster::Frame(1, {1, 1, 0}));
}

TEST_F(SimLineTest, UnitsWriteConvertsLimits) {
    // DP to kPa (device code 3): 250 InH2O at 60 °F = 250 / 0.999189 * 0.24864107 kPa.
    EXPECT_EQ(m_master->WriteRegisters(1, 59, {3}).exception, 0);
    const double urlKpa = 250.0 / 0.999189 * 0.24864107;
    const auto limits = m_master->ReadHolding(1, 412, 8);
    EXPECT_NEAR(CSimTestMaster::FloatAt(limits, 0, 0), urlKpa, 1e-4);   // URL
    EXPECT_NEAR(CSimTestMaster::FloatAt(limits, 2, 0), -urlKpa, 1e-4);  // LRL
    EXPECT_NEAR(CSimTestMaster::FloatAt(limits, 6, 0), urlKpa, 1e-4);   // upper operating
    // The range limit read in kPa is accepted back as an operating limit.
    EXPECT_EQ(m_master->WriteFloat(1, 418, CSimTestMaster::FloatAt(limits, 0, 0), 0).exception, 0);
    EXPECT_EQ(m_master->WriteFloat(1, 418, static_cast<float>(urlKpa * 1.01), 0).exception, 3);
    // PT to °C (device code 20): 1200 °F URL = 648.89 °C, 400 °F upper limit = 204.44 °C.
    EXPECT_EQ(m_master->WriteRegisters(1, 61, {20}).exception, 0);
    const auto pt = m_master->ReadHolding(1, 428, 8);
    EXPECT_NEAR(CSimTestMaster::FloatAt(pt, 0, 0), (1200.0 - 32.0) / 1.8, 1e-3);
    EXPECT_NEAR(CSimTestMaster::FloatAt(pt, 6, 0), (400.0 - 32.0) / 1.8, 1e-3);
    EXPECT_EQ(m_master->ReadHolding(1, 59, 3).registers, (std::vector<uint16_t>{3, 5, 20}));
}

TEST(SimLine, DefaultLineHasOneTransmitterAtAddressOne) {
    auto line = CSimLine::CreateDefault();
    EXPECT_EQ(line->Addresses(), std::vector<uint8_t>{1});
    ASSERT_NE(line->TransmitterAt(1), nullptr);
    EXPECT_EQ(line->TransmitterAt(1)->TurnaroundDelayMs(), 50u);
}

TEST(SimLine, PublishesTheSlavePathAsASymlinkAndCountsTraffic) {
    CSimLine line;
    line.AddTransmitter(1, FastOptions());
    ASSERT_TRUE(line.Start());
    const std::string link = ::testing::TempDir() + "corvel-sim-link-test";
    ASSERT_TRUE(line.PublishSymlink(link));
    ASSERT_TRUE(line.PublishSymlink(link));  // replaced when it exists
    {
        CSimTestMaster master(link);
        ASSERT_TRUE(master.IsOpen());
        EXPECT_TRUE(master.ReadInput(1, 0, 2).crcOk);
        EXPECT_TRUE(master.ReadInput(9, 0, 2, 100).Empty());
    }
    EXPECT_EQ(line.RequestsSeen(), 2u);
    EXPECT_EQ(line.RepliesSent(), 1u);
    EXPECT_EQ(line.BytesReceived(), 16u);
    EXPECT_EQ(line.BytesSent(), 9u);
    ::unlink(link.c_str());
    line.Stop();
    line.Stop();
}

}  // namespace

TEST(SimLineHangUp, TheNextRequestCutsTheLineWithoutAReply) {
    CSimLine line;
    line.AddTransmitter(1, FastOptions());
    std::string error;
    ASSERT_TRUE(line.Start(&error)) << error;
    CSimTestMaster master(line.SlavePath());
    ASSERT_TRUE(master.ReadInput(1, 0, 2).crcOk);
    line.SetHangUpOnRequest(true);
    EXPECT_TRUE(master.ReadInput(1, 0, 2, 300).Empty());
    EXPECT_EQ(line.RequestsSeen(), 2u);
    EXPECT_EQ(line.RepliesSent(), 1u);
    // The slave side has been hung up: reading it fails instead of waiting.
    const int fd = ::open(line.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd >= 0) {
        uint8_t byte = 0;
        EXPECT_EQ(::read(fd, &byte, 1), -1);
        EXPECT_EQ(errno, EIO);
        ::close(fd);
    } else {
        EXPECT_TRUE(errno == ENOENT || errno == EIO) << errno;  // or its node is gone
    }
    line.Stop();  // stops cleanly after the cut
}
