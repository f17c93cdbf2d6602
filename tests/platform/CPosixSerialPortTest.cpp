#include "platform/CPosixSerialPort.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A pseudo-terminal whose slave the port opens; the test plays the device on the master.
class PortTest : public testing::Test {
  protected:
    void SetUp() override {
        char name[128] = {};
        ASSERT_EQ(::openpty(&m_master, &m_slave, name, nullptr, nullptr), 0);
        m_path = name;
        ASSERT_EQ(m_port.Open(m_path), 0);
        SerialLineSettings line;
        ASSERT_EQ(m_port.SetLine(line), 0);
    }
    void TearDown() override {
        m_port.Close();
        ::close(m_master);
        ::close(m_slave);
    }
    void DeviceSends(const std::vector<uint8_t>& bytes) {
        ASSERT_EQ(::write(m_master, bytes.data(), bytes.size()),
                  static_cast<ssize_t>(bytes.size()));
    }
    std::vector<uint8_t> DeviceReceives(size_t count) {
        std::vector<uint8_t> bytes(count);
        size_t got = 0;
        const auto deadline = Clock::now() + milliseconds(1000);
        while (got < count && Clock::now() < deadline) {
            const ssize_t n = ::read(m_master, bytes.data() + got, count - got);
            if (n > 0) got += static_cast<size_t>(n);
        }
        bytes.resize(got);
        return bytes;
    }
    // Reads with the given time-outs; returns the bytes and the time taken.
    std::vector<uint8_t> ReadWith(const SerialTimeouts& t, size_t count, int& error,
                                  milliseconds& took) {
        m_port.SetTimeouts(t);
        std::vector<uint8_t> buffer(count);
        size_t got = 0;
        const auto start = Clock::now();
        error = m_port.Read(buffer.data(), count, &got);
        took = std::chrono::duration_cast<milliseconds>(Clock::now() - start);
        buffer.resize(got);
        return buffer;
    }

    int m_master = -1;
    int m_slave = -1;
    std::string m_path;
    CPosixSerialPort m_port;
};

}  // namespace

TEST(PosixSerialPort, ComPortsMapToTheSerialDevices) {
    EXPECT_EQ(platform::ComPortDevice(1), "/dev/ttyS0");
    EXPECT_EQ(platform::ComPortDevice(4), "/dev/ttyS3");
}

TEST(PosixSerialPort, OnlyExistingTerminalsOpen) {
    CPosixSerialPort port;
    EXPECT_EQ(port.Open("/nonexistent/ttyX"), ENOENT);
    EXPECT_EQ(port.Open("/dev/null"), ENOTTY);
    EXPECT_FALSE(port.IsOpen());
    uint8_t byte = 0;
    size_t n = 0;
    EXPECT_EQ(port.Read(&byte, 1, &n), EBADF);
}

TEST_F(PortTest, OpenIsExclusiveUntilClosed) {
    CPosixSerialPort second;
    EXPECT_EQ(second.Open(m_path), EBUSY);
    m_port.Close();
    EXPECT_EQ(second.Open(m_path), 0);
    second.Close();
    EXPECT_EQ(m_port.Open(m_path), 0);
}

TEST_F(PortTest, LineIsRawAndTakesEveryTableRate) {
    termios t{};
    ASSERT_EQ(::tcgetattr(m_slave, &t), 0);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & PARENB, 0u);
    for (uint32_t rate :
         {110u, 300u, 600u, 1200u, 2400u, 4800u, 9600u, 14400u, 19200u, 38400u, 56000u}) {
        SerialLineSettings line;
        line.bitRate = rate;
        line.stopBits = 2;
        EXPECT_EQ(m_port.SetLine(line), 0) << rate;
    }
    ASSERT_EQ(::tcgetattr(m_slave, &t), 0);
    EXPECT_NE(t.c_cflag & CSTOPB, 0u);
}

TEST_F(PortTest, PseudoTerminalHasNoModemLinesButIsClearToSend) {
    bool cts = false;
    EXPECT_EQ(m_port.GetCts(cts), 0);
    EXPECT_TRUE(cts);
    EXPECT_EQ(m_port.SetRts(true), 0);
    EXPECT_EQ(m_port.SetRts(false), 0);
    EXPECT_EQ(m_port.Drain(100), 0);
    SerialLineSettings line;
    line.automaticRts = true;  // refused by a pseudo-terminal: runs without it
    EXPECT_EQ(m_port.SetLine(line), 0);
    EXPECT_FALSE(m_port.DriverSwitchesRts());
}

TEST_F(PortTest, WriteReachesTheDevice) {
    const uint8_t frame[] = {1, 3, 0, 0, 0, 2, 0xC4, 0x0B};
    size_t written = 0;
    SerialTimeouts t;
    t.writeConstant = 250;
    m_port.SetTimeouts(t);
    EXPECT_EQ(m_port.Write(frame, sizeof frame, &written), 0);
    EXPECT_EQ(written, sizeof frame);
    EXPECT_EQ(DeviceReceives(sizeof frame), std::vector<uint8_t>(frame, frame + sizeof frame));
}

TEST_F(PortTest, MaximumIntervalWithoutTotalsReturnsAtOnce) {
    int error = -1;
    milliseconds took{};
    EXPECT_TRUE(ReadWith(SerialTimeouts{}, 10, error, took).empty());
    EXPECT_EQ(error, 0);
    EXPECT_LT(took, milliseconds(50));
    DeviceSends({7, 8, 9});
    std::this_thread::sleep_for(milliseconds(20));
    EXPECT_EQ(ReadWith(SerialTimeouts{}, 10, error, took), (std::vector<uint8_t>{7, 8, 9}));
}

TEST_F(PortTest, TotalTimeoutEndsAReadWithoutData) {
    int error = -1;
    milliseconds took{};
    SerialTimeouts t{200, 1, 60, 0, 0};
    EXPECT_TRUE(ReadWith(t, 10, error, took).empty());
    EXPECT_EQ(error, 0);
    EXPECT_GE(took, milliseconds(70));  // 1 ms x 10 bytes + 60 ms
    EXPECT_LT(took, milliseconds(1000));
}

TEST_F(PortTest, ReadEndsWhenTheCountArrivesOrTheLineFallsSilent) {
    int error = -1;
    milliseconds took{};
    DeviceSends({1, 2, 3, 4, 5});
    EXPECT_EQ(ReadWith(SerialTimeouts{200, 1, 3000, 0, 0}, 5, error, took).size(), 5u);
    EXPECT_LT(took, milliseconds(200));
    // Fewer bytes than asked for: the read ends one character gap after the last.
    DeviceSends({1, 2, 3});
    const auto bytes = ReadWith(SerialTimeouts{100, 1, 3000, 0, 0}, 1024, error, took);
    EXPECT_EQ(bytes.size(), 3u);
    EXPECT_GE(took, milliseconds(100));
    EXPECT_LT(took, milliseconds(2000));
}

TEST_F(PortTest, CharacterGapStartsOnlyAfterTheFirstByte) {
    std::thread device([&] {
        std::this_thread::sleep_for(milliseconds(150));
        DeviceSends({0x42});
    });
    int error = -1;
    milliseconds took{};
    const auto bytes = ReadWith(SerialTimeouts{50, 0, 1000, 0, 0}, 4, error, took);
    device.join();
    EXPECT_EQ(bytes, std::vector<uint8_t>{0x42});
    EXPECT_GE(took, milliseconds(190));
    EXPECT_LT(took, milliseconds(900));
}

TEST_F(PortTest, PurgeAbortsAReadInProgress) {
    m_port.SetTimeouts(SerialTimeouts{200, 0, 5000, 0, 0});
    int error = -1;
    const auto start = Clock::now();
    std::thread reader([&] {
        uint8_t buffer[8];
        size_t got = 0;
        error = m_port.Read(buffer, sizeof buffer, &got);
    });
    std::this_thread::sleep_for(milliseconds(50));
    m_port.Purge();
    reader.join();
    EXPECT_EQ(error, ECANCELED);
    EXPECT_LT(Clock::now() - start, milliseconds(2000));
}

TEST_F(PortTest, PurgeDiscardsWaitingInputButNotLaterReads) {
    DeviceSends({1, 2, 3});
    std::this_thread::sleep_for(milliseconds(20));
    m_port.Purge();
    int error = -1;
    milliseconds took{};
    EXPECT_TRUE(ReadWith(SerialTimeouts{}, 8, error, took).empty());
    DeviceSends({4});
    EXPECT_EQ(ReadWith(SerialTimeouts{200, 0, 500, 0, 0}, 1, error, took), std::vector<uint8_t>{4});
    EXPECT_EQ(error, 0);
}

TEST_F(PortTest, CloseEndsAReadInProgress) {
    m_port.SetTimeouts(SerialTimeouts{200, 0, 5000, 0, 0});
    int error = -1;
    std::thread reader([&] {
        uint8_t buffer[8];
        size_t got = 0;
        error = m_port.Read(buffer, sizeof buffer, &got);
    });
    std::this_thread::sleep_for(milliseconds(50));
    const auto start = Clock::now();
    m_port.Close();
    reader.join();
    EXPECT_NE(error, 0);
    EXPECT_LT(Clock::now() - start, milliseconds(2000));
    EXPECT_FALSE(m_port.IsOpen());
}

TEST_F(PortTest, ReadAndWriteAfterTheOtherEndHungUpReportThePortGone) {
    m_port.SetTimeouts(SerialTimeouts{200, 0, 3000, 0, 250});
    int error = -1;
    std::thread reader([&] {
        uint8_t buffer[8];
        size_t got = 0;
        error = m_port.Read(buffer, sizeof buffer, &got);
    });
    std::this_thread::sleep_for(milliseconds(50));
    ::close(m_master);  // the adapter is pulled out while the read waits
    m_master = -1;
    reader.join();
    EXPECT_TRUE(error == EIO || error == ENODEV) << error;
    const uint8_t frame[] = {1, 2};
    size_t written = 0;
    error = m_port.Write(frame, sizeof frame, &written);
    EXPECT_TRUE(error == EIO || error == ENODEV) << error;
}

TEST(PosixSerialPort, ADeviceNodeThatVanishedIsReportedAsGone) {
    int master = -1;
    int slave = -1;
    char name[128] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    char dir[] = "/tmp/corvel-port-XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    const std::string node = std::string(dir) + "/ttyUSB0";
    ASSERT_EQ(::symlink(name, node.c_str()), 0);
    CPosixSerialPort port;
    ASSERT_EQ(port.Open(node), 0);
    ASSERT_EQ(port.SetLine(SerialLineSettings{}), 0);
    port.SetTimeouts(SerialTimeouts{200, 0, 50, 0, 250});
    uint8_t buffer[4];
    size_t got = 0;
    EXPECT_EQ(port.Read(buffer, sizeof buffer, &got), 0);  // silence alone is no failure
    ASSERT_EQ(::unlink(node.c_str()), 0);
    EXPECT_EQ(port.Read(buffer, sizeof buffer, &got), ENODEV);
    port.Close();
    ::rmdir(dir);
    ::close(master);
    ::close(slave);
}

namespace {

// A driver as TIOCGRS485 and TIOCSRS485 see it: which polarities it takes, and
// whether it answers success while keeping RS-485 mode off.
struct FakeRs485Driver {
    bool hasRs485 = true;
    uint32_t accepted = 0;  // SER_RS485_RTS_ON_SEND and/or SER_RS485_RTS_AFTER_SEND
    bool silentlyOff = false;
    serial_rs485 state{};
    std::vector<uint32_t> asked;

    int operator()(unsigned long request, serial_rs485& config) {
        if (!hasRs485) return ENOTTY;
        if (request == TIOCGRS485) {
            config = state;
            return 0;
        }
        asked.push_back(config.flags);
        const uint32_t polarity = config.flags & (SER_RS485_RTS_ON_SEND | SER_RS485_RTS_AFTER_SEND);
        if ((config.flags & SER_RS485_ENABLED) && !(polarity & accepted)) return EINVAL;
        if (silentlyOff) config.flags &= ~static_cast<uint32_t>(SER_RS485_ENABLED);
        state = config;
        return 0;
    }
};

}  // namespace

TEST(PosixSerialPort, DriverRtsIsAskedWithRtsOnWhileSendingThenTheOtherPolarity) {
    FakeRs485Driver onSend;
    onSend.accepted = SER_RS485_RTS_ON_SEND;
    uint32_t flags = platform::RequestDriverRts(std::ref(onSend));
    EXPECT_EQ(flags, uint32_t{SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND});
    EXPECT_EQ(onSend.asked.size(), 1u);

    FakeRs485Driver afterSend;
    afterSend.accepted = SER_RS485_RTS_AFTER_SEND;
    flags = platform::RequestDriverRts(std::ref(afterSend));
    EXPECT_EQ(flags, uint32_t{SER_RS485_ENABLED | SER_RS485_RTS_AFTER_SEND});
    ASSERT_EQ(afterSend.asked.size(), 2u);
    EXPECT_EQ(afterSend.asked[0], uint32_t{SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND});
    EXPECT_TRUE(afterSend.state.flags & SER_RS485_ENABLED);
}

TEST(PosixSerialPort, ADriverThatRefusesBothPolaritiesIsLeftOutOfRs485Mode) {
    FakeRs485Driver neither;
    EXPECT_EQ(platform::RequestDriverRts(std::ref(neither)), 0u);
    EXPECT_FALSE(neither.state.flags & SER_RS485_ENABLED);

    FakeRs485Driver pretends;  // answers success, keeps RS-485 off
    pretends.accepted = SER_RS485_RTS_ON_SEND | SER_RS485_RTS_AFTER_SEND;
    pretends.silentlyOff = true;
    EXPECT_EQ(platform::RequestDriverRts(std::ref(pretends)), 0u);
    EXPECT_EQ(pretends.asked.size(), 3u);  // both polarities, then off

    FakeRs485Driver none;  // an ordinary UART or a pseudo-terminal
    none.hasRs485 = false;
    EXPECT_EQ(platform::RequestDriverRts(std::ref(none)), 0u);
}
