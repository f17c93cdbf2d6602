#include "link/CCommLink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/CPosixSerialPort.h"
#include "platform/DebugTrace.h"
#include "platform/SystemError.h"
#include "tests/support/CFakeSerialPort.h"
#include "tests/support/CScriptedUi.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

class CHeadlessUi : public CScriptedUi {
  public:
    bool HasMainWindow() const override { return false; }
};

// Restores the process-wide turnaround mode after a test that changes it.
class CTurnaroundGuard {
  public:
    explicit CTurnaroundGuard(TurnaroundMode mode) : m_saved(CCommLink::GetTurnaroundMode()) {
        CCommLink::SetTurnaroundMode(mode);
    }
    ~CTurnaroundGuard() { CCommLink::SetTurnaroundMode(m_saved); }

  private:
    TurnaroundMode m_saved;
};

class LinkTest : public testing::Test {
  protected:
    std::unique_ptr<CCommLink> MakeLink(std::function<void(CFakeSerialPort&)> configure = {}) {
        return std::make_unique<CCommLink>(
            1, CFakeSerialPort::Factory(
                   record, [this](const Bytes& r) { return reply(r); }, configure));
    }

    std::shared_ptr<CFakeSerialPort::Record> record = std::make_shared<CFakeSerialPort::Record>();
    std::function<Bytes(const Bytes&)> reply = [](const Bytes&) { return Bytes{}; };
};

}  // namespace

TEST_F(LinkTest, StartsWithItsInitialSettings) {
    CCommLink link(3);
    EXPECT_EQ(link.PortNumber(), 3);
    EXPECT_EQ(link.BitRateIndex(), 6);
    EXPECT_EQ(link.BitRate(), 0.0);
    EXPECT_EQ(link.CtsDelay(), 10);
    EXPECT_FALSE(link.CtsEnabled());
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(link.CharacterTime(), 1u);
    EXPECT_EQ(link.DeviceName(), "/dev/ttyS2");
    EXPECT_EQ(link.PortLabel(), "COM3");
}

TEST_F(LinkTest, CharacterTimeOfEachBitRate) {
    const std::pair<double, uint32_t> cases[] = {{110, 90},  {300, 33},  {600, 16}, {1200, 9},
                                                 {2400, 5},  {4800, 3},  {9600, 1}, {14400, 0},
                                                 {19200, 0}, {38400, 0}, {56000, 0}};
    auto link = MakeLink();
    link->SetPortEnabled(false);  // settings only
    for (const auto& [rate, ms] : cases) {
        EXPECT_EQ(link->SetPortParms(1, rate, 10, 0), 0);
        EXPECT_EQ(link->BitRate(), rate);
        EXPECT_EQ(link->CharacterTime(), ms) << rate;
    }
}

TEST_F(LinkTest, BitRateOutsideTheTableKeepsThePreviousOne) {
    auto link = MakeLink();
    ASSERT_EQ(link->SetPortParms(1, 4800, 10, 0, "/dev/fake"), 0);
    ASSERT_EQ(record->opens, 1);
    EXPECT_EQ(link->SetPortParms(1, 115200, 10, 0, "/dev/fake"), 0);
    EXPECT_EQ(link->BitRateIndex(), 5);
    EXPECT_EQ(link->BitRate(), 4800);
    EXPECT_EQ(record->opens, 1);
    EXPECT_EQ(record->line.bitRate, 4800u);
}

TEST_F(LinkTest, UnchangedSettingsDoNotReopenThePort) {
    auto link = MakeLink();
    ASSERT_EQ(link->SetPortParms(2, 9600, 25, 1, "/dev/fake"), 0);
    EXPECT_TRUE(link->IsOpen());
    EXPECT_EQ(link->SetPortParms(2, 9600, 25, 7, "/dev/fake"), 0);  // any nonzero flag is "on"
    EXPECT_EQ(record->opens, 1);
    EXPECT_EQ(record->closes, 0);
    // Each changed setting reopens.
    EXPECT_EQ(link->SetPortParms(2, 9600, 30, 1, "/dev/fake"), 0);
    EXPECT_EQ(link->SetPortParms(2, 9600, 30, 0, "/dev/fake"), 0);
    EXPECT_EQ(link->SetPortParms(2, 19200, 30, 0, "/dev/fake"), 0);
    EXPECT_EQ(link->SetPortParms(2, 19200, 30, 0, "/dev/other"), 0);
    EXPECT_EQ(link->SetPortParms(3, 19200, 30, 0, ""), 0);
    EXPECT_EQ(record->opens, 6);
    EXPECT_EQ(record->closes, 5);
    EXPECT_EQ(record->openedPaths.back(), "/dev/ttyS2");
}

TEST_F(LinkTest, OpenConfiguresTheLine) {
    auto link = MakeLink();
    ASSERT_EQ(link->SetPortParms(1, 1200, 25, 1, "/dev/fake"), 0);
    EXPECT_EQ(record->line.bitRate, 1200u);
    EXPECT_EQ(record->line.dataBits, 8);
    EXPECT_EQ(record->line.parity, 0);
    EXPECT_EQ(record->line.stopBits, 0);
    EXPECT_TRUE(record->line.ctsFlowControl);
    EXPECT_TRUE(record->line.dtrOn);
    EXPECT_TRUE(record->line.automaticRts);
    const SerialTimeouts& t = record->timeouts.back();
    EXPECT_EQ(t.readInterval, kSerialMaxTimeout);
    EXPECT_EQ(t.readMultiplier, 0u);
    EXPECT_EQ(t.readConstant, 0u);
    EXPECT_EQ(t.writeMultiplier, 9u);
    EXPECT_EQ(t.writeConstant, 250u);
    EXPECT_EQ(record->rtsChanges, std::vector<bool>{false});
    EXPECT_EQ(link->Open(), 0);  // already open
    EXPECT_EQ(record->opens, 1);
}

TEST_F(LinkTest, OpenFailureShowsThePortAndTheSystemText) {
    CScriptedUi ui;
    auto link = MakeLink([](CFakeSerialPort& p) { p.SetOpenError(ENOENT); });
    // The device that stands for COM2 follows on a line of its own.
    ui.ExpectWithIcon(
        "Failed to open port COM2:\n\n" + SystemErrorText(ENOENT) + "\nDevice tried: /dev/ttyS1\n",
        MsgIcon::Stop);
    EXPECT_EQ(link->SetPortParms(2, 9600, 25, 1), ENOENT);
    EXPECT_FALSE(link->IsOpen());
    EXPECT_EQ(link->LastSystemError(), static_cast<uint32_t>(ENOENT));
    ui.Verify();

    ui.Expect("Failed to open port /dev/ttyUSB7:\n\n" + SystemErrorText(EACCES) + "\n" +
              CPosixSerialPort::kAccessRemedy);
    auto denied = MakeLink([](CFakeSerialPort& p) { p.SetOpenError(EACCES); });
    EXPECT_EQ(denied->SetPortParms(1, 9600, 25, 1, "/dev/ttyUSB7"), EACCES);
}

TEST_F(LinkTest, OpenFailureWithoutMainWindowShowsNothing) {
    CHeadlessUi ui;
    auto link = MakeLink([](CFakeSerialPort& p) { p.SetOpenError(EBUSY); });
    EXPECT_EQ(link->SetPortParms(2, 9600, 25, 1), EBUSY);
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(LinkTest, LineThatCannotBeSetFailsWithMinusOneAndClosesThePort) {
    auto link = MakeLink([](CFakeSerialPort& p) { p.SetLineError(EIO); });
    EXPECT_EQ(link->SetPortParms(1, 9600, 25, 1, "/dev/fake"), -1);
    EXPECT_FALSE(link->IsOpen());
    EXPECT_EQ(record->closes, 1);
}

TEST_F(LinkTest, SendAndReceiveMoveTheBytes) {
    reply = [](const Bytes& request) { return Bytes{request.rbegin(), request.rend()}; };
    auto link = MakeLink();
    ASSERT_EQ(link->SetPortParms(1, 9600, 25, 1, "/dev/fake"), 0);
    const uint8_t frame[] = {1, 2, 3, 4};
    EXPECT_EQ(link->Send(4, frame, 0), 0);
    EXPECT_EQ(link->CheckAndClearErrors(), 0);
    EXPECT_EQ(link->LastSentCount(), 4u);
    ASSERT_EQ(record->writes.size(), 1u);
    EXPECT_EQ(record->writes[0], (Bytes{1, 2, 3, 4}));
    uint8_t buffer[16] = {};
    EXPECT_EQ(link->Receive(sizeof buffer, buffer, 4, 0), 4);
    EXPECT_EQ(link->CheckAndClearErrors(), 0);
    EXPECT_EQ(Bytes(buffer, buffer + 4), (Bytes{4, 3, 2, 1}));
    EXPECT_FALSE(CCommLink::WorkersRunning());
}

TEST_F(LinkTest, ReadOfOneHundredTwentyThreeBytesAsksForTheWholeBuffer) {
    auto link = MakeLink();
    ASSERT_EQ(link->SetPortParms(1, 9600, 25, 1, "/dev/fake"), 0);
    uint8_t buffer[1024];
    for (uint32_t expected : {122u, 123u, 124u}) {
        link->Receive(sizeof buffer, buffer, expected, 0);
        EXPECT_EQ(record->readRequests.back(), expected == 123 ? 1024u : expected);
    }
    link->Receive(200, buffer, 123, 0);
    EXPECT_EQ(record->readRequests.back(), 200u);
}

TEST_F(LinkTest, WriteFailureSetsSendFailed) {
    auto link = MakeLink([](CFakeSerialPort& p) { p.SetWriteError(EIO); });
    ASSERT_EQ(link->SetPortParms(1, 9600, 25, 1, "/dev/fake"), 0);
    const uint8_t frame[] = {1};
    EXPECT_EQ(link->Send(1, frame, 0), 0);
    EXPECT_TRUE(link->SendFailed());
    EXPECT_EQ(link->LastSystemError(), static_cast<uint32_t>(EIO));
    EXPECT_EQ(link->CheckAndClearErrors(), 1);
    EXPECT_EQ(link->CheckAndClearErrors(), 0);
}

TEST_F(LinkTest, ReadFailureReturnsMinusOneAndSetsReceiveFailed) {
    auto link = MakeLink([](CFakeSerialPort& p) { p.SetReadError(EIO); });
    ASSERT_EQ(link->SetPortParms(1, 9600, 25, 1, "/dev/fake"), 0);
    uint8_t buffer[8];
    EXPECT_EQ(link->Receive(sizeof buffer, buffer, 8, 0), -1);
    EXPECT_TRUE(link->ReceiveFailed());
    EXPECT_EQ(link->CheckAndClearErrors(), 1);
}

TEST_F(LinkTest, SendOnAClosedLinkFails) {
    auto link = MakeLink();
    const uint8_t frame[] = {1};
    EXPECT_EQ(link->Send(1, frame, 0), -1);
    EXPECT_EQ(link->CheckAndClearErrors(), 1);
}

TEST_F(LinkTest, SendWhileAReceiveWorkerRunsFailsAtOnce) {
    CScriptedUi ui;
    auto link = MakeLink();
    ASSERT_EQ(link->SetPortParms(1, 9600, 25, 1, "/dev/fake"), 0);
    int32_t nestedResult = 0;
    bool nestedFailed = false;
    uint32_t nestedError = 99;
    bool tried = false;
    ui.SetPumpHook([&] {
        if (tried) return;
        tried = true;
        const uint8_t frame[] = {9};
        nestedResult = link->Send(1, frame, 0);
        nestedFailed = link->SendFailed();
        nestedError = link->LastSystemError();
    });
    uint8_t buffer[8];
    EXPECT_EQ(link->Receive(sizeof buffer, buffer, 8, 0), 0);  // nothing arrives
    ASSERT_TRUE(tried);
    EXPECT_EQ(nestedResult, -1);
    EXPECT_TRUE(nestedFailed);
    EXPECT_EQ(nestedError, 0u);
    EXPECT_TRUE(record->writes.empty());
}

TEST_F(LinkTest, CloseDuringAReceiveLeavesTheCallersBufferAlone) {
    CScriptedUi ui;
    auto link = MakeLink();
    ASSERT_EQ(link->SetPortParms(1, 9600, 25, 1, "/dev/fake"), 0);
    ui.SetPumpHook([&] { link->Close(); });
    uint8_t buffer[8] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    const auto start = Clock::now();
    const int32_t got = link->Receive(sizeof buffer, buffer, 8, 3000);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(2000));  // the purge cut it short
    EXPECT_LE(got, 0);
    EXPECT_EQ(buffer[0], 0xEE);
    EXPECT_FALSE(link->IsOpen());
}

TEST_F(LinkTest, ManualRtsModeFramesTheTransmissionWithRts) {
    CTurnaroundGuard manual(TurnaroundMode::ManualRts);
    auto link = MakeLink();
    ASSERT_EQ(link->SetPortParms(1, 9600, 0, 1, "/dev/fake"), 0);
    EXPECT_FALSE(record->line.automaticRts);
    record->rtsChanges.clear();
    const uint8_t frame[] = {1, 2, 3};
    EXPECT_EQ(link->Send(3, frame, 0), 0);
    EXPECT_EQ(link->CheckAndClearErrors(), 0);
    EXPECT_EQ(record->rtsChanges, (std::vector<bool>{true, false}));
    EXPECT_EQ(record->drains, 1);
    EXPECT_EQ(record->writes.size(), 1u);
    // Without the transmission time in it, the read time-out is the reply time-out alone.
    uint8_t buffer[4];
    link->Receive(sizeof buffer, buffer, 4, 0);
    EXPECT_EQ(record->timeouts.back().readConstant, 100u);
}

TEST_F(LinkTest, AutomaticModeOnADriverWithoutRs485TurnsTheLineRoundFromTheLink) {
    std::vector<std::string> lines;
    trace::SetSink([&](const std::string& line) { lines.push_back(line); });
    auto link = MakeLink();  // the driver refuses RS-485 mode, as most do
    ASSERT_EQ(link->SetPortParms(1, 9600, 0, 1, "/dev/fake"), 0);
    trace::SetSink({});
    EXPECT_TRUE(record->line.automaticRts);  // it was asked
    EXPECT_EQ(link->TurnaroundInUse(), TurnaroundMode::ManualRts);
    EXPECT_NE(
        std::find(lines.begin(), lines.end(),
                  "CCommLink::Open() - driver refused RS-485 mode: RTS switched by the link\n"),
        lines.end());
    record->rtsChanges.clear();
    const uint8_t frame[] = {1, 2, 3};
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(link->Send(3, frame, 0), 0);
        EXPECT_EQ(link->CheckAndClearErrors(), 0);
    }
    // Raised for each frame and dropped once it has left.
    EXPECT_EQ(record->rtsChanges, (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(record->drains, 2);
    uint8_t buffer[4];
    link->Receive(sizeof buffer, buffer, 4, 0);
    EXPECT_EQ(record->timeouts.back().readConstant, 100u);
}

TEST_F(LinkTest, RtsIsDroppedWhenAWriteFails) {
    auto link = MakeLink([](CFakeSerialPort& p) { p.SetWriteError(EINVAL); });
    ASSERT_EQ(link->SetPortParms(1, 9600, 0, 1, "/dev/fake"), 0);
    record->rtsChanges.clear();
    const uint8_t frame[] = {1};
    EXPECT_EQ(link->Send(1, frame, 0), 0);
    EXPECT_EQ(link->CheckAndClearErrors(), 1);
    EXPECT_EQ(record->rtsChanges, (std::vector<bool>{true, false}));
}

TEST_F(LinkTest, AutomaticModeOnADriverWithRs485LeavesRtsToTheDriver) {
    auto link = MakeLink([](CFakeSerialPort& p) { p.SetDriverRts(true); });
    ASSERT_EQ(link->SetPortParms(1, 9600, 25, 1, "/dev/fake"), 0);
    EXPECT_EQ(link->TurnaroundInUse(), TurnaroundMode::AutomaticRts);
    record->rtsChanges.clear();
    const uint8_t frame[] = {1, 2, 3};
    EXPECT_EQ(link->Send(3, frame, 0), 0);
    EXPECT_EQ(link->CheckAndClearErrors(), 0);
    EXPECT_TRUE(record->rtsChanges.empty());
    EXPECT_EQ(record->drains, 0);
    // The driver returns before the frame has left: the read allows for it.
    uint8_t buffer[4];
    link->Receive(sizeof buffer, buffer, 4, 0);
    EXPECT_EQ(record->timeouts.back().readConstant, 100u + 3u + 25u);
}

TEST_F(LinkTest, ReadsAndWritesFailingWithEioEnxioOrEnodevMeanThePortHasGone) {
    for (const int error : {EIO, ENXIO, ENODEV}) {
        auto reader = MakeLink([error](CFakeSerialPort& p) { p.SetReadError(error); });
        ASSERT_EQ(reader->SetPortParms(1, 9600, 0, 1, "/dev/fake"), 0);
        uint8_t buffer[8];
        EXPECT_EQ(reader->Receive(sizeof buffer, buffer, 8, 0), -1);
        EXPECT_TRUE(reader->PortGone()) << error;
        EXPECT_EQ(reader->PortGoneError(), error);
        auto writer = MakeLink([error](CFakeSerialPort& p) { p.SetWriteError(error); });
        ASSERT_EQ(writer->SetPortParms(1, 9600, 0, 1, "/dev/fake"), 0);
        const uint8_t frame[] = {1};
        EXPECT_EQ(writer->Send(1, frame, 0), 0);
        EXPECT_TRUE(writer->PortGone()) << error;
        // Opening again starts afresh.
        writer->Close();
        writer->SetPortEnabled(true);
        EXPECT_EQ(writer->Open(), 0);
        EXPECT_FALSE(writer->PortGone());
    }
    for (const int error : {EINVAL, ETIMEDOUT, EBADF}) {
        auto link = MakeLink([error](CFakeSerialPort& p) { p.SetReadError(error); });
        ASSERT_EQ(link->SetPortParms(1, 9600, 0, 1, "/dev/fake"), 0);
        uint8_t buffer[8];
        EXPECT_EQ(link->Receive(sizeof buffer, buffer, 8, 0), -1);
        EXPECT_FALSE(link->PortGone()) << error;
    }
}

TEST_F(LinkTest, ManualRtsModeWithoutCtsSendsNothing) {
    CTurnaroundGuard manual(TurnaroundMode::ManualRts);
    auto link = MakeLink([](CFakeSerialPort& p) { p.SetCts(false); });
    ASSERT_EQ(link->SetPortParms(1, 9600, 20, 1, "/dev/fake"), 0);
    const uint8_t frame[] = {1};
    const auto start = Clock::now();
    EXPECT_EQ(link->Send(1, frame, 0), 0);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(20));
    EXPECT_TRUE(record->writes.empty());
    // CTS simply did not come: no system error, so the send is not marked failed
    // and the missing reply reports it.
    EXPECT_EQ(link->CheckAndClearErrors(), 0);
    EXPECT_EQ(record->rtsChanges.back(), false);
}

TEST_F(LinkTest, PostSendDelayIsWaitedBeforeSendReturns) {
    auto link = MakeLink();
    ASSERT_EQ(link->SetPortParms(1, 9600, 25, 1, "/dev/fake"), 0);
    const uint8_t frame[] = {1};
    const auto start = Clock::now();
    EXPECT_EQ(link->Send(1, frame, 60), 0);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(60));
}

TEST_F(LinkTest, AReadThatOutlivesItsLongestWaitIsGivenUpWhateverEventsArrive) {
    CScriptedUi ui;
    CFakeSerialPort* port = nullptr;
    auto link = MakeLink([&](CFakeSerialPort& p) {
        port = &p;
        p.SetReadStall(true);
    });
    ASSERT_EQ(link->SetPortParms(1, 9600, 25, 1, "/dev/fake"), 0);
    // Window events arrive all the time; they must not keep the wait going.
    const auto start = Clock::now();
    bool rescued = false;
    ui.SetPumpHook([&] {
        if (!rescued && Clock::now() - start > std::chrono::seconds(10)) {
            rescued = true;
            link->Close();  // the wait never gave up: end the read from outside
        }
    });
    uint8_t buffer[8] = {0xEE};
    EXPECT_EQ(link->Receive(sizeof buffer, buffer, 8, 0), 0);
    const auto took = Clock::now() - start;
    EXPECT_FALSE(rescued);
    // 8 bytes at 1 ms and the 100 ms reply time-out, then the margin.
    EXPECT_GE(took, std::chrono::milliseconds(108 + CCommLink::kWorkerMarginMs));
    EXPECT_LT(took, std::chrono::milliseconds(CCommLink::kWorkerWaitMs));
    EXPECT_EQ(link->CheckAndClearErrors(), 0);  // counts as nothing received
    EXPECT_EQ(buffer[0], 0xEE);
    EXPECT_FALSE(CCommLink::WorkersRunning());
    ui.SetPumpHook({});

    // The given-up worker does not take the next reply: the link works on at once.
    ASSERT_TRUE(link->IsOpen());
    port->SetReadStall(false);
    reply = [](const Bytes&) { return Bytes{5, 6}; };
    const uint8_t frame[] = {1};
    EXPECT_EQ(link->Send(1, frame, 0), 0);
    EXPECT_EQ(link->Receive(sizeof buffer, buffer, 2, 0), 2);
    EXPECT_EQ(buffer[0], 5);
}

TEST_F(LinkTest, TheWaitCoversAPostSendDelayLongerThanFiveSeconds) {
    auto link = MakeLink();
    ASSERT_EQ(link->SetPortParms(1, 9600, 0, 1, "/dev/fake"), 0);
    const uint8_t frame[] = {1};
    EXPECT_EQ(link->Send(1, frame, CCommLink::kWorkerWaitMs + 300), 0);
    EXPECT_EQ(link->CheckAndClearErrors(), 0);
}

TEST_F(LinkTest, ALinkWhoseWorkerHangsInTheDriverIsDestroyedAfterTheWait) {
    CFakeSerialPort* port = nullptr;
    auto link = MakeLink([&](CFakeSerialPort& p) {
        port = &p;
        p.SetReadHang(true);
    });
    ASSERT_EQ(link->SetPortParms(1, 9600, 25, 1, "/dev/fake"), 0);
    uint8_t buffer[8];
    EXPECT_EQ(link->Receive(sizeof buffer, buffer, 8, 0), 0);  // given up; the read hangs on
    // Should the destruction wait for ever, the hang is ended from outside.
    std::mutex mutex;
    std::condition_variable cv;
    bool destroyed = false;
    bool rescued = false;
    std::thread watchdog([&] {
        std::unique_lock<std::mutex> lock(mutex);
        if (!cv.wait_for(lock, std::chrono::seconds(15), [&] { return destroyed; })) {
            rescued = true;
            port->SetReadHang(false);
        }
    });
    const auto start = Clock::now();
    link.reset();
    const auto took = Clock::now() - start;
    {
        std::lock_guard<std::mutex> lock(mutex);
        destroyed = true;
    }
    cv.notify_all();
    watchdog.join();
    EXPECT_FALSE(rescued);
    EXPECT_LT(took, std::chrono::milliseconds(CCommLink::kWorkerWaitMs + 2000));
    // The hung read ends later; its thread then ends on its own.
    if (!rescued) port->SetReadHang(false);
}
