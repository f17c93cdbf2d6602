#include <gtest/gtest.h>

#include <vector>

#include "link/ErrorReport.h"
#include "link/ModbusCrc.h"
#include "link/ModbusFrame.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Build(uint8_t address, uint8_t function, uint16_t start, uint16_t quantity,
            const uint8_t* data = nullptr) {
    Bytes frame(modbus::kMaxFrame);
    frame.resize(modbus::BuildRequest(frame.data(), address, function, start, quantity, data));
    return frame;
}

Bytes WithCrc(Bytes frame) {
    const uint16_t crc = modbus::Crc16(frame.data(), frame.size());
    frame.push_back(static_cast<uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<uint8_t>(crc >> 8));
    return frame;
}

int32_t Check(const Bytes& reply, uint8_t address, uint16_t expected, size_t* offsetOut = nullptr) {
    // An exactly sized copy, so that a read past the reception is caught by ASan.
    std::unique_ptr<uint8_t[]> copy(new uint8_t[reply.size() + 1]);
    std::copy(reply.begin(), reply.end(), copy.get());
    size_t offset = 99;
    const int32_t error = modbus::CheckReply(copy.get(), reply.size(), address, expected, offset);
    if (offsetOut) *offsetOut = offset;
    return error;
}

}  // namespace

TEST(ModbusCrc, CheckValueOfTheStandardString) {
    const char* text = "123456789";
    EXPECT_EQ(modbus::Crc16(reinterpret_cast<const uint8_t*>(text), 9), 0x4B37);
}

TEST(ModbusFrame, ReadFramesCarryStartQuantityAndCrcLowByteFirst) {
    // Reference frame: read 2 input registers from 0 at address 1.
    EXPECT_EQ(Build(1, 4, 0, 2), (Bytes{0x01, 0x04, 0x00, 0x00, 0x00, 0x02, 0x71, 0xCB}));
    EXPECT_EQ(Build(1, 3, 0x006B, 3), (Bytes{0x01, 0x03, 0x00, 0x6B, 0x00, 0x03, 0x74, 0x17}));
    EXPECT_EQ(Build(0x11, 1, 0x0013, 0x0025), WithCrc({0x11, 0x01, 0x00, 0x13, 0x00, 0x25}));
    EXPECT_EQ(Build(0x11, 2, 0x00C4, 0x0016), WithCrc({0x11, 0x02, 0x00, 0xC4, 0x00, 0x16}));
}

TEST(ModbusFrame, WriteFramesOfEachFunction) {
    const uint8_t on[] = {1};
    const uint8_t off[] = {0};
    EXPECT_EQ(Build(1, 5, 2, 0, on), WithCrc({0x01, 0x05, 0x00, 0x02, 0xFF, 0x00}));
    EXPECT_EQ(Build(1, 5, 2, 0, off), WithCrc({0x01, 0x05, 0x00, 0x02, 0x00, 0x00}));
    EXPECT_EQ(Build(1, 6, 131, 2), WithCrc({0x01, 0x06, 0x00, 0x83, 0x00, 0x02}));
    EXPECT_EQ(Build(1, 8, 0, 0x1234), WithCrc({0x01, 0x08, 0x00, 0x00, 0x12, 0x34}));
    EXPECT_EQ(Build(1, 15, 0, 4), WithCrc({0x01, 0x0F, 0x00, 0x00, 0x00, 0x04}));
    const uint8_t data[] = {0x00, 0x0A, 0x01, 0x02};
    // Reference frame: write 2 registers at 1 with 000A 0102 to address 0x11.
    EXPECT_EQ(Build(0x11, 16, 1, 2, data),
              WithCrc({0x11, 0x10, 0x00, 0x01, 0x00, 0x02, 0x04, 0x00, 0x0A, 0x01, 0x02}));
}

TEST(ModbusFrame, RequestLimitsExpectedLengthsAndPostSendDelays) {
    struct Case {
        uint8_t function;
        uint16_t start, quantity;
        int32_t error;
        uint16_t expected;
        uint32_t delay;
    };
    const Case cases[] = {
        {1, 0, 1, 0, 6, 0},      {1, 0, 8, 0, 6, 0},     {1, 0, 9, 0, 7, 0},
        {2, 74, 1, 0, 6, 0},     {1, 74, 2, 60, 0, 0},   {1, 0, 0, 0, 0, 0},
        {3, 0, 59, 0, 123, 0},   {4, 0, 127, 0, 259, 0}, {3, 0, 128, 60, 0, 0},
        {3, 450, 50, 0, 105, 0}, {3, 451, 50, 60, 0, 0}, {5, 0, 0, 0, 8, 300},
        {6, 0, 0, 0, 8, 300},    {15, 0, 0, 0, 8, 300},  {16, 0, 123, 0, 8, 300},
        {16, 0, 124, 61, 0, 0},  {8, 0, 0, 0, 8, 0},     {7, 0, 1, 59, 0, 0},
        {0x83, 0, 1, 59, 0, 0},
    };
    for (const Case& c : cases) {
        const auto check = modbus::CheckRequest(c.function, c.start, c.quantity, 0);
        SCOPED_TRACE(testing::Message() << "function " << int(c.function) << " start " << c.start
                                        << " quantity " << c.quantity);
        EXPECT_EQ(check.error, c.error);
        EXPECT_EQ(check.expectedLength, c.expected);
        if (c.error == 0) {
            EXPECT_EQ(check.postSendDelay, c.delay);
        }
    }
    EXPECT_EQ(modbus::CheckRequest(16, 0, 1, 1200).postSendDelay, 1200u);
    EXPECT_EQ(modbus::CheckRequest(3, 0, 1, 1200).postSendDelay, 0u);
}

TEST(ModbusReplyCheck, EveryErrorNumber) {
    const Bytes good = WithCrc({0x01, 0x03, 0x02, 0x12, 0x34});
    EXPECT_EQ(Check(good, 1, 7), 0);
    EXPECT_EQ(Check({}, 1, 7), commerr::kNoResponse);
    EXPECT_EQ(Check(WithCrc({0x02, 0x03, 0x02, 0x12, 0x34}), 1, 7), commerr::kWrongDevice);
    EXPECT_EQ(Check({0x02}, 1, 7), commerr::kWrongDevice);
    EXPECT_EQ(Check(Bytes(good.begin(), good.end() - 1), 1, 7), commerr::kShortResponse);
    EXPECT_EQ(Check({0x01}, 1, 7), commerr::kShortResponse);
    Bytes corrupt = good;
    corrupt[3] ^= 0x01;
    EXPECT_EQ(Check(corrupt, 1, 7), commerr::kChecksum);
    EXPECT_EQ(Check({0x01, 0x83, 0x02, 0xC0}, 1, 7), commerr::kShortResponse);
    Bytes badException = WithCrc({0x01, 0x83, 0x02});
    badException[4] ^= 0xFF;
    EXPECT_EQ(Check(badException, 1, 7), commerr::kChecksum);
    const int32_t exceptionErrors[] = {65, 59, 60, 61, 62, 63, 64, 65, 65};
    for (uint8_t code = 0; code <= 8; ++code)
        EXPECT_EQ(Check(WithCrc({0x01, 0x83, code}), 1, 7), exceptionErrors[code]) << int(code);
    EXPECT_EQ(Check(WithCrc({0x01, 0x90, 0xFF}), 1, 8), 65);
}

TEST(ModbusReplyCheck, ExtraBytesAfterTheExpectedLengthAreIgnored) {
    Bytes reply = WithCrc({0x01, 0x03, 0x02, 0x12, 0x34});
    reply.push_back(0x55);
    EXPECT_EQ(Check(reply, 1, 7), 0);
}

TEST(ModbusReplyCheck, OneByteLateReplyNeedsItsLastByte) {
    Bytes late = WithCrc({0x01, 0x03, 0x02, 0x12, 0x34});
    late.insert(late.begin(), 0x00);
    size_t offset = 0;
    EXPECT_EQ(Check(late, 1, 7, &offset), 0);
    EXPECT_EQ(offset, 1u);
    // Reception stopped at the expected length: the frame's last byte is missing.
    EXPECT_EQ(Check(Bytes(late.begin(), late.end() - 1), 1, 7), commerr::kShortResponse);
    Bytes lateException = WithCrc({0x01, 0x83, 0x02});
    lateException.insert(lateException.begin(), 0xFF);
    EXPECT_EQ(Check(lateException, 1, 7, &offset), 60);
    EXPECT_EQ(offset, 1u);
}
