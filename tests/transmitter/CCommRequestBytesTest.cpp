#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "link/CCommException.h"
#include "link/ErrorReport.h"
#include "link/ModbusCrc.h"
#include "tests/support/CFakeSerialPort.h"
#include "tests/support/CScriptedUi.h"
#include "transmitter/CComm.h"

// The command layer against a port in memory: every request frame it sends is
// recorded, so the tests check the bytes on the wire rather than what a device
// made of them.
namespace {

using Bytes = std::vector<uint8_t>;

Bytes WithCrc(Bytes frame) {
    const uint16_t crc = modbus::Crc16(frame.data(), frame.size());
    frame.push_back(static_cast<uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<uint8_t>(crc >> 8));
    return frame;
}

uint16_t Word(const Bytes& frame, size_t at) {
    return static_cast<uint16_t>((frame[at] << 8) | frame[at + 1]);
}

// A slave at address 1 that identifies as a Corvel and takes every write.
struct CorvelSlave {
    std::map<uint16_t, uint16_t> registers{{0, 38}, {1, 31}};

    Bytes operator()(const Bytes& request) const {
        if (request.size() < 8 || request[0] != 1) return {};
        const uint8_t function = request[1];
        if (function == 3 || function == 4) {
            const uint16_t start = Word(request, 2);
            const uint16_t quantity = Word(request, 4);
            Bytes reply = {1, function, static_cast<uint8_t>(2 * quantity)};
            for (uint16_t i = 0; i < quantity; ++i) {
                const auto found = registers.find(static_cast<uint16_t>(start + i));
                const uint16_t value = found == registers.end() ? 0 : found->second;
                reply.push_back(static_cast<uint8_t>(value >> 8));
                reply.push_back(static_cast<uint8_t>(value & 0xFF));
            }
            return WithCrc(reply);
        }
        return WithCrc(Bytes(request.begin(), request.begin() + 6));
    }
};

class CommRequestBytes : public testing::Test {
  protected:
    void SetUp() override {
        CProtocol& protocol = comm.CreateProtocol(CFakeSerialPort::Factory(record, CorvelSlave{}));
        LinkScheduling scheduling;
        scheduling.retries = 0;
        protocol.SetLinkScheduling(scheduling);
        PortSettings port;
        port.devicePath = "/dev/fake0";
        ASSERT_EQ(protocol.SetPortSettings(port), 0);
        ASSERT_EQ(protocol.Open(), 0);
        ASSERT_EQ(comm.SelectDevice(1), 1);
        ASSERT_TRUE(comm.IsDeviceSelected());
    }

    void TearDown() override { comm.DestroyProtocol(); }

    CScriptedUi ui;
    std::shared_ptr<CFakeSerialPort::Record> record = std::make_shared<CFakeSerialPort::Record>();
    CComm comm;
};

}  // namespace

TEST_F(CommRequestBytes, ScalingMethodAboveTwoIsSentAsTwo) {
    for (const uint16_t method : {3, 0xFFFF}) {
        comm.WriteIntegerScalingMethod(method);
        // Function 16 at register 203, one register, two bytes: 0, 2.
        EXPECT_EQ(record->writes.back(), WithCrc({1, 16, 0, 203, 0, 1, 2, 0, 2}));
        EXPECT_EQ(comm.StoredIntegerScalingMethod(), 2);
    }
    comm.WriteIntegerScalingMethod(1);
    EXPECT_EQ(record->writes.back(), WithCrc({1, 16, 0, 203, 0, 1, 2, 0, 1}));
}

TEST_F(CommRequestBytes, LegacyResultOfflineResetsTheConnectedDevice) {
    comm.SetLegacyTransport(
        [](int, const std::vector<uint8_t>&, std::vector<uint8_t>&) { return 23; });
    try {
        comm.ReadLoopCurrent();
        ADD_FAILURE() << "the offline result raised nothing";
    } catch (const CCommException& e) {
        EXPECT_EQ(e.Error(), commerr::kOffline);
    }
    EXPECT_FALSE(comm.IsDeviceSelected());
    EXPECT_EQ(comm.CurrentSlot(), CComm::kNoSlot);
    EXPECT_EQ(comm.Protocol().DeviceAddress(), CProtocol::kNoDevice);
    // A register operation now fails as offline without a request.
    const size_t sent = record->writes.size();
    try {
        comm.ReadTag();
        ADD_FAILURE() << "a register read reached a reset device";
    } catch (const CCommException& e) {
        EXPECT_EQ(e.Error(), commerr::kOffline);
    }
    EXPECT_EQ(record->writes.size(), sent);
}
