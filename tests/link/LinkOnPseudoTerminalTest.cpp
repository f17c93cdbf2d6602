// The link on a real pseudo-terminal, the test playing the device on the master side.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

#include "link/CCommLink.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

class PtyLinkTest : public testing::Test {
  protected:
    void SetUp() override {
        char name[128] = {};
        ASSERT_EQ(::openpty(&m_master, &m_slave, name, nullptr, nullptr), 0);
        ASSERT_EQ(m_link.SetPortParms(1, 9600, 0, 1, name), 0);
        ASSERT_TRUE(m_link.IsOpen());
    }
    void TearDown() override {
        m_link.Close();
        ::close(m_master);
        ::close(m_slave);
    }
    // The device answers with `count` bytes, then falls silent.
    int32_t ReceiveAfterDeviceSends(size_t count, uint32_t expected, milliseconds& took) {
        std::vector<uint8_t> reply(count);
        for (size_t i = 0; i < count; ++i) reply[i] = static_cast<uint8_t>(i);
        EXPECT_EQ(::write(m_master, reply.data(), reply.size()), static_cast<ssize_t>(count));
        const auto start = Clock::now();
        const int32_t got = m_link.Receive(sizeof m_buffer, m_buffer, expected, 0);
        took = std::chrono::duration_cast<milliseconds>(Clock::now() - start);
        return got;
    }

    int m_master = -1;
    int m_slave = -1;
    CCommLink m_link{1};
    uint8_t m_buffer[1024] = {};
};

}  // namespace

TEST_F(PtyLinkTest, OneHundredTwentyThreeBytesReadUntilTheCharacterGap) {
    milliseconds took{};
    EXPECT_EQ(ReceiveAfterDeviceSends(130, 123, took), 130);
    EXPECT_GE(took, milliseconds(CCommLink::kCharacterGapMs));
    EXPECT_EQ(m_buffer[129], 129);
}

TEST_F(PtyLinkTest, OtherLengthsReadExactlyThatMany) {
    milliseconds took{};
    EXPECT_EQ(ReceiveAfterDeviceSends(130, 122, took), 122);
    EXPECT_LT(took, milliseconds(CCommLink::kCharacterGapMs));
    m_link.Close();
    ASSERT_EQ(m_link.Open(), 0);  // purges what was left
    EXPECT_EQ(ReceiveAfterDeviceSends(130, 124, took), 124);
    EXPECT_LT(took, milliseconds(CCommLink::kCharacterGapMs));
}

TEST_F(PtyLinkTest, SendPurgesStaleInputAndWritesTheFrame) {
    const uint8_t stale[] = {0xAA, 0xBB};
    ASSERT_EQ(::write(m_master, stale, sizeof stale), 2);
    std::this_thread::sleep_for(milliseconds(20));
    const uint8_t frame[] = {1, 4, 0, 0, 0, 2, 0x71, 0xCB};
    ASSERT_EQ(m_link.Send(sizeof frame, frame, 0), 0);
    ASSERT_EQ(m_link.CheckAndClearErrors(), 0);
    uint8_t seen[8] = {};
    ASSERT_EQ(::read(m_master, seen, sizeof seen), 8);
    EXPECT_EQ(std::vector<uint8_t>(seen, seen + 8), std::vector<uint8_t>(frame, frame + 8));
    milliseconds took{};
    EXPECT_EQ(ReceiveAfterDeviceSends(3, 3, took), 3);
    EXPECT_EQ(m_buffer[0], 0);  // the stale bytes are gone
}

TEST_F(PtyLinkTest, NoReplyEndsOnTheReplyTimeout) {
    const auto start = Clock::now();
    EXPECT_EQ(m_link.Receive(sizeof m_buffer, m_buffer, 8, 0), 0);
    EXPECT_GE(Clock::now() - start, milliseconds(CCommLink::kMinReplyTimeoutMs));
    EXPECT_EQ(m_link.CheckAndClearErrors(), 0);
}
