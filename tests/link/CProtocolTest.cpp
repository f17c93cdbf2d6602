#include "link/CProtocol.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <map>

#include "link/CCommLink.h"
#include "link/ErrorReport.h"
#include "link/ModbusCrc.h"
#include "tests/support/CFakeSerialPort.h"
#include "tests/support/CScriptedUi.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

Bytes WithCrc(Bytes frame) {
    const uint16_t crc = modbus::Crc16(frame.data(), frame.size());
    frame.push_back(static_cast<uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<uint8_t>(crc >> 8));
    return frame;
}

uint16_t Word(const Bytes& frame, size_t at) {
    return static_cast<uint16_t>((frame[at] << 8) | frame[at + 1]);
}

// A minimal slave: registers hold their two wire bytes, coils one bit each.
struct FakeSlave {
    uint8_t address = 1;
    std::map<uint16_t, uint16_t> registers;
    std::map<uint16_t, bool> coils;

    Bytes operator()(const Bytes& request) {
        if (request.size() < 8 || request[0] != address) return {};
        const uint8_t function = request[1];
        const uint16_t start = Word(request, 2);
        const uint16_t quantity = Word(request, 4);
        switch (function) {
            case 1:
                return WithCrc({address, 1, 1, static_cast<uint8_t>(coils[start] ? 1 : 0)});
            case 3:
            case 4: {
                Bytes reply = {address, function, static_cast<uint8_t>(2 * quantity)};
                for (uint16_t i = 0; i < quantity; ++i) {
                    const uint16_t value = registers[static_cast<uint16_t>(start + i)];
                    reply.push_back(static_cast<uint8_t>(value >> 8));
                    reply.push_back(static_cast<uint8_t>(value & 0xFF));
                }
                return WithCrc(reply);
            }
            case 16:
                for (uint16_t i = 0; i < quantity; ++i)
                    registers[static_cast<uint16_t>(start + i)] = Word(request, 7 + 2 * i);
                return WithCrc(Bytes(request.begin(), request.begin() + 6));
            default:
                return WithCrc(Bytes(request.begin(), request.begin() + 6));
        }
    }
};

class ProtocolTest : public testing::Test {
  protected:
    void SetUp() override { Connect(); }

    // The port is an RS-485 port whose driver switches RTS, unless a test configures it.
    void Connect(uint32_t retries = 0, uint32_t replyTimeout = 0) {
        record = std::make_shared<CFakeSerialPort::Record>();
        protocol = std::make_unique<CProtocol>(CFakeSerialPort::Factory(
            record, [this](const Bytes& r) { return responder ? responder(r) : slave(r); },
            [this](CFakeSerialPort& port) {
                port.SetDriverRts(true);
                if (configure) configure(port);
            }));
        LinkScheduling scheduling;
        scheduling.retries = retries;
        scheduling.replyTimeout = replyTimeout;
        protocol->SetLinkScheduling(scheduling);
        PortSettings port;
        port.devicePath = "/dev/fake0";
        ASSERT_EQ(protocol->SetPortSettings(port), 0);
        ASSERT_EQ(protocol->Open(), 0);
    }

    int32_t Read(uint8_t function, uint16_t start, uint16_t quantity, bool retries = true) {
        return protocol->SendPoll(1, function, start, quantity, nullptr, retries);
    }

    FakeSlave slave;
    std::function<Bytes(const Bytes&)> responder;     // replaces the slave when set
    std::function<void(CFakeSerialPort&)> configure;  // sets up each new port
    std::shared_ptr<CFakeSerialPort::Record> record;
    std::unique_ptr<CProtocol> protocol;
};

}  // namespace

TEST_F(ProtocolTest, RefusedRequestsSendNothing) {
    EXPECT_EQ(Read(7, 0, 1), commerr::kIllegalFunction);
    EXPECT_EQ(Read(3, 0, 128), commerr::kIllegalAddress);
    EXPECT_EQ(Read(3, 451, 50), commerr::kIllegalAddress);
    EXPECT_EQ(Read(1, 70, 6), commerr::kIllegalAddress);
    EXPECT_EQ(protocol->SendPoll(1, 16, 0, 124, Bytes(248).data(), true), commerr::kIllegalValue);
    EXPECT_EQ(protocol->SendPoll(1, 16, 0, 2, nullptr, true), commerr::kIllegalValue);
    EXPECT_TRUE(record->writes.empty());
    EXPECT_EQ(protocol->ExchangeCount(), 0u);
    EXPECT_EQ(protocol->ExpectedReplyLength(), 0);
}

TEST_F(ProtocolTest, RegistersEnterTheImageInHostOrderAndByteStringsAsOnTheWire) {
    slave.registers[10] = 0x1234;
    slave.registers[31] = ('T' << 8) | 'A';
    slave.registers[58] = ('G' << 8) | '1';
    slave.registers[118] = 0x80FF;
    slave.registers[124] = 0xABCD;
    ASSERT_EQ(Read(3, 10, 1), 0);
    EXPECT_EQ(record->writes.back(), (WithCrc({1, 3, 0, 10, 0, 1})));
    EXPECT_EQ(protocol->Register(10), 0x1234);
    ASSERT_EQ(Read(3, 31, 28), 0);
    EXPECT_EQ(protocol->RegisterBytes(31), (std::array<uint8_t, 2>{'T', 'A'}));
    EXPECT_EQ(protocol->RegisterBytes(58), (std::array<uint8_t, 2>{'G', '1'}));
    ASSERT_EQ(Read(4, 118, 7), 0);
    EXPECT_EQ(protocol->RegisterBytes(118), (std::array<uint8_t, 2>{0x80, 0xFF}));
    EXPECT_EQ(protocol->Register(124), 0xABCD);
    EXPECT_EQ(protocol->RegisterBytes(124), (std::array<uint8_t, 2>{0xAB, 0xCD}));
    EXPECT_EQ(protocol->Register(999), 0);
}

TEST_F(ProtocolTest, FloatPairsDecodeWithTheFloatFormat) {
    // 1.5f is 3F C0 00 00; 400/401 in A B C D, 402/403 as the device would send in format 2.
    slave.registers[400] = 0x3FC0;
    slave.registers[401] = 0x0000;
    slave.registers[402] = 0x0000;
    slave.registers[403] = 0xC03F;
    slave.registers[404] = 0x4049;  // the last float pair lacks its second register below
    ASSERT_EQ(Read(3, 400, 2), 0);
    EXPECT_FLOAT_EQ(protocol->Float(400), 1.5f);
    EXPECT_FLOAT_EQ(protocol->Float(401), 1.5f);
    protocol->SetFloatFormat(2);
    ASSERT_EQ(Read(3, 402, 2), 0);
    EXPECT_FLOAT_EQ(protocol->Float(402), 1.5f);
    // A read that ends inside a pair leaves that float as it was.
    ASSERT_EQ(Read(3, 404, 1), 0);
    EXPECT_FLOAT_EQ(protocol->Float(404), 0.0f);
}

TEST(ProtocolFloats, WireOrderOfEachFormat) {
    const std::map<uint16_t, std::array<uint8_t, 4>> expected = {
        {0, {0x3F, 0x80, 0x00, 0x00}}, {1, {0x00, 0x00, 0x3F, 0x80}},
        {2, {0x00, 0x00, 0x80, 0x3F}}, {3, {0x80, 0x3F, 0x00, 0x00}},
        {4, {0x3F, 0x80, 0x00, 0x00}}, {999, {0x3F, 0x80, 0x00, 0x00}}};
    for (const auto& [format, bytes] : expected) {
        std::array<uint8_t, 4> out{};
        CProtocol::EncodeFloat(1.0f, format, out.data());
        EXPECT_EQ(out, bytes) << "format " << format;
    }
    for (uint16_t format = 0; format <= 4; ++format) {
        for (float value : {0.0f, -1.0f, 3.14159f, 1e-30f, -2.5e12f}) {
            uint8_t wire[4];
            CProtocol::EncodeFloat(value, format, wire);
            EXPECT_EQ(CProtocol::DecodeFloat(wire, format), value) << "format " << format;
        }
    }
}

TEST_F(ProtocolTest, FloatFormatTwoWritesOneAsItsWireBytes) {
    uint8_t data[4];
    CProtocol::EncodeFloat(1.0f, 2, data);
    ASSERT_EQ(protocol->SendPoll(1, 16, 454, 2, data, true), 0);
    EXPECT_EQ(record->writes.back(),
              (WithCrc({1, 16, 0x01, 0xC6, 0, 2, 4, 0x00, 0x00, 0x80, 0x3F})));
    EXPECT_EQ(slave.registers[454], 0x0000);
    EXPECT_EQ(slave.registers[455], 0x803F);
}

TEST_F(ProtocolTest, CoilReadStoresBitZeroOfTheFirstDataByte) {
    slave.coils[3] = true;
    ASSERT_EQ(Read(1, 3, 1), 0);
    EXPECT_EQ(protocol->Bit(3), 1u);
    slave.coils[3] = false;
    ASSERT_EQ(Read(1, 3, 1), 0);
    EXPECT_EQ(protocol->Bit(3), 0u);
    const uint8_t on = 1;
    ASSERT_EQ(protocol->SendPoll(1, 5, 2, 0, &on, true), 0);
    EXPECT_EQ(record->writes.back(), (WithCrc({1, 5, 0, 2, 0xFF, 0x00})));
}

TEST_F(ProtocolTest, CrcErrorIsRetriedAfterThePause) {
    Connect(1);
    int calls = 0;
    responder = [&](const Bytes& request) {
        Bytes reply = slave(request);
        if (calls++ == 0) reply.back() ^= 0xFF;
        return reply;
    };
    const auto start = Clock::now();
    EXPECT_EQ(Read(3, 0, 1), 0);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(CProtocol::kRetryPauseMs));
    EXPECT_EQ(record->writes.size(), 2u);
    EXPECT_EQ(protocol->ExchangeCount(), 2u);
}

TEST_F(ProtocolTest, ExceptionRepliesEndTheRequestOrAreRetried) {
    Connect(3);
    responder = [](const Bytes& request) { return WithCrc({request[0], 0x83, 0x02}); };
    EXPECT_EQ(Read(3, 0, 1), commerr::kIllegalAddress);
    EXPECT_EQ(record->writes.size(), 1u);
    // Without retries allowed a CRC error is reported at once.
    responder = [&](const Bytes& request) {
        Bytes reply = slave(request);
        reply[3] ^= 1;
        return reply;
    };
    EXPECT_EQ(Read(3, 0, 1, false), commerr::kChecksum);
    EXPECT_EQ(record->writes.size(), 2u);
}

TEST_F(ProtocolTest, ReplyFailuresReportTheirErrors) {
    slave.address = 2;
    EXPECT_EQ(Read(3, 0, 1), commerr::kNoResponse);
    responder = [](const Bytes&) { return WithCrc({2, 3, 2, 0, 1}); };
    EXPECT_EQ(Read(3, 0, 1), commerr::kWrongDevice);
    responder = [](const Bytes&) { return Bytes{1, 3, 2, 0}; };
    EXPECT_EQ(Read(3, 0, 1), commerr::kShortResponse);
}

TEST_F(ProtocolTest, ImagesKeepTheirContentsAfterAFailedExchange) {
    slave.registers[5] = 77;
    ASSERT_EQ(Read(3, 5, 1), 0);
    responder = [&](const Bytes& request) {
        Bytes reply = slave(request);
        reply[4] = 99;  // breaks the CRC
        return reply;
    };
    EXPECT_EQ(Read(3, 5, 1), commerr::kChecksum);
    EXPECT_EQ(protocol->Register(5), 77);
}

TEST_F(ProtocolTest, ReplyTimeoutIsRaisedToAtLeastOneHundredMs) {
    ASSERT_EQ(Read(3, 0, 1), 0);
    // 100 ms, plus the frame's transmission (8 bytes at 1 ms) and the CTS delay of 25 ms.
    EXPECT_EQ(record->timeouts.back().readConstant, 100u + 8u + 25u);
    EXPECT_EQ(record->timeouts.back().readInterval, CCommLink::kCharacterGapMs);
    EXPECT_EQ(record->timeouts.back().readMultiplier, 1u);
    Connect(0, 500);
    ASSERT_EQ(Read(3, 0, 1), 0);
    EXPECT_EQ(record->timeouts.back().readConstant, 501u + 8u + 25u);
}

TEST_F(ProtocolTest, ReadOfFiftyNineRegistersTakesAOneByteLateReply) {
    for (uint16_t r = 0; r < 59; ++r) slave.registers[r] = static_cast<uint16_t>(r * 3);
    responder = [&](const Bytes& request) {
        Bytes reply = slave(request);
        reply.insert(reply.begin(), 0x00);
        return reply;
    };
    ASSERT_EQ(Read(3, 0, 59), 0);
    EXPECT_EQ(protocol->ExpectedReplyLength(), 123);
    EXPECT_EQ(protocol->ReceivedLength(), 124);
    EXPECT_TRUE(protocol->ReplyOffset());
    EXPECT_EQ(protocol->Register(0), 0);
    EXPECT_EQ(protocol->Register(1), 3);
    EXPECT_EQ(protocol->Register(30), 90);
    EXPECT_EQ(record->readRequests.back(), CProtocol::kBufferSize);
}

TEST_F(ProtocolTest, AnOrdinaryReplyOneByteLateIsGoodOnTheFirstTry) {
    Connect(3);
    slave.registers[0] = 38;
    slave.registers[1] = 31;
    responder = [&](const Bytes& request) {
        Bytes reply = slave(request);
        reply.insert(reply.begin(), 0x00);
        return reply;
    };
    ASSERT_EQ(Read(4, 0, 2), 0);
    EXPECT_EQ(protocol->ExchangeCount(), 1u);
    EXPECT_EQ(protocol->ReceivedLength(), 10);
    EXPECT_TRUE(protocol->ReplyOffset());
    EXPECT_EQ(protocol->Register(1), 31);
    // The expected length first, then the one byte still missing, waited for no
    // longer than the character gap.
    ASSERT_GE(record->readRequests.size(), 2u);
    EXPECT_EQ(record->readRequests[record->readRequests.size() - 2], 9u);
    EXPECT_EQ(record->readRequests.back(), 1u);
    EXPECT_EQ(record->timeouts.back().readConstant, CCommLink::kCharacterGapMs);
    EXPECT_EQ(record->timeouts.back().readInterval, CCommLink::kCharacterGapMs);

    // A reply on time takes no extra read.
    responder = {};
    const size_t reads = record->readRequests.size();
    ASSERT_EQ(Read(4, 0, 2), 0);
    EXPECT_FALSE(protocol->ReplyOffset());
    EXPECT_EQ(record->readRequests.size(), reads + 1);
}

TEST_F(ProtocolTest, ALateReplyWhoseLastByteNeverComesIsShort) {
    responder = [&](const Bytes& request) {
        Bytes reply = slave(request);
        reply.insert(reply.begin(), 0x00);
        reply.pop_back();
        return reply;
    };
    EXPECT_EQ(Read(4, 0, 2), commerr::kShortResponse);
    EXPECT_EQ(record->readRequests.back(), 1u);
    // Two junk bytes: the frame does not start at the second byte either.
    responder = [&](const Bytes& request) {
        Bytes reply = slave(request);
        reply.insert(reply.begin(), {0x00, 0x00});
        return reply;
    };
    const size_t reads = record->readRequests.size();
    EXPECT_EQ(Read(4, 0, 2), commerr::kWrongDevice);
    EXPECT_EQ(record->readRequests.size(), reads + 1);
    // A late exception reply is shorter than the expected length and complete as it is.
    responder = [](const Bytes& request) {
        Bytes reply = WithCrc({request[0], static_cast<uint8_t>(request[1] | 0x80), 0x02});
        reply.insert(reply.begin(), 0x00);
        return reply;
    };
    EXPECT_EQ(Read(4, 0, 2), commerr::kIllegalAddress);
    // ... also where it fills the expected length: nothing more is waited for.
    EXPECT_EQ(Read(1, 3, 1), commerr::kIllegalAddress);
    EXPECT_EQ(record->readRequests.back(), 6u);
}

TEST_F(ProtocolTest, APortThatHasGoneIsNotRetried) {
    configure = [](CFakeSerialPort& port) { port.SetReadError(EIO); };
    Connect(3);
    const auto start = Clock::now();
    EXPECT_EQ(Read(3, 0, 1), commerr::kLinkFailure);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(CProtocol::kRetryPauseMs));
    EXPECT_EQ(protocol->ExchangeCount(), 1u);
    EXPECT_TRUE(protocol->PortGone());
    // Another failure of the port is retried as before.
    configure = [](CFakeSerialPort& port) { port.SetReadError(EINVAL); };
    Connect(1);
    EXPECT_EQ(Read(3, 0, 1), commerr::kLinkFailure);
    EXPECT_EQ(protocol->ExchangeCount(), 2u);
    EXPECT_FALSE(protocol->PortGone());
}

TEST_F(ProtocolTest, IdentifyComparesTheIdentityPairWithoutRetries) {
    Connect(3);
    slave.registers[0] = 38;
    slave.registers[1] = 31;
    EXPECT_EQ(protocol->Identify(1), 1);
    slave.registers[1] = 30;
    EXPECT_EQ(protocol->Identify(1), 2);
    const size_t before = record->writes.size();
    EXPECT_EQ(protocol->Identify(9), 0);
    EXPECT_EQ(record->writes.size(), before + 1);
    EXPECT_EQ(protocol->LastError(), commerr::kNoResponse);
    EXPECT_EQ(protocol->DeviceAddress(), CProtocol::kNoDevice);
}

TEST_F(ProtocolTest, IdentityPairIsTheLowByteOfRegistersZeroAndOne) {
    slave.registers[0] = 0x1226;  // 38 in the low byte
    slave.registers[1] = 0xFF1F;  // 31
    EXPECT_EQ(protocol->Identify(1), 1);
    EXPECT_EQ(protocol->SelectDevice(1), 1);
    EXPECT_EQ(protocol->DeviceAddress(), 1);
    protocol->ResetDevice();
    // The pair in the high bytes is another device.
    slave.registers[0] = 0x2600;
    slave.registers[1] = 0x1F00;
    EXPECT_EQ(protocol->Identify(1), 2);
    EXPECT_EQ(protocol->SelectDevice(1), 2);
    EXPECT_EQ(protocol->DeviceAddress(), CProtocol::kNoDevice);
}

TEST_F(ProtocolTest, SelectDeviceReadsTheFloatFormat) {
    slave.registers[0] = 38;
    slave.registers[1] = 31;
    slave.registers[131] = 2;
    protocol->SetCacheValid(CacheGroup::UnitsCodes, true);
    EXPECT_EQ(protocol->SelectDevice(1), 1);
    EXPECT_EQ(protocol->DeviceAddress(), 1);
    EXPECT_EQ(protocol->FloatFormat(), 2);
    EXPECT_FALSE(protocol->CacheValid(CacheGroup::UnitsCodes));
    EXPECT_EQ(record->writes.back(), (WithCrc({1, 4, 0, 128, 0, 4})));
    const size_t before = record->writes.size();
    EXPECT_EQ(protocol->SelectDevice(1), 1);
    EXPECT_EQ(record->writes.size(), before);

    protocol->ResetDevice();
    EXPECT_EQ(protocol->DeviceAddress(), CProtocol::kNoDevice);
    EXPECT_EQ(protocol->FloatFormat(), 0);
    responder = [&](const Bytes& request) {
        if (Word(request, 2) == 128) return WithCrc({1, 0x84, 0x02});
        return slave(request);
    };
    protocol->SetFloatFormat(3);
    EXPECT_EQ(protocol->SelectDevice(1), 1);
    EXPECT_EQ(protocol->FloatFormat(), 0);
}

TEST_F(ProtocolTest, SelectingAnotherDeviceTypeResetsTheSelection) {
    slave.registers[0] = 38;
    slave.registers[1] = 31;
    ASSERT_EQ(protocol->SelectDevice(1), 1);
    protocol->SetCacheValid(CacheGroup::RangesBlock, true);
    slave.address = 5;
    slave.registers[0] = 12;
    EXPECT_EQ(protocol->SelectDevice(5), 2);
    EXPECT_EQ(protocol->DeviceAddress(), CProtocol::kNoDevice);
    EXPECT_FALSE(protocol->CacheValid(CacheGroup::RangesBlock));
}

TEST_F(ProtocolTest, CloseDestroysTheLink) {
    protocol->Close();
    EXPECT_FALSE(protocol->HasLink());
    EXPECT_EQ(record->closes, record->opens);
    EXPECT_EQ(Read(3, 0, 1), commerr::kLinkFailure);
}

TEST_F(ProtocolTest, EachTransactionMarksTheLinkBusy) {
    CScriptedUi ui;
    ASSERT_EQ(Read(3, 0, 1), 0);
    ASSERT_EQ(Read(3, 0, 1), 0);
    EXPECT_EQ(ui.BusyNotifications(), 2);
    EXPECT_FALSE(ui.LinkBusy());
    EXPECT_EQ(ui.WaitCursorDepth(), 0);
}
