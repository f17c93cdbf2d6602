// The master against the simulated transmitter on a pseudo-terminal.
#include <gtest/gtest.h>

#include <cerrno>

#include "link/CCommLink.h"
#include "link/CProtocol.h"
#include "link/ErrorReport.h"
#include "sim/CSimLine.h"
#include "sim/CSimTransmitter.h"
#include "sim/SimTransmitterOptions.h"

namespace {

class SimEndToEnd : public testing::Test {
  protected:
    void SetUp() override {
        std::string reason;
        ASSERT_TRUE(m_line.Start(&reason)) << reason;
        SimTransmitterOptions options;
        options.turnaroundDelayMs = 0;
        options.floatFormat = 2;
        m_line.AddTransmitter(1, options);
        m_line.AddForeignDevice(3, 12, 34);
        LinkScheduling scheduling;
        scheduling.retries = 1;
        m_protocol.SetLinkScheduling(scheduling);
        PortSettings port;
        port.devicePath = m_line.SlavePath();
        port.ctsDelay = 0;
        ASSERT_EQ(m_protocol.SetPortSettings(port), 0);
        ASSERT_EQ(m_protocol.Open(), 0);
    }

    CSimLine m_line;
    CProtocol m_protocol;
};

}  // namespace

TEST_F(SimEndToEnd, ProbeFindsTheCorvelAtAddressOne) {
    EXPECT_EQ(m_protocol.Identify(1), 1);
    EXPECT_EQ(m_protocol.Identify(3), 2);
    EXPECT_EQ(m_protocol.SelectDevice(1), 1);
    EXPECT_EQ(m_protocol.DeviceAddress(), 1);
    EXPECT_EQ(m_protocol.FloatFormat(), 2);
}

TEST_F(SimEndToEnd, IdentityBlockArrivesWithTheTagAsOnTheWire) {
    ASSERT_EQ(m_protocol.SelectDevice(1), 1);
    ASSERT_EQ(m_protocol.SendPoll(1, 3, 0, 59, nullptr, true), 0);
    EXPECT_EQ(m_protocol.Register(0), 38);
    EXPECT_EQ(m_protocol.RegisterBytes(31), (std::array<uint8_t, 2>{'C', 'O'}));
}

TEST_F(SimEndToEnd, OneByteLateReplyIsTakenFromItsSecondByte) {
    m_line.SetExtraLeadingByte(true);
    ASSERT_EQ(m_protocol.SendPoll(1, 3, 0, 59, nullptr, false), 0);
    EXPECT_TRUE(m_protocol.ReplyOffset());
    EXPECT_EQ(m_protocol.Register(1), 31);
}

TEST_F(SimEndToEnd, InjectedFaultsBecomeTheirErrors) {
    m_line.SetBadCrc(true);
    EXPECT_EQ(m_protocol.SendPoll(1, 4, 0, 2, nullptr, false), commerr::kChecksum);
    m_line.ClearFaults();
    m_line.SetExceptionRange(10, 10, 2);
    const uint64_t before = m_protocol.ExchangeCount();
    EXPECT_EQ(m_protocol.SendPoll(1, 3, 10, 1, nullptr, true), commerr::kIllegalAddress);
    EXPECT_EQ(m_protocol.ExchangeCount(), before + 1);
    m_line.ClearFaults();
    m_line.SetNoReply(true);
    EXPECT_EQ(m_protocol.SendPoll(1, 3, 10, 1, nullptr, false), commerr::kNoResponse);
}

TEST_F(SimEndToEnd, AnOrdinaryReplyOneByteLateIsGoodOnTheFirstTry) {
    m_line.SetExtraLeadingByte(true);
    const uint64_t before = m_protocol.ExchangeCount();
    ASSERT_EQ(m_protocol.SendPoll(1, 4, 0, 2, nullptr, true), 0);
    EXPECT_EQ(m_protocol.ExchangeCount(), before + 1);
    EXPECT_TRUE(m_protocol.ReplyOffset());
    EXPECT_EQ(m_protocol.Register(0), 38);
    EXPECT_EQ(m_protocol.Register(1), 31);
    // A write's eight-byte answer too.
    ASSERT_EQ(m_protocol.SelectDevice(1), 1);
    const uint8_t value[2] = {0, 5};
    EXPECT_EQ(m_protocol.SendPoll(1, 16, 130, 1, value, true), 0);
    EXPECT_EQ(m_protocol.ExchangeCount(), before + 4);  // identify, format block, write
}

TEST_F(SimEndToEnd, ALineCutInMidExchangeIsAPortThatHasGone) {
    ASSERT_EQ(m_protocol.Identify(1), 1);
    m_line.SetHangUpOnRequest(true);
    const uint64_t before = m_protocol.ExchangeCount();
    EXPECT_EQ(m_protocol.SendPoll(1, 4, 0, 2, nullptr, true), commerr::kLinkFailure);
    EXPECT_TRUE(m_protocol.PortGone());
    EXPECT_TRUE(CCommLink::IsPortGoneError(m_protocol.Link()->PortGoneError()));
    EXPECT_EQ(m_protocol.ExchangeCount(), before + 1);  // not retried
}
